#include "realtime/RealtimePriority.h"
#include "realtime/SchedulerCalls.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sstream>
#include <thread>
#include <unistd.h>

namespace {

constexpr std::uint64_t unlimited = SchedulerCalls::unlimited;

struct Kernel {
    int answer; // to setRealtime
    SchedPolicy current;
    std::uint64_t rtprio, rtTimeHard;
};

// Never the real kernel: answers as told and appends every change it is asked for to the log
// the fake RealtimeKit writes too.
class LoggedScheduler final : public SchedulerCalls {
public:
    LoggedScheduler(Kernel kernel, QString path) : k(kernel), logPath(std::move(path)) {}
    Kernel k;
    QString logPath;
    SchedPolicy policy(long long, int& priority) override { return priority = 20, k.current; }
    int setRealtime(long long tid, SchedPolicy policy, int priority) override {
        return log(QStringLiteral("setRealtime %1 %2 %3").arg(tid).arg(int(policy)).arg(priority));
    }
    std::uint64_t rtprioSoftLimit() override { return k.rtprio; }
    std::uint64_t rtTimeHardLimit() override { return k.rtTimeHard; }
    int setRtTimeLimit(std::uint64_t soft, std::uint64_t hard) override {
        return log(QStringLiteral("rttime %1 %2").arg(soft).arg(hard)), 0;
    }
    void installCpuLimitFallback(long long tid) override {
        log(QStringLiteral("fallback %1").arg(tid));
    }
    int log(const QString& line) {
        QFile file(logPath);
        file.open(QIODevice::Append);
        file.write(line.toUtf8() + '\n');
        return k.answer;
    }
};

struct Case {
    struct {
        const char* name;
        const char* switchValue;
        Kernel kernel;
        QStringList kit; // MaxRealtimePriority, RTTimeUSecMax [, refuse]; empty: none on the bus
    } given;
    struct {
        const char* log; // every call in order; TID stands for the asking thread's id
        const char* result;
        const char* line;
    } expected;
};

const Kernel refusing{EPERM, SchedPolicy::Other, 0, unlimited};
const char* const refusedDirectly = "fallback TID\nrttime 200000 400000\nsetRealtime TID 1 15\n";
const char* const kitAsked = "fallback TID\nrttime 200000 400000\nsetRealtime TID 1 15\n"
                             "MaxRealtimePriority\nRTTimeUSecMax\nrttime 75000 150000\n"
                             "MakeThreadRealtime TID 9\n";

// The first case runs before any fake RealtimeKit has been on the bus.
const Case cases[] = {
    {{"NoRealtimeKit", "", refusing, {}},
     {refusedDirectly, "none",
      "tavorin: bez priority reálného času (přímo: EPERM, RealtimeKit: "
      "org.freedesktop.DBus.Error.ServiceUnknown) / no real-time priority (directly: "
      "EPERM, RealtimeKit: org.freedesktop.DBus.Error.ServiceUnknown)\n"}},
    {{"TurnedOff", "0", {0, SchedPolicy::Other, 0, unlimited}, {"9", "150000"}},
     {"", "none",
      "tavorin: priorita reálného času vypnuta (TAVORIN_REALTIME=0) / real-time priority "
      "turned off (TAVORIN_REALTIME=0)\n"}},
    {{"DirectWithinLimits", "1", {0, SchedPolicy::Other, 9, 300000}, {"9", "150000"}},
     {"fallback TID\nrttime 150000 300000\nsetRealtime TID 1 9\n", "fifo",
      "tavorin: priorita reálného času SCHED_FIFO 9 / real-time priority SCHED_FIFO 9\n"}},
    {{"RealtimeKitLimits", "", {EPERM, SchedPolicy::Other, 50, unlimited}, {"9", "150000"}},
     {kitAsked, "rtkit",
      "tavorin: priorita reálného času od RealtimeKit (SCHED_RR 9) / real-time priority "
      "from RealtimeKit (SCHED_RR 9)\n"}},
    {{"RealtimeKitAllowsMore", "", refusing, {"99", "1000000"}},
     {"fallback TID\nrttime 200000 400000\nsetRealtime TID 1 15\nMaxRealtimePriority\n"
      "RTTimeUSecMax\nrttime 200000 400000\nMakeThreadRealtime TID 15\n",
      "rtkit",
      "tavorin: priorita reálného času od RealtimeKit (SCHED_RR 15) / real-time priority "
      "from RealtimeKit (SCHED_RR 15)\n"}},
    {{"RealtimeKitRefuses", "", refusing, {"9", "150000", "refuse"}},
     {kitAsked, "none",
      "tavorin: bez priority reálného času (přímo: EPERM, RealtimeKit: "
      "org.freedesktop.DBus.Error.AccessDenied) / no real-time priority (directly: EPERM, "
      "RealtimeKit: org.freedesktop.DBus.Error.AccessDenied)\n"}},
    {{"AlreadyRealtime", "", {EPERM, SchedPolicy::RoundRobin, 0, unlimited}, {"9", "150000"}},
     {"fallback TID\nrttime 200000 400000\n", "rr",
      "tavorin: priorita reálného času SCHED_RR 20 (nastavena předem) / real-time priority "
      "SCHED_RR 20 (set beforehand)\n"}},
    {{"TooShortRtTime", "", {EPERM, SchedPolicy::Other, 0, 10000}, {"9", "150000"}},
     {"fallback TID\n", "none",
      "tavorin: bez priority reálného času (RLIMIT_RTTIME 10000) / no real-time priority "
      "(RLIMIT_RTTIME 10000)\n"}}};

// On a private bus standing for the system's, before anything connects to it.
TEST(Realtime, AsksTheKernelThenRealtimeKitAndSaysInOneLineWhatItGot) {
    if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty()) {
        GTEST_SKIP() << "dbus-daemon is not installed (package dbus)";
    }
    QProcess bus;
    bus.start(QStringLiteral("dbus-daemon"), {"--session", "--nofork", "--print-address"});
    ASSERT_TRUE(bus.waitForReadyRead(10000));
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", bus.readLine().trimmed());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.given.name);
        QTemporaryDir dir;
        LoggedScheduler calls(c.given.kernel, dir.filePath(QStringLiteral("calls")));
        QFile(calls.logPath).open(QIODevice::WriteOnly);
        QProcess kit;
        if (!c.given.kit.isEmpty()) {
            kit.start(QStringLiteral(FAKE_REALTIMEKIT), QStringList{calls.logPath} + c.given.kit);
            ASSERT_TRUE(kit.waitForReadyRead(10000)) << "the fake RealtimeKit did not start";
        }
        std::ostringstream out;
        RealtimeResult result{};
        long long tid = 0;
        std::thread([&] { // not the main thread, whose id is the process's
            tid = gettid();
            result = requestRealtimePriority(calls, c.given.switchValue, out, 10'000);
        })
            .join();
        kit.kill();
        kit.waitForFinished();
        QFile log(calls.logPath);
        log.open(QIODevice::ReadOnly);
        EXPECT_EQ(log.readAll(),
                  QByteArray(c.expected.log).replace("TID", QByteArray::number(tid)));
        EXPECT_EQ(out.str(), c.expected.line);
        EXPECT_STREQ(realtimeResultName(result), c.expected.result);
    }
}

TEST(CpuLimitFallback, SigxcpuDropsThePriorityInsteadOfEndingTheProcess) {
    EXPECT_FALSE(realtimeDroppedByCpuLimit());
    installCpuLimitFallback(gettid()); // this thread is SCHED_OTHER already: nothing changes
    ASSERT_EQ(std::raise(SIGXCPU), 0);
    EXPECT_TRUE(realtimeDroppedByCpuLimit());
}

} // namespace
