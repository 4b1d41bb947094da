#pragma once

#include <cstdint>
#include <optional>
#include <sys/types.h>

// CPU time of the X server that this process draws on, so that the cost of the drawing it
// sends is counted with the program's own.
namespace ServerCpu {

// The X server of $DISPLAY, from the lock file the server keeps for its display number.
std::optional<pid_t> serverOfDisplay();

// CPU time the process has used so far, all threads, in nanoseconds; -1 when it is gone.
std::int64_t cpuNs(pid_t pid);

} // namespace ServerCpu
