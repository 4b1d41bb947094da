#pragma once

#include <cstdint>

// Readings of the machine that the benchmark measures with, independent of the program's own
// clocks so that the program cannot flatter itself.
namespace ProcessClock {

// The monotonic clock in nanoseconds; the same clock in every process of the machine.
std::int64_t monotonicNs();

// CPU time used by this process so far, all threads, in nanoseconds.
std::int64_t cpuNs();

// The most memory this process has held resident, in megabytes (VmHWM).
double peakResidentMb();

} // namespace ProcessClock
