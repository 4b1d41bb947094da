#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class DiskFlush;

// Puts the appended records on the disk from a thread of its own, so that the polling loop
// never waits for the disk. The loop hands over a descriptor of the file it has just written
// (a copy, which stays with the file that was written even if the name is given to another)
// and goes on; the thread flushes everything handed over since its last flush at once, then
// closes the copies.
//
// The thread belongs to this object: it starts with it and, when it is destroyed, flushes what
// is left and ends. The process may also end without it: a flush then simply does not happen.
class LogFlusher {
public:
    explicit LogFlusher(DiskFlush& disk);
    ~LogFlusher();
    LogFlusher(const LogFlusher&) = delete;
    LogFlusher& operator=(const LogFlusher&) = delete;

    // Takes over fd, a copy of the descriptor a record was written through. folder: the
    // folder's path when the write began the file, so that its new name is flushed too.
    // Returns at once.
    void hand(int fd, std::string folder = {});

    // The error (errno) of a flush that failed after the last one that worked, once; 0 when
    // there is nothing new to tell. Costs one atomic read when nothing failed.
    int takeFailure();

    // Waits until everything handed over so far has been flushed (or has failed to), at most
    // limit; true when it has.
    bool waitFlushed(std::chrono::milliseconds limit);

private:
    struct Work {
        int fd;
        std::string folder;
    };
    void run();
    int flushAll(const std::vector<Work>& batch);
    void tell(int error);

    DiskFlush& disk_;
    std::mutex mutex_;
    std::condition_variable work_;    // something handed over, or the end
    std::condition_variable flushed_; // a batch done
    std::vector<Work> queue_;
    std::uint64_t handedCount_ = 0;
    std::uint64_t flushedCount_ = 0;
    bool ending_ = false;
    bool failing_ = false; // the thread's own: the last flush failed
    std::atomic<int> failure_{0};
    std::thread thread_; // last: starts once everything above is ready
};
