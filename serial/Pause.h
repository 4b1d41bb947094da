#pragma once

// The polling loop's pause of one millisecond per pass.
class Pause {
public:
    virtual ~Pause() = default;
    virtual void Sleep(int milliseconds) = 0;
};

// Sleeps this thread for so many nanoseconds of the monotonic clock, through any signal.
void sleepMonotonic(long long nanoseconds);

// A real sleep on the monotonic clock. The thread that creates it asks the kernel for the
// least timer slack, so that a 1 ms pause is not stretched by up to 50 us on every pass.
class ThreadSleep final : public Pause {
public:
    ThreadSleep();
    void Sleep(int milliseconds) override;
};
