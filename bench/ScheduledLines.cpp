#include "bench/ScheduledLines.h"

#include "bench/ProcessClock.h"

void ScheduledLines::closeAt(Contact contact, std::int64_t closeNs) {
    const std::lock_guard lock(contactsMutex_);
    contacts_[contact] = Window{closeNs, -1, -1};
}

void ScheduledLines::openAt(Contact contact, std::int64_t openNs) {
    const std::lock_guard lock(contactsMutex_);
    contacts_[contact].openNs = openNs;
}

std::int64_t ScheduledLines::firstSeenNs(Contact contact) const {
    const std::lock_guard lock(contactsMutex_);
    return contacts_[contact].seenNs;
}

std::int32_t ScheduledLines::open(const QString& /*portName*/) {
    return 1;
}

void ScheduledLines::close() {}

void ScheduledLines::edge(Output output, bool on) {
    const std::int64_t now = ProcessClock::monotonicNs();
    std::int64_t& since = upSince_[output];
    if (on && since < 0) {
        since = now;
        upCpu_[output] = ProcessClock::cpuNs();
        const std::lock_guard lock(contactsMutex_);
        Window& start = contacts_[Start];
        if (output == Break && start.closeNs >= 0 && start.openNs < 0) {
            start.openNs = now;
        }
    } else if (!on && since >= 0) {
        pulses_.push_back(Pulse{output, since, now, ProcessClock::cpuNs() - upCpu_[output]});
        since = -1;
    }
}

std::uint32_t ScheduledLines::statusAt(std::int64_t asOfNs, std::int64_t nowNs) {
    // The modem status bit of each contact, in the order of Contact.
    constexpr std::uint32_t bitOf[] = {ModemStatus::RlsdOn, ModemStatus::CtsOn, ModemStatus::DsrOn};
    const std::lock_guard lock(contactsMutex_);
    std::uint32_t bits = 0;
    for (std::size_t c = 0; c < contacts_.size(); ++c) {
        Window& w = contacts_[c];
        if (w.closeNs < 0 || asOfNs < w.closeNs || (w.openNs >= 0 && asOfNs >= w.openNs)) {
            continue;
        }
        bits |= bitOf[c];
        if (w.seenNs < 0) {
            w.seenNs = nowNs;
        }
    }
    return bits;
}

std::optional<std::uint32_t> ScheduledLines::modemStatus() {
    const std::int64_t now = ProcessClock::monotonicNs();
    return statusAt(now, now);
}
