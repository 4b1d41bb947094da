#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <ostream>

// Readable failure messages for Qt's strings.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QStringList& list, std::ostream* out) {
    *out << '[' << list.join(QStringLiteral("|")).toStdString() << ']';
}

inline void PrintTo(const QByteArray& bytes, std::ostream* out) {
    *out << '"';
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '\r') {
            *out << "\\r";
        } else if (c == '\n') {
            *out << "\\n";
        } else if (u < 0x20 || u >= 0x7F) {
            constexpr char hex[] = "0123456789ABCDEF";
            *out << "\\x" << hex[u >> 4U] << hex[u & 0xFU];
        } else {
            *out << c;
        }
    }
    *out << '"';
}
