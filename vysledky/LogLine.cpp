#include "vysledky/LogLine.h"

#include "records/LogRecords.h"

namespace {
// The time after a label: right after it, or further right (in the next print zone) after a
// gap of spaces, which is not part of the time; nor are spaces after it.
QString timeAfter(const QString& line, const QString& label) {
    qsizetype at = label.size();
    while (at < line.size() && line[at] == u' ') {
        ++at;
    }
    qsizetype end = line.size();
    while (end > at && line[end - 1] == u' ') {
        --end;
    }
    return line.mid(at, end - at);
}
} // namespace

LogLine LogLine::parse(const QString& line) {
    using LogRecords::annulmentText;
    using LogRecords::disqualificationText;
    using LogRecords::lane1Label;
    using LogRecords::lane2Label;
    using LogRecords::stopLabel;

    if (line.startsWith(lane1Label)) {
        return {Kind::Lane1, timeAfter(line, lane1Label)};
    }
    if (line.startsWith(lane2Label)) {
        return {Kind::Lane2, timeAfter(line, lane2Label)};
    }
    if (line.startsWith(stopLabel)) {
        return {Kind::Stop, timeAfter(line, stopLabel)};
    }
    if (line == disqualificationText) {
        return {Kind::Disqualification, {}};
    }
    if (line == annulmentText) {
        return {Kind::Annulment, {}};
    }
    return {Kind::Team, line};
}
