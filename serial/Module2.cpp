#include "serial/Module2.h"

#include "serial/PerformanceCounter.h"
#include "serial/PulseSleep.h"

#include <cstdint>

double Module2::PerfMillis() {
    if (msPerTick_ == 0.0) {
        msPerTick_ = 0.000838096515; // 1/1193.18 to twelve significant digits
    }
    const std::int64_t count = counter_.read();
    const auto high = static_cast<std::int32_t>(static_cast<std::uint64_t>(count) >> 32U);
    const auto low = static_cast<std::uint32_t>(static_cast<std::uint64_t>(count) & 0xFFFFFFFFU);
    const double whole = static_cast<double>(high) * 4294967296.0 + static_cast<double>(low);
    return whole * msPerTick_;
}

void Module2::WaitMillis(double duration) {
    const double start = PerfMillis();
    for (double now = PerfMillis(); now < start + duration; now = PerfMillis()) {
        const double left = start + duration - now;
        if (left > finalStretch) {
            pulseSleep_.sleepFor(left - finalStretch);
        }
    }
}
