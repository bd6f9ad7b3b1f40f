// Test support of the Win32 layer (library win32_testing, linked by tests
// only): a machine of the test's own for port enumeration and device watching,
// and the Windows system the version and WOW64 calls report.
#pragma once

#include "win32/system.h"

#include <memory>
#include <string>

namespace win32 {
struct DeviceTree;
struct ReportedVersion;
enum class Wow64Answer;
}

namespace win32test {

// While it lives, SetupAPI enumeration reads the devices of a sysfs-like tree
// below sysfsRoot, and enumeration and the device watcher look for device
// nodes in nodeDirectory, in place of the machine's. The tree:
//   <root>/class/tty/<name>          a tty device: a directory or a link to one
//   <root>/class/tty/<name>/device   link to its parent device; without it the
//                                    tty has no hardware (virtual console, pty)
//   <root>/devices/...               device directories; a directory counts as a
//                                    device when it holds a file "uevent"
//   <device>/<attribute>             attributes as text files ("type",
//                                    "idVendor", "idProduct")
//   <device>/driver                  link whose last path component is the driver
// Parents above the first are found by walking up to the nearest directory
// below <root>/devices that holds "uevent"; "/sys" reads the machine's own
// sysfs without libudev. Objects nest; each puts back what it replaced.
class ScopedDeviceTree {
public:
    ScopedDeviceTree(const std::string& sysfsRoot, const std::string& nodeDirectory);
    ~ScopedDeviceTree();
    ScopedDeviceTree(const ScopedDeviceTree&) = delete;
    ScopedDeviceTree& operator=(const ScopedDeviceTree&) = delete;

private:
    std::unique_ptr<win32::DeviceTree> m_replaced;
};

// While it lives, GetVersionEx reports this platform id and version in place
// of 6.1.7601 on VER_PLATFORM_WIN32_NT. Objects nest; each puts back what it
// replaced.
class ScopedWindowsVersion {
public:
    ScopedWindowsVersion(DWORD platformId, DWORD major, DWORD minor, DWORD build);
    ~ScopedWindowsVersion();
    ScopedWindowsVersion(const ScopedWindowsVersion&) = delete;
    ScopedWindowsVersion& operator=(const ScopedWindowsVersion&) = delete;

private:
    std::unique_ptr<win32::ReportedVersion> m_replaced;
};

// While it lives, IsWow64Process answers as on a 64-bit system (Yes) or a
// 32-bit one (No), or GetProcAddress does not find it (Missing), in place of
// this machine's answer. Objects nest; each puts back what it replaced.
class ScopedWow64 {
public:
    enum class Answer { Yes, No, Missing };
    explicit ScopedWow64(Answer answer);
    ~ScopedWow64();
    ScopedWow64(const ScopedWow64&) = delete;
    ScopedWow64& operator=(const ScopedWow64&) = delete;

private:
    win32::Wow64Answer m_replaced;
};

}  // namespace win32test
