#include "support/pipe_watch.h"
#include "support/scopedenv.h"
#include "support/tempdir.h"
#include "win32/port_numbers.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

using namespace win32;

TEST(PortNumbers, KernelNamesKeepTheirBlocks)
{
    EXPECT_EQ(ComNumberForKernelName("ttyS0"), 1);
    EXPECT_EQ(ComNumberForKernelName("ttyS31"), 32);
    EXPECT_EQ(ComNumberForKernelName("ttyUSB0"), 33);
    EXPECT_EQ(ComNumberForKernelName("ttyUSB3"), 36);
    EXPECT_EQ(ComNumberForKernelName("ttyACM0"), 65);
    EXPECT_EQ(ComNumberForKernelName("ttyAMA1"), 98);
    // Outside every block, or not a plain index.
    EXPECT_EQ(ComNumberForKernelName("ttyS32"), 0);
    EXPECT_EQ(ComNumberForKernelName("ttySAC0"), 0);
    EXPECT_EQ(ComNumberForKernelName("ttyUSB"), 0);
    EXPECT_EQ(ComNumberForKernelName("tty0"), 0);
    EXPECT_EQ(ComNumberForKernelName("pts/3"), 0);
    for (int n = 1; n <= 128; ++n)
        EXPECT_EQ(ComNumberForKernelName(KernelNameForComNumber(n)), n) << n;
    EXPECT_EQ(KernelNameForComNumber(0), "");
    EXPECT_EQ(KernelNameForComNumber(129), "");
}

TEST(PortNumbers, DeviceNamesParse)
{
    EXPECT_EQ(ComNumberFromDeviceName(L"\\\\.\\COM7"), 7);
    EXPECT_EQ(ComNumberFromDeviceName(L"com12"), 12);
    EXPECT_EQ(ComNumberFromDeviceName(L"\\\\.\\COM"), 0);
    EXPECT_EQ(ComNumberFromDeviceName(L"\\\\.\\COM1x"), 0);
    EXPECT_EQ(ComNumberFromDeviceName(L"/dev/ttyS0"), 0);
    EXPECT_EQ(ComNumberFromDeviceName(L"COM99999999999"), 0);
}

TEST(PortDirectoryTest, LocationFollowsEnvironment)
{
    testutil::ScopedEnv dir("COMPORTS_DIR", "/somewhere/ports");
    EXPECT_EQ(PortDirectory(), "/somewhere/ports");
    testutil::ScopedEnv cleared("COMPORTS_DIR", "");
    testutil::ScopedEnv config("XDG_CONFIG_HOME", "/cfg");
    EXPECT_EQ(PortDirectory(), "/cfg/comports");
}

TEST(PortDirectoryTest, LinksWinAndCarryNames)
{
    testutil::TempDir tmp;
    testutil::ScopedEnv dir("COMPORTS_DIR", tmp.path() + "/nested/ports");

    EXPECT_TRUE(ReadPortLinks().empty());
    EXPECT_EQ(DeviceForComNumber(33), "/dev/ttyUSB0");
    EXPECT_EQ(DeviceForComNumber(200), "");

    ASSERT_TRUE(WritePortLink(33, "/dev/pts/9", "Simulated (COM33)"));
    ASSERT_TRUE(WritePortLink(5, "/dev/pts/4", ""));
    EXPECT_EQ(DeviceForComNumber(33), "/dev/pts/9");
    EXPECT_EQ(DeviceForComNumber(200), "");

    auto links = ReadPortLinks();
    ASSERT_EQ(links.size(), 2u);
    EXPECT_EQ(links[0].number, 5);
    EXPECT_EQ(links[0].friendlyName, "");
    EXPECT_EQ(links[1].number, 33);
    EXPECT_EQ(links[1].target, "/dev/pts/9");
    EXPECT_EQ(links[1].friendlyName, "Simulated (COM33)");

    // Replacing a link drops a name it no longer carries.
    ASSERT_TRUE(WritePortLink(33, "/dev/pts/10", ""));
    links = ReadPortLinks();
    ASSERT_EQ(links.size(), 2u);
    EXPECT_EQ(links[1].target, "/dev/pts/10");
    EXPECT_EQ(links[1].friendlyName, "");

    EXPECT_TRUE(RemovePortLink(33));
    EXPECT_TRUE(RemovePortLink(33));
    EXPECT_EQ(DeviceForComNumber(33), "/dev/ttyUSB0");
    EXPECT_EQ(ReadPortLinks().size(), 1u);
}

TEST(PortDirectoryTest, StrayEntriesAreIgnored)
{
    testutil::TempDir tmp;
    testutil::ScopedEnv dir("COMPORTS_DIR", tmp.path());
    ASSERT_EQ(symlink("/dev/null", (tmp.path() + "/com0").c_str()), 0);
    ASSERT_EQ(symlink("/dev/null", (tmp.path() + "/comX").c_str()), 0);
    ASSERT_EQ(mkdir((tmp.path() + "/com4").c_str(), 0755), 0);  // not a link
    EXPECT_TRUE(ReadPortLinks().empty());
    EXPECT_FALSE(WritePortLink(0, "/dev/null", ""));
}

TEST(PortDirectoryTest, ANameIsTheFirstLineOfARegularFileReadNoFurtherThanANameGoes)
{
    testutil::TempDir tmp;
    testutil::ScopedEnv dir("COMPORTS_DIR", tmp.path());
    for (int n = 1; n <= 5; ++n)
        ASSERT_EQ(symlink("/dev/null", (tmp.path() + "/com" + std::to_string(n)).c_str()), 0);
    std::ofstream(tmp.path() + "/com1.name") << "Silicon Labs CP210x USB to UART Bridge (COM1)\nsecond line\n";
    testutil::MakePipe(tmp.path() + "/com2.name");
    ASSERT_EQ(symlink("/dev/zero", (tmp.path() + "/com3.name").c_str()), 0);
    std::ofstream(tmp.path() + "/com4.name") << std::string(8u << 20, 'x');
    ASSERT_EQ(mkdir((tmp.path() + "/com5.name").c_str(), 0755), 0);

    std::vector<PortLink> links;
    EXPECT_TRUE(testutil::ReturnsWithoutWaitingOn(tmp.path() + "/com2.name", [&] { links = ReadPortLinks(); }));
    ASSERT_EQ(links.size(), 5u);
    EXPECT_EQ(links[0].friendlyName, "Silicon Labs CP210x USB to UART Bridge (COM1)");
    EXPECT_EQ(links[1].friendlyName, "");
    EXPECT_EQ(links[2].friendlyName, "");
    EXPECT_LE(links[3].friendlyName.size(), 512u);
    EXPECT_EQ(links[4].friendlyName, "");
}

TEST(PortDirectoryTest, RelativeAndCapitalisedLinks)
{
    testutil::TempDir tmp;
    testutil::ScopedEnv dir("COMPORTS_DIR", tmp.path());
    ASSERT_EQ(symlink("../dev/ttyUSB7", (tmp.path() + "/com9").c_str()), 0);
    ASSERT_EQ(symlink("/dev/ttyACM1", (tmp.path() + "/COM12").c_str()), 0);
    EXPECT_EQ(DeviceForComNumber(9), tmp.path() + "/../dev/ttyUSB7");
    EXPECT_EQ(DeviceForComNumber(12), "/dev/ttyACM1");
    EXPECT_EQ(ReadPortLinks().size(), 2u);
}
