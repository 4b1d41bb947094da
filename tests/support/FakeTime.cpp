#include "tests/support/FakeTime.h"

#include <cmath>

void FakeTime::advance(std::int64_t byUs) {
    const std::int64_t end = us + byUs;
    for (std::int64_t next = (us / 1000 + 1) * 1000; everyMillisecond && next <= end;
         next += 1000) {
        us = next;
        everyMillisecond();
    }
    us = end;
}

std::int64_t FakeCounter::read() {
    ++reads;
    const std::int64_t ticks = PerformanceCounter::ticksFromNanoseconds(time_.us * 1000);
    time_.advance(time_.counterStepUs);
    return ticks;
}

void FakePulseSleep::sleepFor(double milliseconds) {
    asked.push_back(milliseconds);
    // Whole counter steps, so that the readings after it fall where a busy wait's would.
    const std::int64_t step = time_.counterStepUs > 0 ? time_.counterStepUs : 1;
    time_.advance(std::llround(milliseconds * 1000.0 * wakeScale) / step * step);
}

void FakePause::Sleep(int milliseconds) {
    time_.advance(static_cast<std::int64_t>(milliseconds) * 1000);
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
