#pragma once

#include <QString>
#include <cstdint>

// The running time as HH:MM:SS:mmm from two readings of the 32-bit millisecond clock.
// The difference is taken modulo 2^32, so a race is timed right across every wrap of the
// clock and the time is never negative; the hours wrap at 24.
QString elapsedText(std::uint32_t now, std::int32_t startTick);
