#include "bench/BusListener.h"

BusListener::BusListener() {
    daemon_.start(QStringLiteral("dbus-daemon"), {"--session", "--nofork", "--print-address"});
    if (!daemon_.waitForReadyRead(10'000)) {
        failure_ = QStringLiteral("dbus-daemon did not start (package dbus)");
        return;
    }
    const QString address = QString::fromLatin1(daemon_.readLine().trimmed());
    if (!QDBusConnection::connectToBus(address, QStringLiteral("tavorin-bench")).isConnected()) {
        failure_ = QStringLiteral("cannot connect to the private bus");
        return;
    }
    monitor_.start(QStringLiteral("dbus-monitor"),
                   {"--address", address, "type='signal',interface='cz.tavorin.Timing1'"});
    if (!monitor_.waitForStarted(10'000)) {
        failure_ = QStringLiteral("dbus-monitor did not start");
    }
}

BusListener::~BusListener() {
    QDBusConnection::disconnectFromBus(QStringLiteral("tavorin-bench"));
    for (QProcess* process : {&monitor_, &daemon_}) {
        process->terminate();
        process->waitForFinished(5'000);
    }
}

int BusListener::signalsHeard() {
    monitor_.waitForReadyRead(1'000);
    heard_ += monitor_.readAllStandardOutput();
    return static_cast<int>(heard_.count("member=RunChanged"));
}
