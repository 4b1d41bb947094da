#include "vysledky/Standings.h"

#include "vysledky/desk/ApplyDecisions.h"

#include <algorithm>

Standings makeStandings(QList<Attempt> attempts, const CorrectionsFile::Contents& corrections,
                        const StartList& list) {
    Standings standings;
    standings.problems = corrections.problems;
    standings.problems += applyDecisions(attempts, corrections.decisions);
    std::stable_sort(standings.problems.begin(), standings.problems.end(),
                     [](const LineProblem& a, const LineProblem& b) { return a.line < b.line; });
    standings.nameless = namelessCount(attempts);
    if (list.isEmpty()) {
        standings.ranking = rankTeams(attempts);
    } else {
        list.apply(attempts);
        standings.ranking = rankByCategory(attempts, list.categories());
    }
    standings.attempts = std::move(attempts);
    return standings;
}
