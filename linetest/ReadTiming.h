#pragma once

#include <QString>

#include <cstdint>

class LineBackend;

// The clock the line test times the port's reads with: the monotonic clock, to the
// nanosecond. Tests time on their own in its place.
class ReadClock {
public:
    virtual ~ReadClock() = default;
    virtual std::int64_t nowNs();
};

// How long the port took to answer reads of its input lines (one modem-status read each, as
// the timing program's line sampler makes every millisecond).
struct ReadTimes {
    int reads = 0;
    int failed = 0; // reads the port answered with an error
    double medianMs = 0.0;
    double maxMs = 0.0;
};

// Times `count` reads one after the other.
ReadTimes timeReads(LineBackend& lines, ReadClock& clock, int count);

// What the times say about the adapter, for the operator: the figures, then a plain verdict,
// each line "Czech / English".
QString readTimesReport(const ReadTimes& times);
