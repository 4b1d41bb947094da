#include "serial/PulseSleep.h"

#include "serial/Pause.h"

#include <cmath>

void ThreadPulseSleep::sleepFor(double milliseconds) {
    if (!(milliseconds > 0.0)) {
        return;
    }
    sleepMonotonic(std::llround(milliseconds * 1e6));
}
