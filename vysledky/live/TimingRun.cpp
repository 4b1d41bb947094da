#include "vysledky/live/TimingRun.h"

TimingRun TimingRun::fromMap(const QVariantMap& map) {
    TimingRun run;
    run.seq = map.value(QStringLiteral("seq")).toULongLong();
    run.event = map.value(QStringLiteral("event")).toString();
    const QString phase = map.value(QStringLiteral("phase")).toString();
    run.phase = phase == u"running" ? Phase::Running
                : phase == u"ended" ? Phase::Ended
                                    : Phase::Idle;
    run.team = map.value(QStringLiteral("team")).toString();
    run.startedAtMs = map.value(QStringLiteral("startedAtMs")).toLongLong();
    run.nowMs = map.value(QStringLiteral("nowMs")).toLongLong();
    run.lane1 = map.value(QStringLiteral("lane1")).toString();
    run.lane2 = map.value(QStringLiteral("lane2")).toString();
    const QString end = map.value(QStringLiteral("end")).toString();
    run.end = end == u"finish"             ? End::Finish
              : end == u"stop"             ? End::Stop
              : end == u"disqualification" ? End::Disqualification
              : end == u"annulment"        ? End::Annulment
                                           : End::None;
    if (run.phase == Phase::Ended && run.end == End::None) {
        run.phase = Phase::Idle;
    }
    run.result = map.value(QStringLiteral("result")).toString();
    run.endedAtMs = map.value(QStringLiteral("endedAtMs")).toLongLong();
    return run;
}
