#pragma once

#include <csignal>
#include <cstdint>
#include <sys/resource.h>

// A disk nearly full, for this process while it lasts: files grow only to so many bytes, and
// a write that would pass that writes what fits and then fails with EFBIG.
class FileSizeLimit {
public:
    FileSizeLimit() = default;
    ~FileSizeLimit() { lift(); }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    void set(std::int64_t bytes) {
        if (!active_) {
            getrlimit(RLIMIT_FSIZE, &old_);
            signal_ = std::signal(SIGXFSZ, SIG_IGN);
            active_ = true;
        }
        struct rlimit limit = old_;
        limit.rlim_cur = static_cast<rlim_t>(bytes);
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    void lift() {
        if (active_) {
            setrlimit(RLIMIT_FSIZE, &old_);
            std::signal(SIGXFSZ, signal_);
            active_ = false;
        }
    }

private:
    bool active_ = false;
    struct rlimit old_ {};
    void (*signal_)(int) = SIG_DFL;
};
