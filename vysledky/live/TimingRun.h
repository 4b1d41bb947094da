#pragma once

#include <QString>
#include <QVariantMap>

// The timing program's run as it publishes it on the session bus (cz.tavorin.Timing1, GetRun and
// RunChanged): the whole state after each change. Times in milliseconds of CLOCK_MONOTONIC,
// which both programs read on the one PC.
struct TimingRun {
    enum class Phase { Idle, Running, Ended };
    enum class End { None, Finish, Stop, Disqualification, Annulment };

    quint64 seq = 0; // 0: nothing has happened yet
    QString event;
    Phase phase = Phase::Idle;
    QString team;
    qint64 startedAtMs = 0;
    qint64 nowMs = 0; // when the timing program made this value
    QString lane1;    // exact texts as in ZAVOD.TXT, empty until taken
    QString lane2;
    End end = End::None;
    QString result; // the later lane at a finish, the stop's time at a stop
    qint64 endedAtMs = 0;

    // Unknown phases and ends read as idle and none: a newer timing program never shows a
    // half-understood run.
    static TimingRun fromMap(const QVariantMap& map);
};
