#include "serial/DeviceNames.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace {

// The names the kernel gives the devices a console can sit on: virtual consoles, built-in
// serial ports (ttyS, ttyAMA on ARM boards), a hypervisor's console.
bool hasConsoleName(const QString& path) {
    static const QRegularExpression names(
        QStringLiteral("^(console|tty|tty[0-9].*|ttyS.*|ttyAMA.*|hvc.*)$"));
    return names.match(QFileInfo(path).fileName()).hasMatch();
}

// The path, every link on the way to the device and the device itself.
QStringList linkChain(const QString& path) {
    QStringList chain{path};
    QFileInfo info(path);
    for (int hop = 0; hop < 40 && info.isSymLink(); ++hop) {
        info.setFile(info.symLinkTarget());
        chain << info.filePath();
    }
    chain << QFileInfo(path).canonicalFilePath();
    return chain;
}

} // namespace

QString DeviceNames::devicePath(const QString& portName) const {
    const QString own = deviceDir + QLatin1Char('/') + portName;
    if (QFileInfo::exists(own)) {
        return own;
    }
    if (portName == QLatin1String("COM1")) {
        return deviceDir + QStringLiteral("/ttyS0");
    }
    if (portName == QLatin1String("COM2")) {
        return deviceDir + QStringLiteral("/ttyS1");
    }
    return own;
}

bool DeviceNames::isKernelConsole(const QString& devicePath) const {
    QFile list(consoleList);
    if (!list.open(QIODevice::ReadOnly)) {
        // Nothing tells which device is the console (no /sys in a container, say), so any name a
        // console can have is refused, under a link as well. Refusing every device would leave
        // such a machine without a port; a USB adapter (ttyUSB, ttyACM) is hardly ever the
        // console and still opens.
        const QStringList chain = linkChain(devicePath);
        return std::any_of(chain.cbegin(), chain.cend(), hasConsoleName);
    }
    const QString target = QFileInfo(devicePath).canonicalFilePath();
    if (target.isEmpty()) {
        return false; // the device does not exist; the open itself will fail
    }
    const QStringList names =
        QString::fromLocal8Bit(list.readAll())
            .split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    // A console named in the list is a device of /dev, or of the folder this machine's devices
    // are taken from (the same folder but under a test's fake root).
    for (const QString& name : names) {
        for (const QString& dir : {QStringLiteral("/dev"), deviceDir}) {
            const QString console = QFileInfo(dir + QLatin1Char('/') + name).canonicalFilePath();
            if (!console.isEmpty() && console == target) {
                return true;
            }
        }
    }
    return false;
}
