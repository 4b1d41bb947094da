#include "serial/Pause.h"

#include <cerrno>
#include <ctime>

#ifdef __linux__
#include <sys/prctl.h>
#endif

ThreadSleep::ThreadSleep() {
#ifdef __linux__
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
#endif
}

void sleepMonotonic(long long nanoseconds) {
    timespec left{static_cast<time_t>(nanoseconds / 1'000'000'000LL),
                  static_cast<long>(nanoseconds % 1'000'000'000LL)};
    while (clock_nanosleep(CLOCK_MONOTONIC, 0, &left, &left) == EINTR) {
    }
}

void ThreadSleep::Sleep(int milliseconds) {
    sleepMonotonic(milliseconds * 1'000'000LL);
}
