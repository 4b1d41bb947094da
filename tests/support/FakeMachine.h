#pragma once

#include "tests/support/FakeLines.h"
#include "tests/support/FakeTime.h"

// Every seam of the machine faked on one time line: the lines, the counter and pulse sleep,
// the millisecond clock, the pause and the time of day.
struct FakeMachine {
    FakeTime time;
    FakeMillisClock clock{time};
    FakeCounter counter{time};
    FakePulseSleep pulseSleep{time};
    FakePause pause{time};
    FakeTimeOfDay timeOfDay{time};
    FakeLines lines{time};
};
