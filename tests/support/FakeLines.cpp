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

std::uint32_t FakeLines::modemStatus(std::uint32_t mask) {
    const Input line = mask == ModemStatus::CtsOn   ? Input::Cts
                       : mask == ModemStatus::DsrOn ? Input::Dsr
                                                    : Input::Dcd;
    const int number = static_cast<int>(queries.size());
    queries.push_back({line, time_.us});
    if (openPort.isEmpty() || unplugged) {
        return 0;
    }
    const bool on = script ? script(line, number)
                           : (line == Input::Cts   ? cts
                              : line == Input::Dsr ? dsr
                                                   : dcd);
    return on ? mask : 0;
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

std::vector<Input> FakeLines::queriedLines() const {
    std::vector<Input> lines;
    lines.reserve(queries.size());
    for (const Query& q : queries) {
        lines.push_back(q.line);
    }
    return lines;
}

void FakeLines::forget() {
    opens.clear();
    closes = 0;
    outputs.clear();
    queries.clear();
}
