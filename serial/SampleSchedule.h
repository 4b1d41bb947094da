#pragma once

#include <atomic>
#include <cstdint>

// When the line sampler reads next.
class SampleSchedule {
public:
    virtual ~SampleSchedule() = default;
    // Blocks until the next read is due; false once stop() has been called.
    virtual bool waitNext() = 0;
    // From any thread: the wait in progress, or the next one, returns false.
    virtual void stop() = 0;
};

// One read every millisecond of the monotonic clock, on an absolute schedule, so that the time
// a read takes does not push the later ones back. The reads keep to one place in each
// millisecond, just after the millisecond clock has ticked, so that the start and a target of
// one race are stamped alike. A read that overruns its millisecond is followed by the next at
// once, then the schedule goes back to its place: there is never a backlog of reads to catch
// up. Every wait blocks in the kernel; a deadline already past is not waited for.
class MillisecondSchedule final : public SampleSchedule {
public:
    static constexpr std::int64_t periodNs = 1'000'000;
    // Where in its millisecond a read is due: late enough that a read on time finds the clock
    // already ticked, early enough that a late wake-up still falls in the same millisecond.
    static constexpr std::int64_t phaseNs = 100'000;

    bool waitNext() override;
    void stop() override { stopped_ = true; }
    // The monotonic time (ns) the last waitNext() was due at; the caller's thread only.
    std::int64_t deadlineNs() const { return next_; }

    // The deadline after one at `previous` (0: none yet), the schedule read at `now`.
    static std::int64_t nextDeadline(std::int64_t previous, std::int64_t now);

private:
    std::atomic<bool> stopped_{false};
    std::int64_t next_ = 0;
};
