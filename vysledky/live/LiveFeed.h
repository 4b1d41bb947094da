#pragma once

#include "vysledky/live/LivePanel.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>

class LogFollower;
class QDBusConnection;

// The panel „Na trati“ kept up to date: the timing program's runs as they come, the log's
// results for the place, and the end of the panel after the run. What the window and the pages
// show of the run comes from here.
class LiveFeed final : public QObject {
    Q_OBJECT

public:
    // Milliseconds of CLOCK_MONOTONIC, the clock the timing program publishes on; a test passes
    // its own.
    using Clock = std::function<qint64()>;
    static qint64 monotonicMillis();

    explicit LiveFeed(Clock clock = monotonicMillis, QObject* parent = nullptr);

    // The timing program's publication on the bus from now on (see TimingFollower).
    void listen(const QDBusConnection& bus);
    // The results the place is read from; may be replaced.
    void follow(const LogFollower* follower);

    PanelView view() const;
    qint64 now() const { return clock_(); }
    // CLOCK_MONOTONIC at which the timing program made the run shown, 0 with none.
    qint64 sourceMs() const { return panel_.run() ? panel_.run()->nowMs : 0; }
    quint64 seq() const { return panel_.run() ? panel_.run()->seq : 0; }

public slots:
    void take(const TimingRun& run);
    void forget();
    // Tells changed() once the panel's time after an end is up; the timer calls it.
    void checkEnd();

signals:
    // What view() gives changed other than by the clock running on.
    void changed();

private:
    void scheduleEnd();

    Clock clock_;
    LivePanel panel_;
    QPointer<const LogFollower> follower_;
    QTimer end_;
};
