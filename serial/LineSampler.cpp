#include "serial/LineSampler.h"

#include "serial/LineBackend.h"
#include "serial/MillisClock.h"

namespace {
constexpr std::uint32_t contactBits[contactCount] = {ModemStatus::RlsdOn, ModemStatus::CtsOn,
                                                     ModemStatus::DsrOn};
} // namespace

LineSampler::LineSampler(LineBackend& lines, MillisClock& clock) : lines_(lines), clock_(clock) {}

void LineSampler::portOpened() {
    const std::uint32_t now = clock_.timeGetTime();
    const std::lock_guard lock(mutex_);
    portOpen_ = true;
    ++opening_;
    // Nothing is known of the new port's lines until its first read answers; the silence
    // before that read counts from the opening.
    const std::uint64_t reads = snapshot_.reads;
    const auto closures = snapshot_.closures;
    snapshot_ = LineSnapshot{};
    snapshot_.reads = reads;
    snapshot_.closures = closures;
    snapshot_.answeredAt = now;
}

void LineSampler::portClosing() {
    const std::lock_guard lock(mutex_);
    portOpen_ = false;
    ++opening_;
    // The inputs read open until the next port's read: a closure then counts as new.
    snapshot_.closed = {};
    snapshot_.answered = false;
    snapshot_.readFailed = false;
    snapshot_.failedReads = 0;
}

void LineSampler::sampleOnce() {
    std::uint64_t opening = 0;
    {
        const std::lock_guard lock(mutex_);
        if (!portOpen_) {
            return;
        }
        opening = opening_;
    }
    const std::optional<std::uint32_t> status = lines_.modemStatus();
    const std::uint32_t tick = clock_.timeGetTime();
    const std::lock_guard lock(mutex_);
    if (opening != opening_) {
        return; // the port closed or changed while this read was out
    }
    publish(status.has_value(), status.value_or(0), tick);
}

void LineSampler::publish(bool answered, std::uint32_t status, std::uint32_t tick) {
    LineSnapshot& s = snapshot_;
    ++s.reads;
    if (!answered) {
        // A failed read tells nothing of the lines, as a read that has not come back: the
        // closures stand as last read, and the loop acts on none of them meanwhile.
        s.readFailed = true;
        if (s.failedReads++ == 0) {
            s.failingSince = tick;
        }
        return;
    }
    const std::uint32_t silence = tick - s.answeredAt;
    // Closures present at the port's first read, when it came at once, began at some unknown
    // moment before the port opened.
    const bool atOpen = !s.answered && s.failedReads == 0 && silence <= readingAgeLimitMs;
    for (std::size_t c = 0; c < contactCount; ++c) {
        const bool closed = (status & contactBits[c]) == contactBits[c];
        if (closed && !s.closed[c]) {
            s.closedAt[c] = tick;
            ++s.closures[c];
            s.silenceBefore[c] = silence;
            s.closedAtOpen[c] = atOpen;
        }
        s.closed[c] = closed;
    }
    s.answered = true;
    s.answeredAt = tick;
    s.readFailed = false;
    s.failedReads = 0;
}

LineSnapshot LineSampler::snapshot() const {
    const std::lock_guard lock(mutex_);
    return snapshot_;
}
