#include "bench/WakeProbe.h"

#include "bench/ProcessClock.h"

#include <pthread.h>
#include <unistd.h>

namespace {
// Ten minutes of wake-ups, reserved so that recording never allocates; later ones go unrecorded.
constexpr std::size_t capacity = 600'000;
} // namespace

WakeProbe::WakeProbe() : threadId_(started_.get_future().share()), thread_([this] { run(); }) {}

WakeProbe::~WakeProbe() {
    finish();
}

long long WakeProbe::threadId() {
    return threadId_.get();
}

void WakeProbe::finish() {
    if (thread_.joinable()) {
        schedule_.stop();
        thread_.join();
    }
}

void WakeProbe::run() {
    pthread_setname_np(pthread_self(), "bench-wake");
    latenessMs_.reserve(capacity);
    started_.set_value(gettid());
    while (schedule_.waitNext()) {
        const std::int64_t late = ProcessClock::monotonicNs() - schedule_.deadlineNs();
        if (latenessMs_.size() < capacity) {
            latenessMs_.push_back(static_cast<double>(late) / 1e6);
        }
    }
}
