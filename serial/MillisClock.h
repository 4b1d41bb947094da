#pragma once

#include <cstdint>

// The 32-bit millisecond clock that times a race: milliseconds since some fixed moment,
// wrapping after 2^32.
class MillisClock {
public:
    virtual ~MillisClock() = default;
    virtual std::uint32_t timeGetTime() = 0;
};

// The monotonic clock's milliseconds, wrapped to 32 bits.
class MonotonicMillisClock final : public MillisClock {
public:
    std::uint32_t timeGetTime() override;
};
