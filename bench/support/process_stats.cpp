#include "process_stats.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace bench {

namespace {

// utime and stime of /proc/<pid>/stat, in clock ticks (10 ms).
double TickSeconds(pid_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    const std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    // The fields after the command name, which may hold blanks and ends at the last ')'.
    std::vector<std::string> fields;
    const size_t close = text.rfind(')');
    for (size_t pos = close == std::string::npos ? text.size() : close + 2; pos < text.size();) {
        const size_t next = text.find(' ', pos);
        fields.push_back(text.substr(pos, next - pos));
        if (next == std::string::npos)
            break;
        pos = next + 1;
    }
    return fields.size() > 12
               ? (std::stod(fields[11]) + std::stod(fields[12])) / static_cast<double>(sysconf(_SC_CLK_TCK))
               : 0;
}

}  // namespace

CpuSample ProcessCpu(pid_t pid)
{
    CpuSample sample;
    sample.at = std::chrono::steady_clock::now();
    // The run time of every thread in nanoseconds (first field of schedstat);
    // clock ticks are too coarse for a program that uses well under 1 %.
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    std::error_code error;
    unsigned long long nanoseconds = 0;
    bool any = false;
    for (const auto& task : std::filesystem::directory_iterator(tasks, error)) {
        std::ifstream schedstat(task.path() / "schedstat");
        unsigned long long runtime = 0;
        if (schedstat >> runtime) {
            nanoseconds += runtime;
            any = true;
        }
    }
    sample.seconds = any ? nanoseconds / 1e9 : TickSeconds(pid);
    return sample;
}

double CpuPercent(const CpuSample& from, const CpuSample& to)
{
    const double wall = std::chrono::duration<double>(to.at - from.at).count();
    return wall > 0 ? 100.0 * (to.seconds - from.seconds) / wall : 0;
}

namespace {

long ProcKilobytes(const std::string& path, const std::string& field)
{
    std::ifstream file(path);
    std::string line;
    while (std::getline(file, line))
        if (line.rfind(field + ":", 0) == 0)
            return std::strtol(line.c_str() + field.size() + 1, nullptr, 10);
    return -1;
}

}  // namespace

long StatusKilobytes(pid_t pid, const std::string& field)
{
    return ProcKilobytes("/proc/" + std::to_string(pid) + "/status", field);
}

long RollupKilobytes(pid_t pid, const std::string& field)
{
    return ProcKilobytes("/proc/" + std::to_string(pid) + "/smaps_rollup", field);
}

}  // namespace bench
