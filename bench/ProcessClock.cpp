#include "bench/ProcessClock.h"

#include <cstdio>
#include <cstring>
#include <ctime>

namespace {
std::int64_t read(clockid_t id) {
    timespec now{};
    clock_gettime(id, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}
} // namespace

namespace ProcessClock {

std::int64_t monotonicNs() {
    return read(CLOCK_MONOTONIC);
}

std::int64_t cpuNs() {
    return read(CLOCK_PROCESS_CPUTIME_ID);
}

double peakResidentMb() {
    std::FILE* status = std::fopen("/proc/self/status", "r");
    if (status == nullptr) {
        return -1.0;
    }
    char line[256];
    long kb = -1;
    while (std::fgets(line, sizeof line, status) != nullptr) {
        if (std::strncmp(line, "VmHWM:", 6) == 0) {
            std::sscanf(line + 6, "%ld", &kb);
            break;
        }
    }
    std::fclose(status);
    return kb < 0 ? -1.0 : static_cast<double>(kb) / 1024.0;
}

} // namespace ProcessClock
