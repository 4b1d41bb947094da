#pragma once

#include <QString>

// One line of ZAVOD.TXT, already decoded, told apart by the record texts of LogRecords.
struct LogLine {
    enum class Kind { Team, Lane1, Lane2, Stop, Disqualification, Annulment };

    Kind kind = Kind::Team;
    // Team: the whole line as typed. Lane and stop: the time text as written, with the spaces
    // between label and time left out. Otherwise empty.
    QString text;

    // Any line that is none of the five records is a team line.
    static LogLine parse(const QString& line);
};
