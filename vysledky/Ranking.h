#pragma once

#include "vysledky/Attempt.h"

#include <QList>
#include <QString>
#include <QStringList>

// One row of the ranking: a team's best valid result and its place.
struct RankingRow {
    int place = 0; // 0: no valid attempt
    QString team;
    QString result; // as the log wrote it
    int resultMillis = -1;
    QString category; // empty without a start list

    bool operator==(const RankingRow&) const = default;
};

// Each team with a valid attempt, by its best valid result, fastest first. Equal results share
// a place and the next place skips (1, 2, 2, 4); tied teams stand in the order of their first
// attempt of any state. Attempts of one teamKey() are one team, wherever they stand in the log,
// under the spelling of their first attempt.
//
// Then the teams without a valid attempt, in the order of their first attempt: no place, and
// noResultText() for the result.
//
// A nameless attempt is no team's: it is never ranked, nor is a dropped one (a test run).
QString noResultText();

QList<RankingRow> rankTeams(const QList<Attempt>& attempts);

// The attempts that wait for a name (dropped ones do not), and what the ranking says of them:
// "2 pokusy bez jména – přiřaďte je družstvu"; empty for none.
int namelessCount(const QList<Attempt>& attempts);
QString namelessText(int count);

// With a start list: the ranking of each category in turn, places counted within it. Categories
// stand in the given order; one not given (teams the list does not know) comes last.
QList<RankingRow> rankByCategory(const QList<Attempt>& attempts, const QStringList& categories);
