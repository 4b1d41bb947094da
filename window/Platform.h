#pragma once

#include "race/TimeOfDay.h"
#include "serial/MillisClock.h"
#include "serial/Pause.h"
#include "serial/PerformanceCounter.h"
#include "serial/PulseSleep.h"
#include "serial/SerialPortBackend.h"
#include "window/ProgramEnd.h"

// Everything the window takes from the machine: the control lines, the clocks, the pause,
// the time of day and the end of the program. Tests hand in fakes of each.
struct Platform {
    LineBackend& lines;
    PerformanceCounter& counter;
    PulseSleep& pulseSleep;
    MillisClock& clock;
    Pause& pause;
    TimeOfDay& timeOfDay;
    ProgramEnd& end;
};

// The real machine.
class RealPlatform {
public:
    RealPlatform();
    Platform platform();

private:
    SerialPortBackend lines_;
    MonotonicCounter counter_;
    ThreadPulseSleep pulseSleep_;
    MonotonicMillisClock clock_;
    ThreadSleep pause_;
    LocaleTimeOfDay timeOfDay_;
    ProcessExit end_;
};
