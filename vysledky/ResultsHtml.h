#pragma once

#include "vysledky/Attempt.h"
#include "vysledky/Ranking.h"

#include <QList>
#include <QString>

// Both tables as one HTML page for printing: the title, the ranking, then the attempts. Every
// text from the log is escaped. With a start list (categories) the ranking has a heading and a
// table for each category, and the attempts a "kategorie" column.
//
// note: a line under the ranking (how many attempts wait for a name); appendix: more of the
// page at its end, as markup (the list of corrections).
QString resultsHtml(const QString& title, const QList<Attempt>& attempts,
                    const QList<RankingRow>& ranking, bool categories = false,
                    const QString& note = {}, const QString& appendix = {});
