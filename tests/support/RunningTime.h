#pragma once

#include <QString>

#include <cstdint>
#include <cstdio>

// HH:MM:SS:mmm of a running time in whole milliseconds, hours taken modulo 24: written out
// here on its own, so that tests never take the program's formatting as their expectation.
inline QString runningTime(std::int64_t ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d:%03d", static_cast<int>(ms / 3'600'000 % 24),
                  static_cast<int>(ms / 60'000 % 60), static_cast<int>(ms / 1000 % 60),
                  static_cast<int>(ms % 1000));
    return QString::fromLatin1(text);
}
