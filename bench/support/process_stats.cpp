#include "process_stats.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

namespace bench {

CpuSample ProcessCpu(pid_t pid)
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
    CpuSample sample;
    sample.at = std::chrono::steady_clock::now();
    // utime and stime, the 14th and 15th fields of the line.
    if (fields.size() > 12)
        sample.seconds = (std::stod(fields[11]) + std::stod(fields[12])) / static_cast<double>(sysconf(_SC_CLK_TCK));
    return sample;
}

double CpuPercent(const CpuSample& from, const CpuSample& to)
{
    const double wall = std::chrono::duration<double>(to.at - from.at).count();
    return wall > 0 ? 100.0 * (to.seconds - from.seconds) / wall : 0;
}

long StatusKilobytes(pid_t pid, const std::string& field)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field + ":", 0) == 0)
            return std::strtol(line.c_str() + field.size() + 1, nullptr, 10);
    return -1;
}

}  // namespace bench
