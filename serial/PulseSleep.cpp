#include "serial/PulseSleep.h"

#include <cerrno>
#include <cmath>
#include <ctime>

void ThreadPulseSleep::sleepFor(double milliseconds) {
    if (!(milliseconds > 0.0)) {
        return;
    }
    const auto ns = static_cast<long long>(std::llround(milliseconds * 1e6));
    timespec left{static_cast<time_t>(ns / 1'000'000'000LL),
                  static_cast<long>(ns % 1'000'000'000LL)};
    while (clock_nanosleep(CLOCK_MONOTONIC, 0, &left, &left) == EINTR) {
    }
}
