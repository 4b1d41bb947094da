#include "tests/support/FakeLines.h"

std::int32_t FakeLines::open(const QString& portName) {
    opens.push_back(portName);
    if (!openPort.isEmpty() || !present.contains(portName) || busy.contains(portName)) {
        return -1;
    }
    openPort = portName;
    return 7;
}

void FakeLines::close() {
    ++closes;
    openPort.clear();
    unplugged = false;
}

void FakeLines::set(Output line, bool on) {
    if (openPort.isEmpty() || unplugged) {
        return; // a closed or vanished port changes nothing
    }
    levels_[static_cast<int>(line)] = on;
    outputs.push_back({line, on, time_.us});
    if (onOutput) {
        onOutput(outputs.back());
    }
}

bool FakeLines::level(Output line) const {
    return levels_[static_cast<int>(line)];
}

std::optional<std::uint32_t> FakeLines::modemStatus() {
    if (duringRead) {
        duringRead();
    }
    const int number = static_cast<int>(reads.size());
    reads.push_back(time_.us);
    if (unplugged) {
        return std::nullopt;
    }
    if (openPort.isEmpty()) {
        return 0;
    }
    const auto on = [&](Input line, bool level) { return script ? script(line, number) : level; };
    return (on(Input::Cts, cts) ? ModemStatus::CtsOn : 0U) |
           (on(Input::Dsr, dsr) ? ModemStatus::DsrOn : 0U) |
           (on(Input::Dcd, dcd) ? ModemStatus::RlsdOn : 0U);
}

std::vector<std::pair<std::int64_t, std::int64_t>> FakeLines::pulses(Output line) const {
    std::vector<std::pair<std::int64_t, std::int64_t>> found;
    std::int64_t raisedAt = -1;
    for (const Transition& t : outputs) {
        if (t.line != line) {
            continue;
        }
        if (t.on && raisedAt < 0) {
            raisedAt = t.us;
        } else if (!t.on && raisedAt >= 0) {
            found.emplace_back(raisedAt, t.us);
            raisedAt = -1;
        }
    }
    return found;
}

void FakeLines::forget() {
    opens.clear();
    closes = 0;
    outputs.clear();
    reads.clear();
}
