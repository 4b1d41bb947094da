#include "vysledky/LogReader.h"

#include "records/LogRecords.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {
constexpr qsizetype checkedBytes = 64;
constexpr qint64 chunkBytes = 1 << 20;
} // namespace

LogReader::LogReader(QString path) : path_(std::move(path)) {}

QString LogReader::troubleText(Audience audience) const {
    const QString name = QFileInfo(path_).fileName();
    const bool window = audience == Audience::Window;
    switch (status_) {
    case Status::Missing:
        return (window ? QStringLiteral("%1 zatím neexistuje, čekám na něj.")
                       : QStringLiteral("%1 zatím neexistuje."))
            .arg(name);
    case Status::Gone:
        return QStringLiteral("Pozor: %1 zmizel. Zobrazeny poslední načtené výsledky, "
                              "dokud se soubor neobjeví znovu.")
            .arg(name);
    case Status::Unreadable:
        return window ? QStringLiteral("%1 nelze číst: %2").arg(name, errorText_)
                      : QStringLiteral("%1 nelze číst.").arg(name);
    case Status::NotRead:
    case Status::Read:
        break;
    }
    return {};
}

bool LogReader::update() {
    const bool hadContent = offset_ > 0;
    const QFileInfo info(path_);
    if (!info.exists()) {
        status_ = hadContent ? Status::Gone : Status::Missing;
        errorText_ = QStringLiteral("soubor neexistuje");
        return false;
    }
    // Only a plain file: a device or a pipe given by mistake could be endless or have effects.
    if (!info.isFile()) {
        status_ = Status::Unreadable;
        errorText_ = QStringLiteral("není to soubor");
        restart();
        return hadContent;
    }
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly)) {
        // Keep what was read: the file may be only briefly out of reach.
        status_ = Status::Unreadable;
        errorText_ = file.errorString();
        return false;
    }
    status_ = Status::Read;
    errorText_.clear();

    bool changed = false;
    const qint64 size = file.size();
    if (size < offset_ || !sameBytesBeforeOffset(file)) {
        restart();
        changed = hadContent;
    }
    // Up to the size seen now: a file that grows meanwhile is read on at the next update.
    if (size > offset_ && file.seek(offset_)) {
        while (offset_ < size) {
            const QByteArray chunk = file.read(std::min(chunkBytes, size - offset_));
            if (chunk.isEmpty()) {
                break;
            }
            consume(chunk);
            offset_ += chunk.size();
            bytesBefore_ = (bytesBefore_ + chunk.right(checkedBytes)).right(checkedBytes);
            changed = true;
        }
    }
    return changed;
}

QList<Attempt> LogReader::attempts() const {
    if (partial_.isEmpty()) {
        return builder_.attempts();
    }
    // The unfinished last line counts as it stands, on a copy: the rest of it may still come.
    AttemptBuilder withLast = builder_;
    QByteArray last = partial_;
    if (last.endsWith('\r')) {
        last.chop(1);
    }
    withLast.addLine(decode(last));
    return withLast.attempts();
}

void LogReader::restart() {
    offset_ = 0;
    bytesBefore_.clear();
    partial_.clear();
    lines_ = 0;
    builder_ = AttemptBuilder();
}

bool LogReader::sameBytesBeforeOffset(QFile& file) {
    if (offset_ == 0) {
        return true;
    }
    return file.seek(offset_ - bytesBefore_.size()) &&
           file.read(bytesBefore_.size()) == bytesBefore_;
}

void LogReader::consume(const QByteArray& chunk) {
    const char* data = chunk.constData();
    qsizetype start = 0;
    for (;;) {
        const qsizetype end = chunk.indexOf('\n', start);
        if (end < 0) {
            break;
        }
        appendToLine(data + start, end - start);
        if (partial_.endsWith('\r')) {
            partial_.chop(1);
        }
        builder_.addLine(decode(partial_));
        partial_.clear();
        ++lines_;
        start = end + 1;
    }
    appendToLine(data + start, chunk.size() - start);
}

void LogReader::appendToLine(const char* bytes, qsizetype length) {
    const qsizetype room = maxLineBytes - partial_.size();
    if (room > 0) {
        partial_.append(bytes, std::min(room, length));
    }
}

QString LogReader::decode(const QByteArray& bytes) {
    QString line = LogRecords::decodeLine(bytes);
    for (QChar& c : line) {
        if (c.category() == QChar::Other_Control) {
            c = QChar::ReplacementCharacter;
        }
    }
    return line;
}
