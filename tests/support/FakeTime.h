#pragma once

#include "race/TimeOfDay.h"
#include "serial/MillisClock.h"
#include "serial/Pause.h"
#include "serial/PerformanceCounter.h"
#include "serial/PulseSleep.h"

#include <QTime>

#include <cstdint>
#include <functional>
#include <vector>

// One fake time line, in microseconds, behind every clock of the program. Nothing waits for
// real: the pause moves it on by its length, and each counter reading moves it on a little,
// so a busy wait of 1000 ms ends after a few thousand readings.
struct FakeTime {
    std::int64_t us = 0;
    std::int64_t counterStepUs = 100;
    std::uint32_t millisOffset = 0; // added to the millisecond clock, to try its wraps
    // Runs at every whole millisecond the time passes on its way: where the line sampler
    // reads. Setting `us` directly jumps without it.
    std::function<void()> everyMillisecond;

    std::uint32_t millis() const { return static_cast<std::uint32_t>(us / 1000) + millisOffset; }
    void advance(std::int64_t byUs);
};

// What each fake clock below holds: the time line it reads or moves on.
class OnFakeTime {
public:
    explicit OnFakeTime(FakeTime& time) : time_(time) {}

protected:
    FakeTime& time_;
};

class FakeMillisClock final : public MillisClock, OnFakeTime {
public:
    using OnFakeTime::OnFakeTime;
    std::uint32_t timeGetTime() override { return time_.millis(); }
};

class FakeCounter final : public PerformanceCounter, OnFakeTime {
public:
    using OnFakeTime::OnFakeTime;
    std::int64_t read() override;
    std::int64_t reads = 0;
};

// The pulse's sleep moves the time on by what it was asked, scaled: below 1 it wakes early,
// above 1 late. It moves in whole counter steps.
class FakePulseSleep final : public PulseSleep, OnFakeTime {
public:
    using OnFakeTime::OnFakeTime;
    void sleepFor(double milliseconds) override;
    double wakeScale = 1.0;
    std::vector<double> asked;
};

// Sleep moves the time on and then calls the hook: the place where a test acts between passes.
class FakePause final : public Pause, OnFakeTime {
public:
    using OnFakeTime::OnFakeTime;
    void Sleep(int milliseconds) override;
    std::function<void()> hook;
    int sleeps = 0;
};

// The time of day runs from 09:05:07 with the fake time, in the format H:mm:ss, unless a test
// gives its own texts.
class FakeTimeOfDay final : public TimeOfDay, OnFakeTime {
public:
    using OnFakeTime::OnFakeTime;
    QString timeText() override;
    QTime start{9, 5, 7};
    std::function<QString()> text;
    int readings = 0;
};
