#include "vysledky/AttemptBuilder.h"

#include "vysledky/LogLine.h"
#include "vysledky/TimeText.h"

#include <algorithm>

void AttemptBuilder::addLine(const QString& line) {
    const LogLine record = LogLine::parse(line);
    switch (record.kind) {
    case LogLine::Kind::Team:
        if (attemptOpen()) {
            endAttempt(AttemptState::Incomplete);
        }
        team_ = record.text.trimmed();
        nameless_ = team_.isEmpty();
        if (nameless_) {
            team_ = noTeamName();
        }
        break;
    case LogLine::Kind::Lane1:
        takeLaneTime(lane1_, record.text);
        break;
    case LogLine::Kind::Lane2:
        takeLaneTime(lane2_, record.text);
        break;
    case LogLine::Kind::Stop:
        endAttempt(AttemptState::Stopped);
        ended_.last().stopTime = record.text;
        break;
    case LogLine::Kind::Disqualification:
        endAttempt(AttemptState::Disqualified);
        break;
    case LogLine::Kind::Annulment:
        endAttempt(AttemptState::Annulled);
        break;
    }
}

QList<Attempt> AttemptBuilder::attempts() const {
    QList<Attempt> all = ended_;
    if (attemptOpen()) {
        all.append(openAttempt(AttemptState::Incomplete));
    }
    return all;
}

void AttemptBuilder::takeLaneTime(std::optional<QString>& lane, const QString& time) {
    if (lane) {
        endAttempt(AttemptState::Incomplete);
    }
    lane = time;
}

void AttemptBuilder::startAttempt() {
    lane1_.reset();
    lane2_.reset();
}

void AttemptBuilder::endAttempt(AttemptState state) {
    ended_.append(openAttempt(state));
    startAttempt();
}

// The open attempt as a row. Incomplete stands for "not ended by a control record": it becomes
// valid when both lanes have a well-formed time.
Attempt AttemptBuilder::openAttempt(AttemptState state) const {
    Attempt attempt;
    attempt.number = static_cast<int>(ended_.size()) + 1;
    attempt.team = team_;
    attempt.nameless = nameless_;
    attempt.lane1 = lane1_.value_or(QString());
    attempt.lane2 = lane2_.value_or(QString());
    const auto millis1 = lane1_ ? TimeText::millis(*lane1_) : std::nullopt;
    const auto millis2 = lane2_ ? TimeText::millis(*lane2_) : std::nullopt;
    const bool timed = millis1 && millis2;
    if (timed) {
        const bool lane1Slower = *millis1 >= *millis2;
        attempt.result = lane1Slower ? attempt.lane1 : attempt.lane2;
        attempt.resultMillis = std::max(*millis1, *millis2);
    }
    attempt.state = (state == AttemptState::Incomplete && timed) ? AttemptState::Valid : state;
    return attempt;
}
