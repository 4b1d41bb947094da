#include "realtime/RealtimePriority.h"

#include "realtime/RealtimeKitClient.h"
#include "realtime/SchedulerCalls.h"

#include <QString>

#include <algorithm>
#include <cstring>
#include <iostream>

namespace {

// Above every ordinary process, below threaded interrupt handlers (50) and audio servers.
constexpr int wantedPriority = 15;
constexpr std::uint64_t rtTimeSoftMicros = 200'000;
constexpr std::uint64_t rtTimeHardMicros = 400'000;
// Below this the soft and hard limits may round to the same scheduler tick, and the kernel
// would kill the process before the SIGXCPU handler could drop the priority.
constexpr std::uint64_t shortestRtTimeMicros = 20'000;

QString errnoName(int error) {
#ifdef __GLIBC__
    if (const char* name = strerrorname_np(error)) {
        return QString::fromLatin1(name);
    }
#endif
    return QStringLiteral("errno %1").arg(error);
}

// Who the line speaks of: the polling thread goes unnamed, as it always has.
struct Speaker {
    std::ostream& out;
    QString czechName;
    QString englishName;
};

void say(const Speaker& to, const QString& czech, const QString& english) {
    const auto named = [](const QString& name, const QString& text) {
        return (name.isEmpty() ? text : name + QStringLiteral(": ") + text).toStdString();
    };
    to.out << "tavorin: " << named(to.czechName, czech) << " / " << named(to.englishName, english)
           << std::endl;
}

RealtimeResult none(const Speaker& out, const QString& czech, const QString& english) {
    say(out, QStringLiteral("bez priority reálného času (%1)").arg(czech),
        QStringLiteral("no real-time priority (%1)").arg(english));
    return RealtimeResult::None;
}

// Sets RLIMIT_RTTIME no higher than the ceiling nor the hard limit there is; the soft one at
// most half the hard one, so that SIGXCPU comes well before the kernel's kill. Returns what
// stood in the way, or nothing.
QString limitRtTime(SchedulerCalls& calls, std::uint64_t ceiling) {
    const std::uint64_t hard = std::min({rtTimeHardMicros, ceiling, calls.rtTimeHardLimit()});
    if (hard < shortestRtTimeMicros) {
        return QStringLiteral("RLIMIT_RTTIME %1").arg(hard);
    }
    if (const int error = calls.setRtTimeLimit(std::min(rtTimeSoftMicros, hard / 2), hard)) {
        return QStringLiteral("RLIMIT_RTTIME: ") + errnoName(error);
    }
    return {};
}

RealtimeResult askRealtimeKit(SchedulerCalls& calls, long long tid, const QString& direct,
                              const Speaker& out, int busTimeoutMs) {
    const auto refused = [&](const QString& why) {
        return none(out, QStringLiteral("přímo: %1, RealtimeKit: %2").arg(direct, why),
                    QStringLiteral("directly: %1, RealtimeKit: %2").arg(direct, why));
    };
    RealtimeKitClient kit(busTimeoutMs);
    const auto maxPriority = kit.property(QStringLiteral("MaxRealtimePriority"));
    if (!maxPriority) {
        return refused(kit.error());
    }
    const auto rtTimeMax = kit.property(QStringLiteral("RTTimeUSecMax"));
    if (!rtTimeMax) {
        return refused(kit.error());
    }
    const int priority = static_cast<int>(std::min<long long>(wantedPriority, *maxPriority));
    if (priority < 1) {
        return refused(QStringLiteral("MaxRealtimePriority %1").arg(*maxPriority));
    }
    if (const QString why =
            limitRtTime(calls, static_cast<std::uint64_t>(std::max(0LL, *rtTimeMax)));
        !why.isEmpty()) {
        return refused(why);
    }
    if (!kit.makeThreadRealtime(tid, priority)) {
        return refused(kit.error());
    }
    say(out, QStringLiteral("priorita reálného času od RealtimeKit (SCHED_RR %1)").arg(priority),
        QStringLiteral("real-time priority from RealtimeKit (SCHED_RR %1)").arg(priority));
    return RealtimeResult::Rtkit;
}

} // namespace

const char* realtimeResultName(RealtimeResult result) {
    switch (result) {
    case RealtimeResult::Fifo:
        return "fifo";
    case RealtimeResult::Rr:
        return "rr";
    case RealtimeResult::Rtkit:
        return "rtkit";
    case RealtimeResult::None:
        break;
    }
    return "none";
}

RealtimeResult requestRealtimePriority(SchedulerCalls& calls, const QByteArray& switchValue,
                                       std::ostream& out, int busTimeoutMs) {
    return requestRealtimePriority(calls, RealtimeThread{currentThreadId(), {}, {}}, switchValue,
                                   out, busTimeoutMs);
}

RealtimeResult requestRealtimePriority(SchedulerCalls& calls, const RealtimeThread& thread,
                                       const QByteArray& switchValue, std::ostream& stream,
                                       int busTimeoutMs) {
    const Speaker out{stream, thread.czechName, thread.englishName};
    if (switchValue.trimmed() == "0") {
        say(out, QStringLiteral("priorita reálného času vypnuta (TAVORIN_REALTIME=0)"),
            QStringLiteral("real-time priority turned off (TAVORIN_REALTIME=0)"));
        return RealtimeResult::None;
    }
    const long long tid = thread.tid;
    int priority = 0;
    const SchedPolicy before = calls.policy(tid, priority);
    calls.installCpuLimitFallback(tid);
    if (const QString why = limitRtTime(calls, SchedulerCalls::unlimited); !why.isEmpty()) {
        return none(out, why, why);
    }
    if (before != SchedPolicy::Other) {
        const QString what = QStringLiteral("%1 %2").arg(
            before == SchedPolicy::Fifo ? QStringLiteral("SCHED_FIFO") : QStringLiteral("SCHED_RR"),
            QString::number(priority));
        say(out, QStringLiteral("priorita reálného času %1 (nastavena předem)").arg(what),
            QStringLiteral("real-time priority %1 (set beforehand)").arg(what));
        return before == SchedPolicy::Fifo ? RealtimeResult::Fifo : RealtimeResult::Rr;
    }
    // A user whom RLIMIT_RTPRIO allows less than the wanted priority still gets what it allows.
    const std::uint64_t allowed = calls.rtprioSoftLimit();
    priority =
        allowed >= 1 && allowed < wantedPriority ? static_cast<int>(allowed) : wantedPriority;
    const int error = calls.setRealtime(tid, SchedPolicy::Fifo, priority);
    if (error == 0) {
        say(out, QStringLiteral("priorita reálného času SCHED_FIFO %1").arg(priority),
            QStringLiteral("real-time priority SCHED_FIFO %1").arg(priority));
        return RealtimeResult::Fifo;
    }
    return askRealtimeKit(calls, tid, errnoName(error), out, busTimeoutMs);
}

RealtimeResult requestRealtimePriority() {
    SystemSchedulerCalls calls;
    return requestRealtimePriority(calls, qgetenv("TAVORIN_REALTIME"), std::cerr);
}

RealtimeResult requestRealtimePriority(const RealtimeThread& thread) {
    SystemSchedulerCalls calls;
    return requestRealtimePriority(calls, thread, qgetenv("TAVORIN_REALTIME"), std::cerr);
}
