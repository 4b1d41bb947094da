#pragma once

#include "race/DiskFlush.h"

#include <cstdint>
#include <mutex>
#include <utility>
#include <vector>

// The benchmark's disk: the system's flushes, or with --slow-disk MS flushes that take MS
// milliseconds each and do nothing else. Notes when each flush of the log ended and how much
// of the file it covered.
class BenchDisk final : public DiskFlush {
public:
    explicit BenchDisk(int slowMs) : slowMs_(slowMs) {}
    int flushFile(int fd) override;
    int flushFolder(int fd) override;

    // For records written at (monotonic ns, the file's size after the record): the time from
    // each to the end of the first flush that began after it, in ms.
    std::vector<double> lagsMs(const std::vector<std::pair<std::int64_t, std::int64_t>>& records);

private:
    int flush(int (*call)(int), int fd);

    int slowMs_;
    std::mutex mutex_;
    std::vector<std::pair<std::int64_t, std::int64_t>> flushes_; // end ns, bytes covered
};
