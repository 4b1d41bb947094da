#include "race/ResultsLog.h"

#include "race/LogRecords.h"

#include <QFile>

ResultsLog::ResultsLog(QString fileName) : fileName_(std::move(fileName)) {}

QString ResultsLog::failureMessage(const QString& reason) {
    return QStringLiteral("Zápis do souboru ZAVOD.TXT selhal: ") + reason +
           QStringLiteral("\nZáznam je uschován a bude zapsán při dalším zápisu.");
}

void ResultsLog::append(const QString& recordText) {
    append([&recordText] { return recordText; });
}

void ResultsLog::append(const std::function<QString()>& recordText) {
    QFile file(fileName_);
    const bool opened = open(file);
    QString reason = file.errorString();
    pending_.append(recordText());
    if (!opened || !writePending(file, reason)) {
        reportOutage(reason);
    }
}

bool ResultsLog::retryPending() {
    if (pending_.isEmpty()) {
        return true;
    }
    QFile file(fileName_);
    QString reason;
    return open(file) && writePending(file, reason);
}

bool ResultsLog::open(QFile& file) {
    file.setFileName(fileName_);
    return file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered);
}

bool ResultsLog::writePending(QFile& file, QString& reason) {
    QByteArray bytes;
    for (const QString& line : std::as_const(pending_)) {
        bytes += LogRecords::encodeLine(line);
    }
    const qint64 before = file.size();
    qint64 written = 0;
    while (written < bytes.size()) {
        // A short write reports no error of its own; writing the rest brings the system's.
        const qint64 more = file.write(bytes.constData() + written, bytes.size() - written);
        if (more <= 0) {
            reason = file.errorString();
            if (written > 0) {
                file.resize(before); // take back a torn line; it is written whole next time
            }
            return false;
        }
        written += more;
    }
    file.close();
    pending_.clear();
    outageReported_ = false;
    return true;
}

void ResultsLog::reportOutage(const QString& reason) {
    if (outageReported_) {
        return;
    }
    outageReported_ = true;
    if (notice_) {
        notice_(failureMessage(reason));
    }
}
