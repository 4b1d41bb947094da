#pragma once

#include "vysledky/Attempt.h"

#include <QList>
#include <QString>

#include <optional>

// Turns the log's lines, in order, into attempts.
//
// An attempt belongs to the team line before it. An annulment, a disqualification or a stop by
// hand ends the attempt it falls in, even one with no lane time yet. A lane time for a lane
// that already has one in the attempt ends it too: the lanes were cleared, which the log does
// not record. A team line ends the attempt of the team before it.
//
// Team names lose the spaces around them: "next team" leaves a single space in the timing
// program's name box, and the name is typed after it.
//
// An attempt with both lanes timed stays open until the next record: a disqualification or an
// annulment that follows it still belongs to it (a run is often judged after it ends). At the
// end of the lines it is shown as it stands, so the last attempt of a growing log is
// provisional.
class AttemptBuilder {
public:
    void addLine(const QString& line);

    // The attempts so far, the open one last.
    QList<Attempt> attempts() const;

private:
    // A lane's time; a second one for the lane ends the open attempt first.
    void takeLaneTime(std::optional<QString>& lane, const QString& time);
    void startAttempt();
    void endAttempt(AttemptState state);
    Attempt openAttempt(AttemptState state) const;
    bool attemptOpen() const { return lane1_ || lane2_; }

    QList<Attempt> ended_;
    QString team_ = noTeamName();
    bool nameless_ = true;
    std::optional<QString> lane1_; // the lane's time in the open attempt, as the log has it
    std::optional<QString> lane2_;
};
