#include "realtime/SchedulerCalls.h"

#include <cerrno>

#ifdef __linux__
#include <csignal>
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// The real-time threads (the polling loop's and the line sampler's), each written before the
// handler is installed for it and read only by the handler. A signal handler reaches no object,
// so this state has to live at file scope: the only such state in serial/.
constexpr int maxFallbackThreads = 4;
volatile std::sig_atomic_t fallbackTids[maxFallbackThreads] = {};
volatile std::sig_atomic_t droppedByCpuLimit = 0;

std::uint64_t fromRlim(rlim_t value) {
    return value == RLIM_INFINITY ? SchedulerCalls::unlimited : static_cast<std::uint64_t>(value);
}

rlim_t toRlim(std::uint64_t value) {
    return value == SchedulerCalls::unlimited ? RLIM_INFINITY : static_cast<rlim_t>(value);
}

// Async-signal-safe: system calls to drop the priorities, one to say so. The signal is the
// process's, whichever thread overran, so every real-time thread goes back to normal.
void dropToNormalScheduling(int) {
    const int savedErrno = errno;
    const sched_param normal{};
    bool dropped = false;
    for (const auto tid : fallbackTids) {
        dropped = (tid != 0 && sched_setscheduler(tid, SCHED_OTHER, &normal) == 0) || dropped;
    }
    if (dropped) {
        droppedByCpuLimit = 1;
        static constexpr char line[] =
            "tavorin: priorita reálného času zrušena, vlákno překročilo RLIMIT_RTTIME (SIGXCPU) / "
            "real-time priority dropped, the thread exceeded RLIMIT_RTTIME (SIGXCPU)\n";
        [[maybe_unused]] const auto written = write(STDERR_FILENO, line, sizeof line - 1);
    }
    errno = savedErrno;
}

} // namespace

SchedPolicy SystemSchedulerCalls::policy(long long tid, int& priority) {
    sched_param param{};
    priority = sched_getparam(static_cast<pid_t>(tid), &param) == 0 ? param.sched_priority : 0;
    switch (sched_getscheduler(static_cast<pid_t>(tid)) & ~SCHED_RESET_ON_FORK) {
    case SCHED_FIFO:
        return SchedPolicy::Fifo;
    case SCHED_RR:
        return SchedPolicy::RoundRobin;
    default:
        return SchedPolicy::Other;
    }
}

int SystemSchedulerCalls::setRealtime(long long tid, SchedPolicy policy, int priority) {
    const int kernelPolicy = policy == SchedPolicy::Fifo         ? SCHED_FIFO
                             : policy == SchedPolicy::RoundRobin ? SCHED_RR
                                                                 : SCHED_OTHER;
    sched_param param{};
    param.sched_priority = priority;
    return sched_setscheduler(static_cast<pid_t>(tid), kernelPolicy | SCHED_RESET_ON_FORK,
                              &param) == 0
               ? 0
               : errno;
}

std::uint64_t SystemSchedulerCalls::rtprioSoftLimit() {
    rlimit limit{};
    return getrlimit(RLIMIT_RTPRIO, &limit) == 0 ? fromRlim(limit.rlim_cur) : 0;
}

std::uint64_t SystemSchedulerCalls::rtTimeHardLimit() {
    rlimit limit{};
    return getrlimit(RLIMIT_RTTIME, &limit) == 0 ? fromRlim(limit.rlim_max) : 0;
}

int SystemSchedulerCalls::setRtTimeLimit(std::uint64_t softMicros, std::uint64_t hardMicros) {
    const rlimit limit{toRlim(softMicros), toRlim(hardMicros)};
    return setrlimit(RLIMIT_RTTIME, &limit) == 0 ? 0 : errno;
}

void SystemSchedulerCalls::installCpuLimitFallback(long long tid) {
    ::installCpuLimitFallback(tid);
}

long long currentThreadId() {
    return gettid();
}

void installCpuLimitFallback(long long tid) {
    for (auto& slot : fallbackTids) {
        if (slot == 0 || slot == static_cast<std::sig_atomic_t>(tid)) {
            slot = static_cast<std::sig_atomic_t>(tid);
            break;
        }
    }
    struct sigaction action {};
    action.sa_handler = dropToNormalScheduling;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    sigaction(SIGXCPU, &action, nullptr);
}

bool realtimeDroppedByCpuLimit() {
    return droppedByCpuLimit != 0;
}

#else // Real-time scheduling is only asked for on Linux.

SchedPolicy SystemSchedulerCalls::policy(long long, int& priority) {
    priority = 0;
    return SchedPolicy::Other;
}
int SystemSchedulerCalls::setRealtime(long long, SchedPolicy, int) {
    return ENOSYS;
}
std::uint64_t SystemSchedulerCalls::rtprioSoftLimit() {
    return 0;
}
std::uint64_t SystemSchedulerCalls::rtTimeHardLimit() {
    return unlimited;
}
int SystemSchedulerCalls::setRtTimeLimit(std::uint64_t, std::uint64_t) {
    return 0;
}
void SystemSchedulerCalls::installCpuLimitFallback(long long) {}
long long currentThreadId() {
    return 0;
}
void installCpuLimitFallback(long long) {}
bool realtimeDroppedByCpuLimit() {
    return false;
}

#endif
