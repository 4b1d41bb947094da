#pragma once

#include "desktop/KeepAwake.h"
#include "publish/RunPublisher.h"
#include "race/DiskFlush.h"
#include "race/LogFlusher.h"
#include "race/Race.h"
#include "race/RaceLines.h"
#include "race/ResultsLog.h"
#include "race/TimeOfDay.h"
#include "records/LogRecords.h"
#include "serial/LineSampler.h"
#include "serial/MillisClock.h"
#include "serial/Module1.h"
#include "serial/Module2.h"
#include "serial/Pause.h"
#include "serial/PerformanceCounter.h"
#include "serial/PulseSleep.h"
#include "serial/Pulses.h"
#include "serial/SampleSchedule.h"
#include "serial/SamplerThread.h"
#include "serial/SerialPortBackend.h"
#include "window/Form1.h"
#include "window/ProgramEnd.h"

#include <chrono>
#include <iostream>

// The whole program, built once: the desktop kept awake, the serial port and the thread that
// samples its inputs every millisecond, the monotonic clocks, the real sleeps, the locale's time
// of day, the port and counter modules with their pulses, the results log with the thread that
// puts it on the disk, the race, the run published on the session bus, and the window. Each part
// gets what it uses by reference; the members are built in this order and end in the reverse one.
// Needs the application object (the desktop's services are asked over D-Bus).
class Machine {
public:
    Machine() {
        log_.flushWith(flusher_);
        // The process ends at once from a handler: the locks are given back first.
        end_.atEnd([this] { awake_.release(); });
    }

    Form1& window() { return window_; }
    long long samplerThreadId() { return samplerThread_.threadId(); }

private:
    // The clock behind MillisClock, whole.
    static std::int64_t monotonicMs() {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }

    KeepAwake awake_{std::cerr}; // no suspend and no blank screen while the program is open
    SerialPortBackend backend_;
    PerformanceCounter counter_;
    ThreadPulseSleep pulseSleep_;
    MillisClock clock_;
    ThreadSleep pause_;
    LocaleTimeOfDay timeOfDay_;
    ProcessExit end_;
    Module1 port_{backend_};
    Module2 counterModule_{counter_, pulseSleep_};
    Pulses pulses_{port_, counterModule_};
    LineSampler sampler_{backend_, clock_};
    MillisecondSchedule schedule_;
    SamplerThread samplerThread_{sampler_, schedule_}; // stopped before what it reads goes
    ModuleLines lines_{port_, pulses_, sampler_};
    SystemDiskFlush disk_;
    LogFlusher flusher_{disk_}; // outlives the log that hands it work
    ResultsLog log_{QString::fromLatin1(LogRecords::fileName)};
    Race race_{lines_, clock_, pause_, timeOfDay_, log_};
    RunPublisher publisher_{race_.track(), &monotonicMs, std::cerr};
    Form1 window_{race_, log_, clock_, end_};
};
