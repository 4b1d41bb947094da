#include "serial/PerformanceCounter.h"

#include <chrono>

std::int64_t PerformanceCounter::ticksFromNanoseconds(std::int64_t ns) {
    constexpr std::int64_t nsPerSecond = 1'000'000'000;
    // Split the reading so that the product never leaves 64 bits.
    return ns / nsPerSecond * ticksPerSecond + ns % nsPerSecond * ticksPerSecond / nsPerSecond;
}

std::int64_t PerformanceCounter::read() {
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(
                        std::chrono::steady_clock::now().time_since_epoch())
                        .count();
    return ticksFromNanoseconds(ns);
}
