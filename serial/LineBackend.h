#pragma once

#include <QString>
#include <cstdint>
#include <optional>

// Modem status bits as the port reports them. The race looks at CTS, DSR and DCD; the ring
// indicator is reported but never read.
namespace ModemStatus {
inline constexpr std::uint32_t CtsOn = 0x10;
inline constexpr std::uint32_t DsrOn = 0x20;
inline constexpr std::uint32_t RingOn = 0x40;
inline constexpr std::uint32_t RlsdOn = 0x80; // DCD
} // namespace ModemStatus

// The platform side of the six control lines of one serial port. Module1 passes every call
// through unchanged; the real port and the tests' fake both sit behind this. The line sampler
// reads the inputs from a thread of its own while the outputs are set from the window's; it
// stops reading before the port is closed, so a read never meets a close.
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

    // One fresh sample of the input lines as ModemStatus bits; nothing when the read failed
    // (an adapter pulled out answers every read with an error).
    virtual std::optional<std::uint32_t> modemStatus() = 0;
};
