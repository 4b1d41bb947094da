#include "bench/BenchDisk.h"

#include "bench/ProcessClock.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

int BenchDisk::flush(int (*call)(int), int fd) {
    struct stat file {};
    const std::int64_t covered = ::fstat(fd, &file) == 0 ? file.st_size : 0;
    int error = 0;
    if (slowMs_ > 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(slowMs_));
    } else if (call(fd) != 0) {
        error = errno;
    }
    const std::lock_guard lock(mutex_);
    flushes_.emplace_back(ProcessClock::monotonicNs(), covered);
    return error;
}

int BenchDisk::flushFile(int fd) {
    return flush(::fdatasync, fd);
}

int BenchDisk::flushFolder(int fd) {
    return flush(::fsync, fd);
}

std::vector<double>
BenchDisk::lagsMs(const std::vector<std::pair<std::int64_t, std::int64_t>>& records) {
    const std::lock_guard lock(mutex_);
    std::vector<double> lags;
    for (const auto& [writtenNs, size] : records) {
        for (const auto& [endNs, covered] : flushes_) {
            if (endNs >= writtenNs && covered >= size) {
                lags.push_back(static_cast<double>(endNs - writtenNs) / 1e6);
                break;
            }
        }
    }
    return lags;
}
