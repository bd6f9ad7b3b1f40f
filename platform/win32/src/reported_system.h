// The system that the version and WOW64 calls report: Windows 7 SP1 on the NT
// platform, with IsWow64Process answering for this machine, unless a test
// library has put another in its place.
#pragma once

#include "win32/system.h"

namespace win32 {

struct ReportedVersion {
    DWORD major = 6;
    DWORD minor = 1;
    DWORD build = 7601;
    DWORD platform = VER_PLATFORM_WIN32_NT;
};

// Host: TRUE on a 64-bit machine. Missing: GetProcAddress does not find
// IsWow64Process, as on a system that lacks it.
enum class Wow64Answer { Host, Yes, No, Missing };

// Each reports `value` from now on (any thread) and returns the one it replaces.
ReportedVersion UseReportedVersion(ReportedVersion value);
Wow64Answer UseWow64Answer(Wow64Answer value);

ReportedVersion CurrentReportedVersion();
Wow64Answer CurrentWow64Answer();

}  // namespace win32
