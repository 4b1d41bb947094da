#pragma once

#include <QByteArray>
#include <QString>

#include <iosfwd>

class SchedulerCalls;

// How the polling thread is scheduled after the request at start-up.
enum class RealtimeResult { Fifo, Rr, Rtkit, None };

// "fifo", "rr", "rtkit" or "none".
const char* realtimeResultName(RealtimeResult result);

// Asks for a modest real-time priority for the calling thread, which must be the one that runs
// the polling loop, so that a pass is not held up by ordinary processes. "0" in switchValue
// (TAVORIN_REALTIME) turns it off. A thread that is real-time already (chrt) stays as it is;
// otherwise SCHED_FIFO from the kernel, then SCHED_RR from RealtimeKit, then nothing. Before
// any of it the thread gets a limit on real-time CPU time without blocking and a SIGXCPU handler
// that drops it to SCHED_OTHER. Never fails; writes exactly one line on out saying what it got.
RealtimeResult requestRealtimePriority(SchedulerCalls& calls, const QByteArray& switchValue,
                                       std::ostream& out, int busTimeoutMs = 1000);

// Another thread of the program, by its kernel id, named (Czech, English) in the line written.
struct RealtimeThread {
    long long tid;
    QString czechName;
    QString englishName;
};
RealtimeResult requestRealtimePriority(SchedulerCalls& calls, const RealtimeThread& thread,
                                       const QByteArray& switchValue, std::ostream& out,
                                       int busTimeoutMs = 1000);

// The program's calls: the real kernel, TAVORIN_REALTIME from the environment, standard error.
// Need the QCoreApplication to exist (for the system D-Bus).
RealtimeResult requestRealtimePriority();
RealtimeResult requestRealtimePriority(const RealtimeThread& thread);
