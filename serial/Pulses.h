#pragma once

// The three pulses that drive the external stopwatches: an output raised, held for 1000 ms of
// the performance-counter clock, dropped. Nothing else happens meanwhile.
inline constexpr double pulseMillis = 1000.0;

void StartPulse(); // break state of the transmit line
void StopPulse();  // DTR
void ResetPulse(); // RTS
