#pragma once

#include "race/TimeOfDay.h"
#include "serial/MillisClock.h"
#include "serial/Pause.h"
#include "serial/PerformanceCounter.h"
#include "serial/PulseSleep.h"
#include "serial/SerialPortBackend.h"
#include "window/Platform.h"
#include "window/ProgramEnd.h"

// The real machine: the serial port, the monotonic clocks, the real sleeps, the locale's time
// of day and the end of the process.
class RealPlatform {
public:
    Platform platform() {
        return Platform{lines_, counter_, pulseSleep_, clock_, pause_, timeOfDay_, end_};
    }
    ProcessExit& processExit() { return end_; }

private:
    SerialPortBackend lines_;
    MonotonicCounter counter_;
    ThreadPulseSleep pulseSleep_;
    MonotonicMillisClock clock_;
    ThreadSleep pause_;
    LocaleTimeOfDay timeOfDay_;
    ProcessExit end_;
};
