#include "serial/Pulses.h"

#include "serial/Module1.h"
#include "serial/Module2.h"

void StartPulse() {
    Module1::SetBreak(1);
    Module2::WaitMillis(pulseMillis);
    Module1::SetBreak(0);
}

void StopPulse() {
    Module1::SetDtr(1);
    Module2::WaitMillis(pulseMillis);
    Module1::SetDtr(0);
}

void ResetPulse() {
    Module1::SetRts(1);
    Module2::WaitMillis(pulseMillis);
    Module1::SetRts(0);
}
