#pragma once

#include "serial/LineSnapshot.h"

#include <mutex>

class LineBackend;
class MillisClock;

// The one place that reads the three inputs: one read of the modem status per sample, noted
// with the millisecond clock, published as a snapshot. The polling loop works from snapshots
// and never waits for a read; a read through a USB adapter can take a millisecond, and one
// that hangs can take seconds.
//
// sampleOnce() runs on the sampler's thread (SamplerThread) or, in tests, wherever the fake
// time calls it; the rest on the window's thread. No lock is held during a read, so the window
// never waits for one: a read still out when its port closes or another opens is dropped when
// it comes back. The backend's outputs are never touched.
class LineSampler {
public:
    LineSampler(LineBackend& lines, MillisClock& clock);

    // The port has been opened: reads begin, and every closure counts as new.
    void portOpened();
    // The port is about to be closed: no read begins on it any more, and the inputs read open.
    // Never waits for a read in progress; what it brings back is not published.
    void portClosing();

    // One read of the inputs.
    void sampleOnce();

    // The latest reading, whole. Never waits for a read.
    LineSnapshot snapshot() const;

private:
    void publish(bool answered, std::uint32_t status, std::uint32_t tick);

    LineBackend& lines_;
    MillisClock& clock_;
    mutable std::mutex mutex_; // never held during a read
    bool portOpen_ = false;
    // Counts the openings, so that a read begun on one port is never published for another.
    std::uint64_t opening_ = 0;
    LineSnapshot snapshot_;
};
