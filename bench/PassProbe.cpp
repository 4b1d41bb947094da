#include "bench/PassProbe.h"

#include "bench/ProcessClock.h"

PassProbe::PassProbe(Pause& real, std::size_t capacity) : real_(real) {
    periodsMs_.reserve(capacity);
    workUs_.reserve(capacity);
}

void PassProbe::Sleep(int milliseconds) {
    const std::int64_t call = ProcessClock::monotonicNs();
    if (recording_ && lastCallNs_ >= 0 && periodsMs_.size() < periodsMs_.capacity()) {
        periodsMs_.push_back(static_cast<double>(call - lastCallNs_) / 1e6);
        workUs_.push_back(static_cast<double>(call - lastWakeNs_) / 1e3);
    }
    lastCallNs_ = call;
    real_.Sleep(milliseconds);
    if (step_) {
        step_();
    }
    lastWakeNs_ = ProcessClock::monotonicNs();
}
