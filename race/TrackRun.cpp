#include "race/TrackRun.h"

void TrackRun::teamSaved(const QString& team) {
    if (state_.phase != TrackRunState::Phase::Running) {
        newRun();
    }
    state_.team = team.trimmed();
    changed(QStringLiteral("team"));
}

void TrackRun::started(std::uint32_t tick) {
    // A team saved after the last run ended has made this one idle; none since: no team.
    const QString team = state_.phase == TrackRunState::Phase::Idle ? state_.team : QString();
    newRun();
    state_.phase = TrackRunState::Phase::Running;
    state_.team = team;
    state_.startTick = tick;
    changed(QStringLiteral("start"));
}

void TrackRun::laneTimed(int lane, const QString& time) {
    (lane == 1 ? state_.lane1 : state_.lane2) = time;
    changed(lane == 1 ? QStringLiteral("lane1") : QStringLiteral("lane2"));
}

void TrackRun::lanesCleared() {
    state_.lane1.clear();
    state_.lane2.clear();
    changed(QStringLiteral("clear"));
}

void TrackRun::ended(const QString& how, const QString& result, std::uint32_t tick) {
    state_.phase = TrackRunState::Phase::Ended;
    state_.end = how;
    state_.result = result;
    state_.endTick = tick;
    changed(how);
}

void TrackRun::newRun() {
    const std::uint64_t seq = state_.seq;
    state_ = TrackRunState();
    state_.seq = seq;
}

void TrackRun::changed(const QString& event) {
    ++state_.seq;
    state_.event = event;
    if (listener_) {
        listener_(state_);
    }
}
