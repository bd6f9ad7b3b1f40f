#include "win32/testing.h"

#include "reported_system.h"

namespace win32test {

ScopedWindowsVersion::ScopedWindowsVersion(DWORD platformId, DWORD major, DWORD minor, DWORD build)
{
    win32::ReportedVersion version;
    version.platform = platformId;
    version.major = major;
    version.minor = minor;
    version.build = build;
    m_replaced = std::make_unique<win32::ReportedVersion>(win32::UseReportedVersion(version));
}

ScopedWindowsVersion::~ScopedWindowsVersion()
{
    win32::UseReportedVersion(*m_replaced);
}

ScopedWow64::ScopedWow64(Answer answer)
    : m_replaced(win32::UseWow64Answer(answer == Answer::Yes  ? win32::Wow64Answer::Yes
                                       : answer == Answer::No ? win32::Wow64Answer::No
                                                              : win32::Wow64Answer::Missing))
{
}

ScopedWow64::~ScopedWow64()
{
    win32::UseWow64Answer(m_replaced);
}

}  // namespace win32test
