#pragma once

// The sleep that carries a pulse through most of its second, so that a pulse holds no core
// (a real-time thread that spins for a second would starve the rest of the machine). It may
// wake early or late; the pulse wait watches the counter for the deadline itself.
class PulseSleep {
public:
    virtual ~PulseSleep() = default;
    virtual void sleepFor(double milliseconds) = 0;
};

// A real sleep on the monotonic clock.
class ThreadPulseSleep final : public PulseSleep {
public:
    void sleepFor(double milliseconds) override;
};
