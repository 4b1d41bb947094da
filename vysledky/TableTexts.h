#pragma once

#include "vysledky/Attempt.h"
#include "vysledky/Ranking.h"

#include <QStringList>

// The texts of the two tables, the same in the window, the CSV and the printout.
namespace TableTexts {

// pokus, družstvo, dráha 1, dráha 2, výsledek, stav
QStringList attemptTitles();
QStringList cells(const Attempt& attempt);

// místo, družstvo, výsledek
QStringList rankingTitles();
QStringList cells(const RankingRow& row);

} // namespace TableTexts
