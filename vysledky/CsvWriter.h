#pragma once

#include "vysledky/Attempt.h"
#include "vysledky/Ranking.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The two tables as CSV for Czech spreadsheets: UTF-8, ";" between fields, every line ending in
// CR LF, a header line first. A field holding ";", a quote or a line break is quoted, its quotes
// doubled. Times stand as the log wrote them, an empty field where there is none.
namespace CsvWriter {

// The byte-order mark a spreadsheet needs to read the file as UTF-8. The files saved from the
// window start with it; standard output goes without, for the scripts that read it.
inline constexpr char utf8Bom[] = "\xEF\xBB\xBF";

// categories: with a start list, a "kategorie" column first.
QByteArray attempts(const QList<Attempt>& attempts, bool categories = false);
QByteArray ranking(const QList<RankingRow>& ranking, bool categories = false);

QString field(const QString& text);

} // namespace CsvWriter
