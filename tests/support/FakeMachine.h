#pragma once

#include "race/RaceLines.h"
#include "serial/LineSampler.h"
#include "serial/Module1.h"
#include "serial/Module2.h"
#include "serial/Pulses.h"
#include "tests/support/FakeLines.h"
#include "tests/support/FakeTime.h"

#include <functional>
#include <map>

// Every seam of the machine faked on one time line: the lines, the counter and pulse sleep,
// the millisecond clock, the pause and the time of day. The real line sampler reads the fake
// lines at every whole millisecond of the fake time, as its thread does on the real clock; the
// real port and counter modules and their pulses work on the fakes, as the race's lines.
struct FakeMachine {
    FakeMachine() {
        time.everyMillisecond = [this] {
            for (auto due = changes_.begin(); due != changes_.end() && due->first <= time.us;) {
                due->second();
                due = changes_.erase(due);
            }
            sampler.sampleOnce();
        };
    }
    FakeMachine(const FakeMachine&) = delete;
    FakeMachine& operator=(const FakeMachine&) = delete;

    // A change to the world at a moment of the fake time: made before the sampler's read at
    // the first whole millisecond on or after it, whatever the program is doing then.
    void at(std::int64_t us, std::function<void()> change) {
        changes_.emplace(us, std::move(change));
    }

    FakeTime time;
    FakeMillisClock clock{time};
    FakeCounter counter{time};
    FakePulseSleep pulseSleep{time};
    FakePause pause{time};
    FakeTimeOfDay timeOfDay{time};
    FakeLines lines{time};
    LineSampler sampler{lines, clock};
    Module1 port{lines};
    Module2 counterModule{counter, pulseSleep};
    Pulses pulses{port, counterModule};
    ModuleLines raceLines{port, pulses, sampler};

private:
    std::multimap<std::int64_t, std::function<void()>> changes_;
};
