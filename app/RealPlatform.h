#pragma once

#include "race/TimeOfDay.h"
#include "serial/LineSampler.h"
#include "serial/MillisClock.h"
#include "serial/Pause.h"
#include "serial/PerformanceCounter.h"
#include "serial/PulseSleep.h"
#include "serial/SampleSchedule.h"
#include "serial/SamplerThread.h"
#include "serial/SerialPortBackend.h"
#include "window/Platform.h"
#include "window/ProgramEnd.h"

// The real machine: the serial port and the thread that samples its inputs every millisecond,
// the monotonic clocks, the real sleeps, the locale's time of day and the end of the process.
class RealPlatform {
public:
    Platform platform() {
        return Platform{lines_, sampler_, counter_, pulseSleep_, clock_, pause_, timeOfDay_, end_};
    }
    ProcessExit& processExit() { return end_; }

    long long samplerThreadId() { return samplerThread_.threadId(); }

private:
    SerialPortBackend lines_;
    MonotonicCounter counter_;
    ThreadPulseSleep pulseSleep_;
    MonotonicMillisClock clock_;
    ThreadSleep pause_;
    LocaleTimeOfDay timeOfDay_;
    ProcessExit end_;
    LineSampler sampler_{lines_, clock_};
    MillisecondSchedule schedule_;
    SamplerThread samplerThread_{sampler_, schedule_}; // last: stopped before the rest goes
};
