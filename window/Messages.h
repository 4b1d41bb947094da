#pragma once

#include <QString>

class QWidget;

// The program's own messages: a modal box with the text, OK only, no icon, titled with the
// program's name. Returns when the operator has closed it.
namespace Messages {

inline const QString title = QStringLiteral("TAVORIN V.02");
inline const QString noPort = QStringLiteral("COM NENALEZEN");
inline const QString com1Busy = QStringLiteral("COM1 OBSAZEN");
inline const QString com2Busy = QStringLiteral("COM2 OBSAZEN");

void show(QWidget* parent, const QString& text);

// The last word on records the log could not take, so the operator can copy them down.
QString unwrittenRecords(const QStringList& records);

} // namespace Messages
