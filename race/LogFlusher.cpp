#include "race/LogFlusher.h"

#include "race/DiskFlush.h"

#include <fcntl.h>
#include <pthread.h>
#include <sched.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>

LogFlusher::LogFlusher(DiskFlush& disk) : disk_(disk), thread_([this] { run(); }) {}

LogFlusher::~LogFlusher() {
    {
        const std::lock_guard lock(mutex_);
        ending_ = true;
    }
    work_.notify_one();
    thread_.join();
}

void LogFlusher::hand(int fd, std::string folder) {
    {
        const std::lock_guard lock(mutex_);
        queue_.push_back(Work{fd, std::move(folder)});
        ++handedCount_;
    }
    work_.notify_one();
}

int LogFlusher::takeFailure() {
    if (failure_.load(std::memory_order_relaxed) == 0) {
        return 0;
    }
    return failure_.exchange(0, std::memory_order_relaxed);
}

bool LogFlusher::waitFlushed(std::chrono::milliseconds limit) {
    std::unique_lock lock(mutex_);
    const std::uint64_t target = handedCount_;
    return flushed_.wait_for(lock, limit, [&] { return flushedCount_ >= target; });
}

void LogFlusher::run() {
    // Started from the polling thread, it would inherit a real-time priority it has no use for.
    const sched_param ordinary{};
    pthread_setschedparam(pthread_self(), SCHED_OTHER, &ordinary);
    pthread_setname_np(pthread_self(), "tavorin-flush");
    std::vector<Work> batch;
    std::unique_lock lock(mutex_);
    for (;;) {
        work_.wait(lock, [this] { return !queue_.empty() || ending_; });
        if (queue_.empty()) {
            return;
        }
        batch.swap(queue_);
        const std::uint64_t upTo = handedCount_;
        lock.unlock();
        tell(flushAll(batch));
        batch.clear();
        lock.lock();
        flushedCount_ = upTo;
        flushed_.notify_all();
    }
}

// Each file once, through the newest copy of its descriptor (one flush covers every write to
// the file before it), then the folders of files that were begun. The first error counts.
int LogFlusher::flushAll(const std::vector<Work>& batch) {
    int error = 0;
    const auto keep = [&error](int result) {
        if (error == 0) {
            error = result;
        }
    };
    std::vector<std::pair<dev_t, ino_t>> done;
    for (auto work = batch.rbegin(); work != batch.rend(); ++work) {
        struct stat file {};
        if (::fstat(work->fd, &file) != 0) {
            keep(errno);
            continue;
        }
        const std::pair id{file.st_dev, file.st_ino};
        if (std::find(done.begin(), done.end(), id) == done.end()) {
            done.push_back(id);
            keep(disk_.flushFile(work->fd));
        }
    }
    std::vector<std::string> folders;
    for (const Work& work : batch) {
        ::close(work.fd);
        if (work.folder.empty() ||
            std::find(folders.begin(), folders.end(), work.folder) != folders.end()) {
            continue;
        }
        folders.push_back(work.folder);
        const int folder = ::open(work.folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folder < 0) {
            keep(errno);
            continue;
        }
        keep(disk_.flushFolder(folder));
        ::close(folder);
    }
    return error;
}

// Once per failure: a flush that works ends it.
void LogFlusher::tell(int error) {
    if (error != 0 && !failing_) {
        failure_.store(error, std::memory_order_relaxed);
    }
    failing_ = error != 0;
}
