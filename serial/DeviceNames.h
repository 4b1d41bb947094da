#pragma once

#include <QString>

// Where the port names lead on this system, and which devices must never be opened.
struct DeviceNames {
    QString deviceDir = QStringLiteral("/dev");
    QString consoleList = QStringLiteral("/sys/class/tty/console/active");

    // "COM1" is <deviceDir>/COM1 when that exists (a udev rule can give a USB adapter that
    // name), otherwise the first built-in port <deviceDir>/ttyS0; "COM2" likewise COM2 or
    // ttyS1. Any other name is taken as a device in deviceDir. On Windows the name as it is.
    QString devicePath(const QString& portName) const;

    // True when the device, after following links, is one of the kernel's consoles: opening
    // it would disturb the machine's own console, so it counts as busy. When the console list
    // cannot be read, true for any device named as a console can be (ttyS*, tty1, hvc0...).
    bool isKernelConsole(const QString& devicePath) const;
};
