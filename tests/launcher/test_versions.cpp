#include "form1.h"
#include "win32/testing.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Reported {
    DWORD platform;
    DWORD major, minor, build;
    const char* name;
};

const Reported kVersions[] = {
    {0, 3, 10, 0, "Windows 32s"},
    {0, 9, 9, 0, "Windows 32s"},
    {1, 4, 0, 950, "Windows 95"},
    {1, 4, 10, 1998, "Windows 98"},
    {1, 4, 90, 3000, "Windows Mellinnium"},
    {1, 4, 3, 0, ""},
    {2, 3, 51, 1057, "WindowsNT 3.51"},
    {2, 3, 10, 0, "WindowsNT 3.51"},
    {2, 4, 0, 1381, "WindowsNT 4.0"},
    {2, 5, 0, 2195, "Windows 2000"},
    {2, 5, 1, 2600, "Windows XP"},
    {2, 5, 2, 3790, "Windows 2003"},
    {2, 5, 3, 0, ""},
    {2, 6, 0, 6000, "Windows Vista"},
    {2, 6, 1, 7601, "Windows 7"},
    {2, 6, 2, 9200, "Windows 8"},
    {2, 6, 3, 9600, ""},
    {2, 10, 0, 19045, ""},
    {2, 2, 0, 0, ""},
    {3, 6, 1, 7601, "\xE6\x9C\xAA\xE7\x9F\xA5\xE7\xB3\xBB\xE7\xBB\x9F\xE7\x89\x88\xE6\x9C\xAC"},
    {7, 10, 0, 0, "\xE6\x9C\xAA\xE7\x9F\xA5\xE7\xB3\xBB\xE7\xBB\x9F\xE7\x89\x88\xE6\x9C\xAC"},
};

}  // namespace

TEST(SystemVer, NamesTheReportedVersion)
{
    Form1 form("/media/cd");
    for (const Reported& v : kVersions) {
        SCOPED_TRACE(std::to_string(v.platform) + " " + std::to_string(v.major) + "." + std::to_string(v.minor) + "." +
                     std::to_string(v.build));
        win32test::ScopedWindowsVersion version(v.platform, v.major, v.minor, v.build);
        EXPECT_EQ(form.SystemVer(), v.name);
    }
}

TEST(SystemVer, OnThisMachineIsWindows7WithThisMachinesBitness)
{
    Form1 form("/media/cd");
    EXPECT_EQ(form.SystemVer(), "Windows 7");
    EXPECT_EQ(form.Is64bit(), sizeof(void*) == 8);
}

TEST(Is64bit, AsksIsWow64ProcessWhenTheSystemHasIt)
{
    Form1 form("/media/cd");
    {
        win32test::ScopedWow64 wow64(win32test::ScopedWow64::Answer::Yes);
        EXPECT_TRUE(form.Is64bit());
    }
    {
        win32test::ScopedWow64 wow64(win32test::ScopedWow64::Answer::No);
        EXPECT_FALSE(form.Is64bit());
    }
    {
        win32test::ScopedWow64 wow64(win32test::ScopedWow64::Answer::Missing);
        EXPECT_FALSE(form.Is64bit());
    }
}
