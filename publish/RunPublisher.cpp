#include "publish/RunPublisher.h"

#include "race/TrackRun.h"

#include <QDBusError>

namespace {
QString phaseName(TrackRunState::Phase phase) {
    switch (phase) {
    case TrackRunState::Phase::Running:
        return QStringLiteral("running");
    case TrackRunState::Phase::Ended:
        return QStringLiteral("ended");
    case TrackRunState::Phase::Idle:
        break;
    }
    return QStringLiteral("idle");
}
} // namespace

RunPublisher::RunPublisher(TrackRun& track, std::function<std::int64_t()> monotonicMs,
                           std::ostream& err, QDBusConnection bus)
    : track_(track), monotonicMs_(std::move(monotonicMs)), bus_(std::move(bus)) {
    QString why;
    if (!bus_.isConnected()) {
        why = bus_.lastError().name();
    } else if (!bus_.registerObject(QString::fromLatin1(path), this,
                                    QDBusConnection::ExportScriptableContents)) {
        why = QStringLiteral("%1 obsazeno / taken").arg(QLatin1String(path));
    } else if (!bus_.registerService(QString::fromLatin1(service))) {
        bus_.unregisterObject(QString::fromLatin1(path));
        why = bus_.lastError().name();
    } else {
        published_ = true;
    }
    if (!published_) {
        if (why.isEmpty()) {
            why = QStringLiteral("org.freedesktop.DBus.Error.NoServer");
        }
        err << "tavorin: průběh závodu se nezveřejní na D-Bus (" << why.toStdString()
            << ") / the run is not published on D-Bus (" << why.toStdString() << ")" << std::endl;
        return;
    }
    track_.setListener([this](const TrackRunState& run) { emit RunChanged(runMap(run)); });
}

RunPublisher::~RunPublisher() {
    track_.setListener(nullptr);
    if (published_) {
        bus_.unregisterService(QString::fromLatin1(service));
        bus_.unregisterObject(QString::fromLatin1(path));
    }
}

QVariantMap RunPublisher::GetRun() {
    return runMap(track_.state());
}

std::int64_t RunPublisher::monotonicAt(std::uint32_t tick, std::int64_t now) const {
    return now - static_cast<std::uint32_t>(static_cast<std::uint32_t>(now) - tick);
}

QVariantMap RunPublisher::runMap(const TrackRunState& run) const {
    const std::int64_t now = monotonicMs_();
    const bool idle = run.phase == TrackRunState::Phase::Idle;
    const bool ended = run.phase == TrackRunState::Phase::Ended;
    return {
        {QStringLiteral("seq"), QVariant::fromValue<qulonglong>(run.seq)},
        {QStringLiteral("event"), run.event},
        {QStringLiteral("phase"), phaseName(run.phase)},
        {QStringLiteral("team"), run.team},
        {QStringLiteral("startedAtMs"),
         QVariant::fromValue<qlonglong>(idle ? 0 : monotonicAt(run.startTick, now))},
        {QStringLiteral("nowMs"), QVariant::fromValue<qlonglong>(now)},
        {QStringLiteral("lane1"), run.lane1},
        {QStringLiteral("lane2"), run.lane2},
        {QStringLiteral("end"), run.end},
        {QStringLiteral("result"), run.result},
        {QStringLiteral("endedAtMs"),
         QVariant::fromValue<qlonglong>(ended ? monotonicAt(run.endTick, now) : 0)},
    };
}
