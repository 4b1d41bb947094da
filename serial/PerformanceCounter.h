#pragma once

#include <cstdint>

// A count that only grows, at a fixed rate: what PerfMillis reads. It runs at 1,193,180 ticks
// per second, derived from the monotonic clock, so that PerfMillis's fixed tick length makes
// 1000 ms last one real second. Tests count on a fake time in its place.
class PerformanceCounter {
public:
    static constexpr std::int64_t ticksPerSecond = 1'193'180;

    virtual ~PerformanceCounter() = default;
    virtual std::int64_t read();

    // The count for a monotonic reading in nanoseconds; exact for the whole range of it.
    static std::int64_t ticksFromNanoseconds(std::int64_t ns);
};
