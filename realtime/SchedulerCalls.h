#pragma once

#include <cstdint>

enum class SchedPolicy { Other, Fifo, RoundRobin };

// The kernel calls behind the real-time request: the program makes the real ones, tests a fake
// that records them. Errors come back as errno values, 0 for success.
class SchedulerCalls {
public:
    static constexpr std::uint64_t unlimited = UINT64_MAX;

    virtual ~SchedulerCalls() = default;
    // The thread's policy now and its real-time priority (0 for SchedPolicy::Other).
    virtual SchedPolicy policy(long long tid, int& priority) = 0;
    // Always with SCHED_RESET_ON_FORK, so that no process the program starts inherits it.
    virtual int setRealtime(long long tid, SchedPolicy policy, int priority) = 0;
    // The soft RLIMIT_RTPRIO: the highest priority an unprivileged user may ask for.
    virtual std::uint64_t rtprioSoftLimit() = 0;
    // The hard RLIMIT_RTTIME in microseconds, which only a privileged process may raise.
    virtual std::uint64_t rtTimeHardLimit() = 0;
    virtual int setRtTimeLimit(std::uint64_t softMicros, std::uint64_t hardMicros) = 0;
    // Makes SIGXCPU drop the thread to normal scheduling instead of ending the process.
    virtual void installCpuLimitFallback(long long tid) = 0;
};

class SystemSchedulerCalls final : public SchedulerCalls {
public:
    SchedPolicy policy(long long tid, int& priority) override;
    int setRealtime(long long tid, SchedPolicy policy, int priority) override;
    std::uint64_t rtprioSoftLimit() override;
    std::uint64_t rtTimeHardLimit() override;
    int setRtTimeLimit(std::uint64_t softMicros, std::uint64_t hardMicros) override;
    void installCpuLimitFallback(long long tid) override;
};

// The kernel's id of the calling thread (gettid), which RealtimeKit and the scheduler take.
long long currentThreadId();

// The kernel sends SIGXCPU when a real-time thread has run longer than the soft RLIMIT_RTTIME
// without blocking, and kills the process at the hard one. The handler puts the thread back to
// SCHED_OTHER and says so on standard error, so a runaway pass costs the priority, not the race.
void installCpuLimitFallback(long long tid);

// Whether the handler has dropped the thread since the program started.
bool realtimeDroppedByCpuLimit();
