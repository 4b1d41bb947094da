#pragma once

class PerformanceCounter;
class PulseSleep;

// The millisecond clock of the performance counter and the wait that times every pulse.
class Module2 {
public:
    Module2(PerformanceCounter& counter, PulseSleep& pulseSleep)
        : counter_(counter), pulseSleep_(pulseSleep) {}

    // The counter's whole count in milliseconds; only differences between readings matter.
    double PerfMillis();

    // Returns once PerfMillis has advanced by the duration; no events run meanwhile. It sleeps
    // until the last finalStretch milliseconds and watches the counter only for those, so the
    // deadline is the counter's whatever the sleep does.
    void WaitMillis(double duration);
    static constexpr double finalStretch = 2.0;

private:
    PerformanceCounter& counter_;
    PulseSleep& pulseSleep_;
    double msPerTick_ = 0.0; // fixed at the first PerfMillis
};
