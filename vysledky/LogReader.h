#pragma once

#include "vysledky/AttemptBuilder.h"

#include <QByteArray>
#include <QList>
#include <QString>

class QFile;

// Reads ZAVOD.TXT as it grows: each update reads only what was appended since the last one,
// and reads the whole file afresh when it shrank or its earlier bytes changed (a new file in
// its place). The file is opened for reading only, for the moment of the update.
//
// Lines end in CR LF; a bare LF ends a line too. A last line without its line end counts as
// it stands, and again as it grows: the writer may be halfway through it. Bytes that Windows-1250
// leaves undefined and control characters show as U+FFFD. A line is cut after maxLineBytes: no
// record is nearly that long, so such a line is damage, and cutting it keeps a damaged file from
// filling memory.
class LogReader {
public:
    static constexpr qsizetype maxLineBytes = 4096;

    // Gone: the file was read and is no longer there. What was read stays, until a file is
    // there again: then it is read afresh, or read on if it begins with the same bytes.
    enum class Status { NotRead, Read, Missing, Gone, Unreadable };

    explicit LogReader(QString path);

    const QString& path() const { return path_; }

    // Reads what is new. True when the attempts may have changed.
    bool update();

    Status status() const { return status_; }
    // Why the file could not be read, for the user.
    const QString& errorText() const { return errorText_; }
    // What keeps the file from being read, in a sentence that names it; empty while it reads.
    // The window adds that it waits and the system's reason; the pages, open to the whole
    // network, leave both out.
    enum class Audience { Window, Pages };
    QString troubleText(Audience audience) const;
    // Complete lines read so far, plus the last line without line end if there is one.
    qint64 lineCount() const { return lines_ + (partial_.isEmpty() ? 0 : 1); }

    QList<Attempt> attempts() const;

private:
    void restart();
    bool sameBytesBeforeOffset(QFile& file);
    void consume(const QByteArray& chunk);
    void appendToLine(const char* bytes, qsizetype length);
    static QString decode(const QByteArray& bytes);

    QString path_;
    Status status_ = Status::NotRead;
    QString errorText_;
    qint64 offset_ = 0;      // bytes read so far
    QByteArray bytesBefore_; // the last bytes before offset_, to notice a replaced file
    QByteArray partial_;     // the line being read, without its line end
    qint64 lines_ = 0;
    AttemptBuilder builder_;
};
