#include "serial/LineSampler.h"

#include "serial/LineBackend.h"
#include "serial/MillisClock.h"

namespace {
constexpr std::uint32_t contactBits[contactCount] = {ModemStatus::RlsdOn, ModemStatus::CtsOn,
                                                     ModemStatus::DsrOn};
} // namespace

LineSampler::LineSampler(LineBackend& lines, MillisClock& clock) : lines_(lines), clock_(clock) {}

void LineSampler::portOpened() {
    setPortOpen(true);
}

void LineSampler::portClosing() {
    setPortOpen(false);
}

void LineSampler::setPortOpen(bool open) {
    const std::lock_guard port(portMutex_);
    portOpen_ = open;
    // Either way the inputs read open until the next read: a closure then counts as new.
    const std::lock_guard lock(snapshotMutex_);
    snapshot_.closed = {};
    snapshot_.readFailed = false;
}

void LineSampler::sampleOnce() {
    const std::lock_guard port(portMutex_);
    if (!portOpen_) {
        return;
    }
    const std::optional<std::uint32_t> status = lines_.modemStatus();
    publish(status.has_value(), status.value_or(0), clock_.timeGetTime());
}

void LineSampler::publish(bool answered, std::uint32_t status, std::uint32_t tick) {
    const std::lock_guard lock(snapshotMutex_);
    LineSnapshot& s = snapshot_;
    for (std::size_t c = 0; c < contactCount; ++c) {
        const bool closed = (status & contactBits[c]) == contactBits[c];
        if (closed && !s.closed[c]) {
            s.closedAt[c] = tick;
            ++s.closures[c];
        }
        s.closed[c] = closed;
    }
    s.readFailed = !answered;
    ++s.reads;
}

LineSnapshot LineSampler::snapshot() const {
    const std::lock_guard lock(snapshotMutex_);
    return snapshot_;
}
