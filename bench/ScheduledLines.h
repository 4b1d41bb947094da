#pragma once

#include "serial/LineBackend.h"

#include <array>
#include <cstdint>
#include <mutex>
#include <vector>

// A port whose three contacts close and open at chosen moments of the monotonic clock and
// whose three outputs are timed on that clock, edge by edge. It stands in for the wiring at
// the track: the program under measurement sees nothing but its answers. Read as it is, it is
// a built-in UART, whose modem status comes back at once; AdapterModel puts a USB adapter in
// front of it.
//
// The line sampler reads it from its own thread while the benchmark schedules the contacts and
// the loop moves the outputs from the main thread: the contacts are kept under a lock. The
// outputs and their pulses belong to the main thread alone.
class ScheduledLines : public LineBackend {
public:
    enum Contact { Start, Lane1, Lane2 };
    enum Output { Break, Dtr, Rts };

    struct Pulse {
        Output output;
        std::int64_t upNs;
        std::int64_t downNs;
        std::int64_t cpuNs; // CPU time the process used while the output was up
    };

    // The contact reads closed from closeNs on, until it is opened. The start contact opens
    // by itself as the start pulse goes up, as the referee lets go: it is never missed by a
    // slow pass, and never seen twice.
    void closeAt(Contact contact, std::int64_t closeNs);
    void openAt(Contact contact, std::int64_t openNs);
    // When the first read that found the contact closed came back; -1 before.
    std::int64_t firstSeenNs(Contact contact) const;

    // The modem status bits the contacts had at asOfNs, as a read that returns at nowNs
    // reports them; the contacts it finds closed count as seen at nowNs.
    std::uint32_t statusAt(std::int64_t asOfNs, std::int64_t nowNs);

    // Every pulse completed so far, in the order they ended. Main thread only.
    const std::vector<Pulse>& pulses() const { return pulses_; }

    std::int32_t open(const QString& portName) override;
    void close() override;
    void setDtr(bool on) override { edge(Dtr, on); }
    void setRts(bool on) override { edge(Rts, on); }
    void setBreak(bool on) override { edge(Break, on); }
    // The contacts as they are at this moment.
    std::optional<std::uint32_t> modemStatus() override;

private:
    struct Window {
        std::int64_t closeNs = -1;
        std::int64_t openNs = -1;
        std::int64_t seenNs = -1;
    };

    void edge(Output output, bool on);

    mutable std::mutex contactsMutex_;
    std::array<Window, 3> contacts_{};
    std::array<std::int64_t, 3> upSince_{-1, -1, -1};
    std::array<std::int64_t, 3> upCpu_{0, 0, 0};
    std::vector<Pulse> pulses_;
};
