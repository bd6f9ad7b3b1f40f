#include "meterdata/help_file.h"

#include <gtest/gtest.h>

namespace {

TEST(HelpFile, LiesBesideTheProgram)
{
    EXPECT_EQ(HelpFilePath(L"/opt/meter/decibar"), CString(L"/opt/meter/KV415.chm"));
    EXPECT_EQ(HelpFilePath(L"/decibar"), CString(L"/KV415.chm"));
    EXPECT_EQ(HelpFilePath(L"/opt//decibar"), CString(L"/opt/KV415.chm"));
    EXPECT_EQ(HelpFilePath(L"decibar"), CString(L"/KV415.chm"));
}

} // namespace
