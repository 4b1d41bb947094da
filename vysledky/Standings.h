#pragma once

#include "vysledky/Attempt.h"
#include "vysledky/Ranking.h"
#include "vysledky/StartList.h"
#include "vysledky/desk/CorrectionsFile.h"

#include <QList>

// What every view shows: the log's attempts with the desk's decisions on them, named and
// categorised by the start list, and their ranking.
struct Standings {
    QList<Attempt> attempts;
    QList<RankingRow> ranking;
    int nameless = 0;            // attempts that wait for a name
    QList<LineProblem> problems; // lines of the corrections file that do not apply, by line
};

Standings makeStandings(QList<Attempt> attempts, const CorrectionsFile::Contents& corrections,
                        const StartList& list);
