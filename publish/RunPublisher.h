#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QVariantMap>

#include <cstdint>
#include <functional>
#include <ostream>

class TrackRun;
struct TrackRunState;

// The run on the track, published on the session bus for the results viewer's live panel, the
// club's big screen and the announcer's phone: service cz.tavorin.Timing, object
// /cz/tavorin/Timing, interface cz.tavorin.Timing1. GetRun() gives the whole state at once;
// RunChanged carries it whole after every change. Times are on the monotonic clock in
// milliseconds (CLOCK_MONOTONIC), with the clock's value at sending, so that a reader on this
// PC runs the clock itself.
//
// A signal is queued on the bus connection and sent by Qt's D-Bus thread: the polling loop
// never waits for a reader. Without a session bus, one line on standard error says so and the
// program runs on, unpublished.
class RunPublisher final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "cz.tavorin.Timing1")

public:
    static constexpr const char* service = "cz.tavorin.Timing";
    static constexpr const char* path = "/cz/tavorin/Timing";

    // monotonicMs: the monotonic clock in whole milliseconds, whose low 32 bits are the race's
    // millisecond clock.
    RunPublisher(TrackRun& track, std::function<std::int64_t()> monotonicMs, std::ostream& err,
                 QDBusConnection bus = QDBusConnection::sessionBus());
    ~RunPublisher() override;

    bool published() const { return published_; }

    // The run as the bus carries it: a{sv} with seq, event, phase, team, startedAtMs, nowMs,
    // lane1, lane2, end, result and endedAtMs.
    QVariantMap runMap(const TrackRunState& run) const;

public slots:
    Q_SCRIPTABLE QVariantMap GetRun();

signals:
    Q_SCRIPTABLE void RunChanged(const QVariantMap& run);

private:
    // A tick of the race's clock as the monotonic clock's milliseconds, counted back from now.
    std::int64_t monotonicAt(std::uint32_t tick, std::int64_t now) const;

    TrackRun& track_;
    std::function<std::int64_t()> monotonicMs_;
    QDBusConnection bus_;
    bool published_ = false;
};
