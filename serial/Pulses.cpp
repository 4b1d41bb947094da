#include "serial/Pulses.h"

#include "serial/Module1.h"
#include "serial/Module2.h"

void Pulses::StartPulse() {
    port_.SetBreak(1);
    counter_.WaitMillis(pulseMillis);
    port_.SetBreak(0);
}

void Pulses::StopPulse() {
    port_.SetDtr(1);
    counter_.WaitMillis(pulseMillis);
    port_.SetDtr(0);
}

void Pulses::ResetPulse() {
    port_.SetRts(1);
    counter_.WaitMillis(pulseMillis);
    port_.SetRts(0);
}
