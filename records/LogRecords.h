#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

// The six kinds of line in the results log ZAVOD.TXT: Windows-1250 text, one record a line,
// every line ending in CR LF, no header and no byte-order mark. Readers of the file (the
// results viewer among them) take the record texts from here.
namespace LogRecords {

inline constexpr char fileName[] = "ZAVOD.TXT";
inline constexpr char lineEnd[] = "\r\n";

// Labels, spaces included. The lane labels write a plain "c" where the window shows "č".
inline const QString lane1Label = QStringLiteral(" dráha c.1 ");
inline const QString lane2Label = QStringLiteral(" dráha c.2 ");
inline const QString stopLabel = QStringLiteral("STOP ZAVODU TLACITKEM ");
inline const QString disqualificationText = QStringLiteral(" Diskvalifikace ");
inline const QString annulmentText = QStringLiteral(" Start anulovan ");

// The time text follows its label directly, with no further gap.
QString laneLine(int lane, const QString& timeText);
QString stopLine(const QString& timeText);

// A team name may not break the file's one-record-a-line structure: line breaks become spaces.
QString teamLine(const QString& name);

// The line in Windows-1250 with its CR LF. A character the code page lacks becomes "?".
QByteArray encodeLine(QStringView text);

// The reverse, for readers: Windows-1250 bytes of one line (without CR LF) to text.
QString decodeLine(const QByteArray& bytes);

} // namespace LogRecords
