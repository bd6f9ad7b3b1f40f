#include "reported_system.h"

#include <mutex>
#include <utility>

namespace win32 {

namespace {

std::mutex g_lock;
ReportedVersion g_version;
Wow64Answer g_wow64 = Wow64Answer::Host;

}  // namespace

ReportedVersion UseReportedVersion(ReportedVersion value)
{
    std::lock_guard<std::mutex> lock(g_lock);
    std::swap(g_version, value);
    return value;
}

Wow64Answer UseWow64Answer(Wow64Answer value)
{
    std::lock_guard<std::mutex> lock(g_lock);
    std::swap(g_wow64, value);
    return value;
}

ReportedVersion CurrentReportedVersion()
{
    std::lock_guard<std::mutex> lock(g_lock);
    return g_version;
}

Wow64Answer CurrentWow64Answer()
{
    std::lock_guard<std::mutex> lock(g_lock);
    return g_wow64;
}

}  // namespace win32

