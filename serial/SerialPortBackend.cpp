#include "serial/SerialPortBackend.h"

#include <QSerialPort>

#include <cerrno>
#include <sys/ioctl.h>

SerialPortBackend::SerialPortBackend(DeviceNames names)
    : names_(std::move(names)), port_(std::make_unique<QSerialPort>()) {}

SerialPortBackend::~SerialPortBackend() = default;

std::int32_t SerialPortBackend::open(const QString& portName) {
    if (port_->isOpen()) {
        return -1; // one port at a time; the caller closes first
    }
    const QString device = names_.devicePath(portName);
    // Decided before anything touches the device: the console is never opened.
    if (names_.isKernelConsole(device)) {
        return -1;
    }
    port_->setPortName(device);
    if (!port_->open(QIODevice::ReadWrite)) {
        return -1;
    }
    const auto handle = static_cast<std::int32_t>(port_->handle());
    descriptor_ = handle;
    return handle > 0 ? handle : 1;
}

void SerialPortBackend::close() {
    descriptor_ = -1;
    if (port_->isOpen()) {
        port_->close();
    }
}

void SerialPortBackend::setDtr(bool on) {
    if (port_->isOpen()) {
        port_->setDataTerminalReady(on);
    }
}

void SerialPortBackend::setRts(bool on) {
    if (port_->isOpen()) {
        port_->setRequestToSend(on);
    }
}

void SerialPortBackend::setBreak(bool on) {
    if (port_->isOpen()) {
        port_->setBreakEnabled(on);
    }
}

std::optional<std::uint32_t> SerialPortBackend::modemStatus() {
    const int fd = descriptor_;
    if (fd < 0) {
        return 0;
    }
    int pins = 0;
    while (::ioctl(fd, TIOCMGET, &pins) != 0) {
        if (errno != EINTR) {
            return std::nullopt;
        }
    }
    std::uint32_t status = 0;
    if (pins & TIOCM_CTS) {
        status |= ModemStatus::CtsOn;
    }
    if (pins & TIOCM_DSR) {
        status |= ModemStatus::DsrOn;
    }
    if (pins & TIOCM_RNG) {
        status |= ModemStatus::RingOn;
    }
    if (pins & TIOCM_CAR) {
        status |= ModemStatus::RlsdOn;
    }
    return status;
}
