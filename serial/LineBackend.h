#pragma once

#include <QString>
#include <cstdint>

// Modem status bits as the port reports them. The race looks at CTS, DSR and DCD; the ring
// indicator is reported but never read.
namespace ModemStatus {
inline constexpr std::uint32_t CtsOn = 0x10;
inline constexpr std::uint32_t DsrOn = 0x20;
inline constexpr std::uint32_t RingOn = 0x40;
inline constexpr std::uint32_t RlsdOn = 0x80; // DCD
} // namespace ModemStatus

// The platform side of the six control lines of one serial port. Module1 passes every call
// through unchanged; the real port and the tests' fake both sit behind this.
class LineBackend {
public:
    virtual ~LineBackend() = default;

    // Opens the port by its name ("COM1", "COM2") exclusively. Returns a positive handle, or
    // -1 when the port is missing, busy or refused.
    virtual std::int32_t open(const QString& portName) = 0;
    virtual void close() = 0;

    // Each output changes at once and stays so; a failure goes unnoticed.
    virtual void setDtr(bool on) = 0;
    virtual void setRts(bool on) = 0;
    virtual void setBreak(bool on) = 0;

    // One fresh sample of the input lines as ModemStatus bits; 0 when it cannot be read.
    // The mask names the bits the caller will look at, for a backend that samples lines
    // one by one; a backend may report more.
    virtual std::uint32_t modemStatus(std::uint32_t mask) = 0;
};
