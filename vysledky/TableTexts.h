#pragma once

#include "vysledky/Attempt.h"
#include "vysledky/Ranking.h"

#include <QStringList>

// The texts of the two tables, the same in the window, the CSV and the printout.
namespace TableTexts {

// With a start list, both tables have a "kategorie" column first.

// pokus, družstvo, dráha 1, dráha 2, výsledek, stav; a corrected attempt's state carries
// correctedMark(), " (opraveno)".
QString correctedMark();
QStringList attemptTitles(bool categories = false);
QStringList cells(const Attempt& attempt, bool categories = false);

// místo, družstvo, výsledek
QStringList rankingTitles(bool categories = false);
QStringList cells(const RankingRow& row, bool categories = false);

} // namespace TableTexts
