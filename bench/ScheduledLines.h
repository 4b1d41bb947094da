#pragma once

#include "serial/LineBackend.h"

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

// A port whose three contacts close and open at chosen moments of the monotonic clock and
// whose three outputs are timed on that clock, edge by edge. It stands in for the wiring at
// the track: the program under measurement sees nothing but its answers.
class ScheduledLines final : public LineBackend {
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
    // The first moment the program asked for the contact and found it closed; -1 before.
    std::int64_t firstSeenNs(Contact contact) const { return contacts_[contact].seenNs; }

    // Every pulse completed so far, in the order they ended.
    const std::vector<Pulse>& pulses() const { return pulses_; }

    // Called once, at the first sample of the inputs: the first pass of the loop.
    void onFirstSample(std::function<void()> callback) { firstSample_ = std::move(callback); }

    std::int32_t open(const QString& portName) override;
    void close() override;
    void setDtr(bool on) override { edge(Dtr, on); }
    void setRts(bool on) override { edge(Rts, on); }
    void setBreak(bool on) override { edge(Break, on); }
    std::optional<std::uint32_t> modemStatus() override;

private:
    struct Window {
        std::int64_t closeNs = -1;
        std::int64_t openNs = -1;
        std::int64_t seenNs = -1;
    };

    void edge(Output output, bool on);

    std::array<Window, 3> contacts_{};
    std::array<std::int64_t, 3> upSince_{-1, -1, -1};
    std::array<std::int64_t, 3> upCpu_{0, 0, 0};
    std::vector<Pulse> pulses_;
    std::function<void()> firstSample_;
};
