#pragma once

#include <QString>
#include <cstdint>

class LineBackend;

// The serial port used as six digital lines: the handle of the open port and the backend that
// carries every call.
class Module1 {
public:
    explicit Module1(LineBackend& backend) : backend_(backend) {}

    // Opens the port by name (only its first four characters count) and keeps its handle.
    // Returns 0 when the open failed, otherwise a non-zero value.
    std::int16_t OpenPort(const QString& name);
    void ClosePort();

    // 1 raises the line; any other value drops it.
    void SetDtr(std::int16_t state);
    void SetRts(std::int16_t state);
    void SetBreak(std::int16_t state);

    // 1 when the line is on, else 0 (also when the port is not open). Each call is a new
    // sample.
    std::int16_t CtsOn();
    std::int16_t DsrOn();
    std::int16_t DcdOn();

private:
    bool usable() const { return portHandle_ > 0; }
    std::int16_t statusBit(std::uint32_t mask);

    LineBackend& backend_;
    // 0 before the first OpenPort, -1 after a failed one; ClosePort leaves it as it is.
    std::int32_t portHandle_ = 0;
};
