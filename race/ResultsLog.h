#pragma once

#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>

class LogFlusher;

// Appends records to the results log, one line each: open for appending (creating the file),
// write, close, so every record is in the file as soon as its writer has run. A flusher, when
// given one, then puts it on the disk from its own thread.
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

    // Who puts each written record on the disk; without one, the system does when it will.
    void flushWith(LogFlusher& flusher) { flusher_ = &flusher; }
    // Tells the operator of a flush that failed, once until a flush works again; every append
    // looks too. Cheap enough for every pass of the loop.
    void poll();
    // Waits at most limit for the records written so far to be on the disk; true when they are.
    bool waitFlushed(std::chrono::milliseconds limit);
    // How long the end of the program waits for the last flush.
    static constexpr std::chrono::milliseconds endFlushLimit{2000};

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
    // The message of a failed flush, with the reason in Czech.
    static QString flushFailureMessage(const QString& reason);

private:
    void reportOutage(const QString& reason);
    void handOver(int fd, bool begun);

    QString fileName_;
    Notice notice_;
    LogFlusher* flusher_ = nullptr;
    QStringList pending_;
    bool outageReported_ = false;
};
