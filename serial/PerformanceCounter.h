#pragma once

#include <cstdint>

// A count that only grows, at a fixed rate: what PerfMillis reads.
class PerformanceCounter {
public:
    virtual ~PerformanceCounter() = default;
    virtual std::int64_t read() = 0;
};

// Runs at 1,193,180 ticks per second, derived from the monotonic clock, so that PerfMillis's
// fixed tick length makes 1000 ms last one real second.
class MonotonicCounter final : public PerformanceCounter {
public:
    static constexpr std::int64_t ticksPerSecond = 1'193'180;
    std::int64_t read() override;

    // The count for a monotonic reading in nanoseconds; exact for the whole range of it.
    static std::int64_t ticksFromNanoseconds(std::int64_t ns);
};
