#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// Appends records to the results log, one line each: open for appending (creating the file),
// write, close, so every record is in the file as soon as its writer has run.
//
// A record that cannot be written is not lost: it is kept, in order, and written ahead of the
// next record that can be appended. The operator is told once per outage.
class ResultsLog {
public:
    using Notice = std::function<void(const QString& message)>;

    explicit ResultsLog(QString fileName);

    // Who tells the operator of a failed append. It is called in the middle of a pass, so it
    // must not wait for the operator: the program shows a notice that the event pump serves.
    void setNotice(Notice notice) { notice_ = std::move(notice); }

    // Appends the record. The text is asked for only once the file is open (or has failed to
    // open), so a running time in it is that of the moment of writing.
    void append(const std::function<QString()>& recordText);
    void append(const QString& recordText);

    // Records kept back by a failed append, oldest first.
    const QStringList& pending() const { return pending_; }

    // One more try for the kept records, with nothing new to add; true when none is left.
    bool retryPending();

    // The message of a failed append, with the reason in Czech.
    static QString failureMessage(const QString& reason);

private:
    void reportOutage(const QString& reason);

    QString fileName_;
    Notice notice_;
    QStringList pending_;
    bool outageReported_ = false;
};
