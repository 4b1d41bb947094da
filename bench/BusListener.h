#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QString>

// A private session bus for the run's publication, and a reader on it in a process of its own
// (dbus-monitor), as the results viewer follows the timing program: --listener measures the
// loop with someone listening. Both processes end with the object.
class BusListener {
public:
    BusListener();
    ~BusListener();
    BusListener(const BusListener&) = delete;
    BusListener& operator=(const BusListener&) = delete;

    // Empty when the bus or the reader could not be started.
    QString failure() const { return failure_; }
    QDBusConnection bus() const { return QDBusConnection(QStringLiteral("tavorin-bench")); }
    // The RunChanged signals the reader has printed so far.
    int signalsHeard();

private:
    QProcess daemon_;
    QProcess monitor_;
    QString failure_;
    QByteArray heard_;
};
