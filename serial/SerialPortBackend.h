#pragma once

#include "serial/DeviceNames.h"
#include "serial/LineBackend.h"

#include <atomic>
#include <memory>

class QSerialPort;

// The real control lines, through Qt SerialPort. No byte is ever sent or received; the port is
// held open only for its modem lines.
class SerialPortBackend final : public LineBackend {
public:
    explicit SerialPortBackend(DeviceNames names = {});
    ~SerialPortBackend() override;

    std::int32_t open(const QString& portName) override;
    void close() override;
    void setDtr(bool on) override;
    void setRts(bool on) override;
    void setBreak(bool on) override;
    // Straight from the descriptor (TIOCMGET), without the QSerialPort object, which belongs
    // to the window's thread.
    std::optional<std::uint32_t> modemStatus() override;

private:
    DeviceNames names_;
    std::unique_ptr<QSerialPort> port_;
    std::atomic<int> descriptor_{-1};
};
