#include "bench/ScheduledLines.h"

#include "bench/ProcessClock.h"

void ScheduledLines::closeBetween(Contact contact, std::int64_t closeNs, std::int64_t openNs) {
    contacts_[contact] = Window{closeNs, openNs, -1};
}

bool ScheduledLines::isOpenAfter(Contact contact, std::int64_t ns) const {
    const Window& w = contacts_[contact];
    return w.closeNs < 0 || ns >= w.openNs;
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
        const bool on = w.closeNs >= 0 && now >= w.closeNs && now < w.openNs;
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
