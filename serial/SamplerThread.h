#pragma once

#include <future>
#include <thread>

class LineSampler;
class SampleSchedule;

// The line sampler's own thread: reads on the schedule from construction until destruction.
// The program owns one for as long as it runs; destroying it stops and joins the thread.
class SamplerThread {
public:
    SamplerThread(LineSampler& sampler, SampleSchedule& schedule);
    ~SamplerThread();
    SamplerThread(const SamplerThread&) = delete;
    SamplerThread& operator=(const SamplerThread&) = delete;

    // The kernel's id of the thread, for the real-time request; waits until it has started.
    long long threadId();

private:
    SampleSchedule& schedule_;
    std::promise<long long> started_;
    std::shared_future<long long> threadId_;
    std::thread thread_;
};
