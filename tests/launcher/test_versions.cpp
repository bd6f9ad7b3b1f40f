#include "form1.h"
#include "support/scopedenv.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Reported {
    const char* platform;
    const char* version;
    const char* name;
};

const Reported kVersions[] = {
    {"0", "3.10.0", "Windows 32s"},
    {"0", "9.9.0", "Windows 32s"},
    {"1", "4.0.950", "Windows 95"},
    {"1", "4.10.1998", "Windows 98"},
    {"1", "4.90.3000", "Windows Mellinnium"},
    {"1", "4.3.0", ""},
    {"2", "3.51.1057", "WindowsNT 3.51"},
    {"2", "3.10.0", "WindowsNT 3.51"},
    {"2", "4.0.1381", "WindowsNT 4.0"},
    {"2", "5.0.2195", "Windows 2000"},
    {"2", "5.1.2600", "Windows XP"},
    {"2", "5.2.3790", "Windows 2003"},
    {"2", "5.3.0", ""},
    {"2", "6.0.6000", "Windows Vista"},
    {"2", "6.1.7601", "Windows 7"},
    {"2", "6.2.9200", "Windows 8"},
    {"2", "6.3.9600", ""},
    {"2", "10.0.19045", ""},
    {"2", "2.0.0", ""},
    {"3", "6.1.7601", "\xE6\x9C\xAA\xE7\x9F\xA5\xE7\xB3\xBB\xE7\xBB\x9F\xE7\x89\x88\xE6\x9C\xAC"},
    {"7", "10.0.0", "\xE6\x9C\xAA\xE7\x9F\xA5\xE7\xB3\xBB\xE7\xBB\x9F\xE7\x89\x88\xE6\x9C\xAC"},
};

}  // namespace

TEST(SystemVer, NamesTheReportedVersion)
{
    Form1 form("/media/cd");
    for (const Reported& v : kVersions) {
        SCOPED_TRACE(std::string(v.platform) + " " + v.version);
        testutil::ScopedEnv platform("WIN32_PLATFORM", v.platform);
        testutil::ScopedEnv version("WIN32_VERSION", v.version);
        EXPECT_EQ(form.SystemVer(), v.name);
    }
}

TEST(Is64bit, AsksIsWow64ProcessWhenTheSystemHasIt)
{
    Form1 form("/media/cd");
    {
        testutil::ScopedEnv wow64("WIN32_WOW64", "1");
        EXPECT_TRUE(form.Is64bit());
    }
    {
        testutil::ScopedEnv wow64("WIN32_WOW64", "0");
        EXPECT_FALSE(form.Is64bit());
    }
    {
        testutil::ScopedEnv wow64("WIN32_WOW64", "missing");
        EXPECT_FALSE(form.Is64bit());
    }
}
