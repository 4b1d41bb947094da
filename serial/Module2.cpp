#include "serial/Module2.h"

#include "serial/PerformanceCounter.h"
#include "serial/PulseSleep.h"

#include <cstdint>

namespace {
PerformanceCounter* counter = nullptr;
PulseSleep* pulseSleep = nullptr;
double tickLength = 0.0;
} // namespace

namespace Module2 {

double msPerTick() {
    return tickLength;
}

double PerfMillis() {
    if (tickLength == 0.0) {
        tickLength = 0.000838096515; // 1/1193.18 to twelve significant digits
    }
    const std::int64_t count = counter != nullptr ? counter->read() : 0;
    const auto high = static_cast<std::int32_t>(static_cast<std::uint64_t>(count) >> 32U);
    const auto low = static_cast<std::uint32_t>(static_cast<std::uint64_t>(count) & 0xFFFFFFFFU);
    const double whole = static_cast<double>(high) * 4294967296.0 + static_cast<double>(low);
    return whole * tickLength;
}

void WaitMillis(double duration) {
    const double start = PerfMillis();
    for (double now = PerfMillis(); now < start + duration; now = PerfMillis()) {
        const double left = start + duration - now;
        if (pulseSleep != nullptr && left > finalStretch) {
            pulseSleep->sleepFor(left - finalStretch);
        }
    }
}

void installCounter(PerformanceCounter* newCounter) {
    counter = newCounter;
    tickLength = 0.0;
}

void installSleep(PulseSleep* sleep) {
    pulseSleep = sleep;
}

} // namespace Module2
