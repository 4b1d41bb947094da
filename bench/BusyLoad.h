#pragma once

#include <sys/types.h>
#include <vector>

// Processes that keep the machine's cores busy at normal priority while the benchmark runs,
// as a video recording or a browser would beside the track. They end with this object, and
// with the benchmark should it die first.
class BusyLoad {
public:
    explicit BusyLoad(int processes);
    ~BusyLoad();
    BusyLoad(const BusyLoad&) = delete;
    BusyLoad& operator=(const BusyLoad&) = delete;

    int size() const { return static_cast<int>(children_.size()); }

private:
    std::vector<pid_t> children_;
};
