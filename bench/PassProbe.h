#pragma once

#include "serial/Pause.h"

#include <cstdint>
#include <functional>
#include <vector>

// Wraps the real 1 ms pause of the loop. Each call marks the end of a pass, so the probe
// times the pass period (one call to the next) and the work of a pass (the time awake since
// the last pause returned); after each pause it lets the benchmark take its next step.
class PassProbe final : public Pause {
public:
    PassProbe(Pause& real, std::size_t capacity);

    void Sleep(int milliseconds) override;

    void onPass(std::function<void()> step) { step_ = std::move(step); }

    // Periods and work are kept only while recording; the buffers never grow in a pass.
    void setRecording(bool on) { recording_ = on; }
    const std::vector<double>& periodsMs() const { return periodsMs_; }
    const std::vector<double>& workUs() const { return workUs_; }

private:
    Pause& real_;
    std::function<void()> step_;
    bool recording_ = false;
    std::int64_t lastCallNs_ = -1;
    std::int64_t lastWakeNs_ = -1;
    std::vector<double> periodsMs_;
    std::vector<double> workUs_;
};
