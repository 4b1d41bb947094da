#pragma once

#include "serial/LineSnapshot.h"

#include <mutex>

class LineBackend;
class MillisClock;

// The one place that reads the three inputs: one read of the modem status per sample, noted
// with the millisecond clock, published as a snapshot. The polling loop works from snapshots
// and never waits for a read; a read through a USB adapter can take a millisecond.
//
// sampleOnce() runs on the sampler's thread (SamplerThread) or, in tests, wherever the fake
// time calls it; the rest on the window's thread. The backend's outputs are never touched.
class LineSampler {
public:
    LineSampler(LineBackend& lines, MillisClock& clock);

    // The port has been opened: reads begin, and every closure counts as new.
    void portOpened();
    // The port is about to be closed: waits for a read in progress, then reads stop and the
    // inputs read open.
    void portClosing();

    // One read of the inputs.
    void sampleOnce();

    // The latest reading, whole. Never waits for a read.
    LineSnapshot snapshot() const;

private:
    void setPortOpen(bool open);
    void publish(bool answered, std::uint32_t status, std::uint32_t tick);

    LineBackend& lines_;
    MillisClock& clock_;
    // Held through a read and its publication, so that the port is not closed under a read
    // and no reading of a closed port is published after the close.
    std::mutex portMutex_;
    bool portOpen_ = false;
    mutable std::mutex snapshotMutex_; // held only to copy the snapshot in or out
    LineSnapshot snapshot_;
};
