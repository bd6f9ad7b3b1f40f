// A process's CPU time and memory as /proc reports them.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>

namespace bench {

// The CPU time a process's threads have used so far, and when it was read
// (threads that have ended no longer count).
struct CpuSample {
    double seconds = 0;
    std::chrono::steady_clock::time_point at;
};
CpuSample ProcessCpu(pid_t pid);
// The share of one core the process used between two samples, in percent.
double CpuPercent(const CpuSample& from, const CpuSample& to);

// A kilobyte field of /proc/<pid>/status (VmRSS, VmHWM, ...); -1 when missing.
long StatusKilobytes(pid_t pid, const std::string& field);
// A kilobyte field of /proc/<pid>/smaps_rollup (Pss, Rss, ...); -1 when missing.
long RollupKilobytes(pid_t pid, const std::string& field);

}  // namespace bench
