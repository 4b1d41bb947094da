#pragma once

#include "tests/support/Printers.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <initializer_list>

// Lines of ZAVOD.TXT in the bytes the timing program writes them: Windows-1250, CR LF. The
// labels are spelled out here byte by byte, so that the tests hold the reader to the file's
// real format and not merely to its own idea of it.
namespace LogBytesText {
inline const QByteArray lane1Label =
    "\x20\x64\x72\xE1\x68\x61\x20\x63\x2E\x31\x20"; // " dráha c.1 "
inline const QByteArray lane2Label =
    "\x20\x64\x72\xE1\x68\x61\x20\x63\x2E\x32\x20"; // " dráha c.2 "
inline const QByteArray stopLabel = "STOP ZAVODU TLACITKEM ";
inline const QByteArray disqualification = " Diskvalifikace ";
inline const QByteArray annulment = " Start anulovan ";
inline const QByteArray crlf = "\r\n";
} // namespace LogBytesText

// A whole log, a string per line: "@1 time" and "@2 time" are the lanes, "@stop time" a stop by
// hand, "@dq" a disqualification and "@annul" an annulment; any other string is a team name
// already in Windows-1250.
inline QByteArray logOf(std::initializer_list<QByteArray> lines) {
    using namespace LogBytesText;
    QByteArray log;
    for (const QByteArray& line : lines) {
        if (line.startsWith("@1 ")) {
            log += lane1Label + line.mid(3);
        } else if (line.startsWith("@2 ")) {
            log += lane2Label + line.mid(3);
        } else if (line.startsWith("@stop ")) {
            log += stopLabel + line.mid(6);
        } else if (line == "@dq") {
            log += disqualification;
        } else if (line == "@annul") {
            log += annulment;
        } else {
            log += line;
        }
        log += crlf;
    }
    return log;
}

// A file of the test's own, written whole or appended to.
inline void writeFile(const QString& path, const QByteArray& bytes,
                      QIODevice::OpenMode mode = QIODevice::WriteOnly) {
    QFile file(path);
    if (!file.open(mode) || file.write(bytes) != bytes.size()) {
        qFatal("cannot write the test file %s", qPrintable(path));
    }
}

// ZAVOD.TXT in a folder of its own that goes away with the test.
class TempLog {
public:
    TempLog() : path_(dir_.filePath(QStringLiteral("ZAVOD.TXT"))) {}

    const QString& path() const { return path_; }
    QString folder() const { return dir_.path(); }

    void write(const QByteArray& bytes) const { writeFile(path_, bytes); }
    void append(const QByteArray& bytes) const { writeFile(path_, bytes, QIODevice::Append); }
    QByteArray read() const {
        QFile file(path_);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private:
    QTemporaryDir dir_;
    QString path_;
};
