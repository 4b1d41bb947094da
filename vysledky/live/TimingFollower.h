#pragma once

#include "vysledky/live/TimingRun.h"

#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QObject>
#include <QVariantMap>

// Follows the timing program's publication on a bus: its RunChanged signals, and GetRun whenever
// the service appears (also when it is there already), so a viewer started mid-run has the whole
// run at once. With no bus, or no timing program on it, it never reports anything.
class TimingFollower final : public QObject {
    Q_OBJECT

public:
    static inline const QString service = QStringLiteral("cz.tavorin.Timing");
    static inline const QString path = QStringLiteral("/cz/tavorin/Timing");
    static inline const QString interface = QStringLiteral("cz.tavorin.Timing1");

    explicit TimingFollower(const QDBusConnection& bus, QObject* parent = nullptr);

signals:
    // Whatever came: a reader keeps the newer by seq.
    void runChanged(const TimingRun& run);
    // The timing program ended.
    void gone();

private slots:
    void onRunChanged(const QVariantMap& run);

private:
    void askForRun();

    QDBusConnection bus_;
    QDBusServiceWatcher watcher_;
};
