#include "tests/support/FakeTime.h"

std::int64_t FakeCounter::read() {
    ++reads;
    const std::int64_t ticks = MonotonicCounter::ticksFromNanoseconds(time_.us * 1000);
    time_.us += time_.counterStepUs;
    return ticks;
}

void FakePause::Sleep(int milliseconds) {
    time_.us += static_cast<std::int64_t>(milliseconds) * 1000;
    ++sleeps;
    if (hook) {
        hook();
    }
}

QString FakeTimeOfDay::timeText() {
    ++readings;
    if (text) {
        return text();
    }
    return start.addMSecs(static_cast<int>(time_.us / 1000 % 86'400'000)).toString(u"H:mm:ss");
}
