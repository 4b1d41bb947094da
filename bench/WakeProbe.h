#pragma once

#include "serial/SampleSchedule.h"

#include <cstdint>
#include <future>
#include <thread>
#include <vector>

// The machine's own floor, measured beside the program in the same run: a thread on the line
// sampler's schedule that reads nothing and records how late each wake-up came against its
// deadline. Given the sampler's real-time priority, what it records is what the machine does
// to any such thread; a lane error beyond it is the program's.
class WakeProbe {
public:
    WakeProbe();
    ~WakeProbe();
    WakeProbe(const WakeProbe&) = delete;
    WakeProbe& operator=(const WakeProbe&) = delete;

    // The kernel's id of the thread, for the real-time request; waits until it has started.
    long long threadId();
    // Ends the measurement: stops and joins the thread. The figures are read after it.
    void finish();
    // Each wake-up's lateness in ms, once finished.
    const std::vector<double>& latenessMs() const { return latenessMs_; }

private:
    void run();

    MillisecondSchedule schedule_;
    std::vector<double> latenessMs_; // the thread's until it is joined
    std::promise<long long> started_;
    std::shared_future<long long> threadId_;
    std::thread thread_; // last: starts once everything above is ready
};
