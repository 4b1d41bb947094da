#pragma once

#include <cstdint>

// The 32-bit millisecond clock that times a race: the monotonic clock's milliseconds, wrapping
// after 2^32. Tests read a fake time in its place.
class MillisClock {
public:
    virtual ~MillisClock() = default;
    virtual std::uint32_t timeGetTime();
};
