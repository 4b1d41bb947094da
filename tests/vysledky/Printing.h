#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <ostream>

// Qt's strings in test failures as text, not as arrays of code units.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QByteArray& bytes, std::ostream* out) {
    *out << '"' << bytes.toStdString() << '"';
}
inline void PrintTo(const QStringList& texts, std::ostream* out) {
    *out << '[' << texts.join(QStringLiteral("\", \"")).prepend(u'"').append(u'"').toStdString()
         << ']';
}
