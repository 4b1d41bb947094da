#pragma once

class Module1;
class Module2;

// The three pulses that drive the external stopwatches: an output of the port raised, held for
// 1000 ms of the performance-counter clock, dropped. Nothing else happens meanwhile.
class Pulses {
public:
    static constexpr double pulseMillis = 1000.0;

    Pulses(Module1& port, Module2& counter) : port_(port), counter_(counter) {}

    void StartPulse(); // break state of the transmit line
    void StopPulse();  // DTR
    void ResetPulse(); // RTS

private:
    Module1& port_;
    Module2& counter_;
};
