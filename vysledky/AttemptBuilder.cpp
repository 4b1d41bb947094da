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
        if (team_.isEmpty()) {
            team_ = noTeamName();
        }
        break;
    case LogLine::Kind::Lane1:
        if (hasLane1_) {
            endAttempt(AttemptState::Incomplete);
        }
        hasLane1_ = true;
        lane1_ = record.text;
        break;
    case LogLine::Kind::Lane2:
        if (hasLane2_) {
            endAttempt(AttemptState::Incomplete);
        }
        hasLane2_ = true;
        lane2_ = record.text;
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

void AttemptBuilder::startAttempt() {
    hasLane1_ = false;
    hasLane2_ = false;
    lane1_.clear();
    lane2_.clear();
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
    attempt.lane1 = lane1_;
    attempt.lane2 = lane2_;
    const auto millis1 = hasLane1_ ? TimeText::millis(lane1_) : std::nullopt;
    const auto millis2 = hasLane2_ ? TimeText::millis(lane2_) : std::nullopt;
    const bool timed = millis1 && millis2;
    if (timed) {
        const bool lane1Slower = *millis1 >= *millis2;
        attempt.result = lane1Slower ? lane1_ : lane2_;
        attempt.resultMillis = std::max(*millis1, *millis2);
    }
    attempt.state = (state == AttemptState::Incomplete && timed) ? AttemptState::Valid : state;
    return attempt;
}
