#include "serial/SampleSchedule.h"

#include <cerrno>
#include <ctime>

namespace {
std::int64_t monotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}
} // namespace

std::int64_t MillisecondSchedule::nextDeadline(std::int64_t previous, std::int64_t now) {
    // The first place on the millisecond grid after the previous deadline, on or off the grid.
    const std::int64_t next = ((previous - phaseNs) / periodNs + 1) * periodNs + phaseNs;
    return next < now ? now : next;
}

bool MillisecondSchedule::waitNext() {
    if (stopped_) {
        return false;
    }
    const std::int64_t now = monotonicNs();
    next_ = nextDeadline(next_, now);
    if (next_ <= now) {
        return !stopped_; // overran: the next read at once, without a trip through the kernel
    }
    const timespec deadline{static_cast<time_t>(next_ / 1'000'000'000),
                            static_cast<long>(next_ % 1'000'000'000)};
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr) == EINTR) {
    }
    return !stopped_;
}
