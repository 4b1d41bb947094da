#pragma once

class PerformanceCounter;

// The millisecond clock of the performance counter and the busy wait that times every pulse.
namespace Module2 {

// Milliseconds per counter tick: 0 until the first PerfMillis, then 0.000838096515.
double msPerTick();

// The counter's whole count in milliseconds; only differences between readings matter.
double PerfMillis();

// Returns once PerfMillis has advanced by the duration. Busy: no sleep, no yield, no events.
void WaitMillis(double duration);

// The counter PerfMillis reads; the program installs the monotonic one, tests a fake.
// Installing also forgets msPerTick, as at program start.
void installCounter(PerformanceCounter* counter);

} // namespace Module2
