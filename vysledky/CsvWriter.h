#pragma once

#include "vysledky/Attempt.h"
#include "vysledky/Ranking.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The two tables as CSV for Czech spreadsheets: UTF-8 after a byte-order mark (without it Czech
// Excel reads the file as Windows-1250), ";" between fields, every line ending in CR LF, a header
// line first. A field holding ";", a quote or a line break is quoted, its quotes doubled. Times
// stand as the log wrote them, an empty field where there is none.
//
// A field that a spreadsheet would take for a formula (starting with "=", "+", "-", "@", a tab or
// a CR) gets a "'" in front, which makes it plain text: a team named "=HYPERLINK(...)" stays a
// name. Numbers are left as they are.
namespace CsvWriter {

inline constexpr char utf8Bom[] = "\xEF\xBB\xBF";

// categories: with a start list, a "kategorie" column first.
QByteArray attempts(const QList<Attempt>& attempts, bool categories = false);
// note: a last line in the team column, such as how many attempts wait for a name.
QByteArray ranking(const QList<RankingRow>& ranking, bool categories = false,
                   const QString& note = {});

QString field(const QString& text);

} // namespace CsvWriter
