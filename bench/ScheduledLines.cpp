#include "bench/ScheduledLines.h"

#include "bench/ProcessClock.h"

void ScheduledLines::closeAt(Contact contact, std::int64_t closeNs) {
    contacts_[contact] = Window{closeNs, -1, -1};
}

void ScheduledLines::openAt(Contact contact, std::int64_t openNs) {
    contacts_[contact].openNs = openNs;
}

bool ScheduledLines::isOpenAfter(Contact contact, std::int64_t ns) const {
    const Window& w = contacts_[contact];
    return w.closeNs < 0 || (w.openNs >= 0 && ns >= w.openNs);
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
        Window& start = contacts_[Start];
        if (output == Break && start.closeNs >= 0 && start.openNs < 0) {
            start.openNs = now;
        }
    } else if (!on && since >= 0) {
        pulses_.push_back(Pulse{output, since, now});
        since = -1;
    }
}

std::uint32_t ScheduledLines::modemStatus(std::uint32_t mask) {
    if (firstSample_) {
        auto callback = std::move(firstSample_);
        firstSample_ = nullptr;
        callback();
    }
    const std::int64_t now = ProcessClock::monotonicNs();
    const auto closed = [&](Contact c) {
        Window& w = contacts_[c];
        const bool on = w.closeNs >= 0 && now >= w.closeNs && (w.openNs < 0 || now < w.openNs);
        const std::uint32_t bit = c == Start   ? ModemStatus::RlsdOn
                                  : c == Lane1 ? ModemStatus::CtsOn
                                               : ModemStatus::DsrOn;
        if (on && w.seenNs < 0 && (mask & bit) != 0) {
            w.seenNs = now;
        }
        return on;
    };
    std::uint32_t bits = 0;
    if (closed(Start)) {
        bits |= ModemStatus::RlsdOn;
    }
    if (closed(Lane1)) {
        bits |= ModemStatus::CtsOn;
    }
    if (closed(Lane2)) {
        bits |= ModemStatus::DsrOn;
    }
    return bits;
}
