#pragma once

#include <QString>

// Dropped: a test run, struck out by the results desk.
enum class AttemptState { Valid, Disqualified, Annulled, Stopped, Incomplete, Dropped };

// The state as the tables and the CSV show it: "platný", "diskvalifikace", "start anulován",
// "zastaveno", "neúplný", "vyřazen".
QString stateText(AttemptState state);

// One row of the attempts table.
struct Attempt {
    int number = 0; // from 1, in file order
    QString team;   // as typed less the spaces around it, or "(bez jména)"
    QString lane1;  // time texts as written; empty where the lane has none
    QString lane2;
    QString result; // the slower lane's time when both are well formed, in any state
    int resultMillis = -1;
    QString stopTime; // the time of a stop by hand, as written
    AttemptState state = AttemptState::Incomplete;
    QString category;      // from the start list; empty without one
    bool nameless = false; // saved without a name: never ranked until assigned to a team
    QString correction;    // what the results desk decided and why; empty when nothing

    // The list of the two lanes and the state, as the log made them: what a decision about the
    // attempt must match, so that it never applies to another attempt.
    QString fingerprint() const;

    bool operator==(const Attempt&) const = default;
};

// The team of lines before the first team line and of a blank team line.
QString noTeamName();

// What makes two spellings one team: letter case and runs of white space do not count, nor
// white space around the name ("SDH  Lhota", "sdh lhota " and "SDH Lhota" are one team).
QString teamKey(const QString& team);
