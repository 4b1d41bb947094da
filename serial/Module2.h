#pragma once

class PerformanceCounter;
class PulseSleep;

// The millisecond clock of the performance counter and the busy wait that times every pulse.
namespace Module2 {

// Milliseconds per counter tick: 0 until the first PerfMillis, then 0.000838096515.
double msPerTick();

// The counter's whole count in milliseconds; only differences between readings matter.
double PerfMillis();

// Returns once PerfMillis has advanced by the duration; no events run meanwhile. With a sleep
// installed it sleeps until the last finalStretch milliseconds and watches the counter only
// for those, so the deadline is the counter's whatever the sleep does; without one it is a
// busy wait throughout.
void WaitMillis(double duration);
inline constexpr double finalStretch = 2.0;

// The counter PerfMillis reads; the program installs the monotonic one, tests a fake.
// Installing also forgets msPerTick, as at program start.
void installCounter(PerformanceCounter* counter);
void installSleep(PulseSleep* sleep);

} // namespace Module2
