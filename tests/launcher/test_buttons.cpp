#include "childkit.h"
#include "form1.h"
#include "guikit.h"
#include "medium.h"
#include "win32/testing.h"
#include "forms/internal.h"

#include <gtest/gtest.h>
#include <wx/toplevel.h>
#include <wx/window.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::wstring Wide(const std::string& ascii)
{
    return std::wstring(ascii.begin(), ascii.end());
}

class ButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        form.Show();
        ASSERT_TRUE(guikit::PumpUntil([&] { return form.Window()->IsShownOnScreen(); }));
    }

    void Press(const forms::Control& control)
    {
        const wxPoint centre = forms::Internals::Area(control).GetPosition() + forms::Internals::Area(control).GetSize() / 2;
        guikit::Click(form.Window(), centre.x, centre.y);
    }

    // Exactly one box was shown, by the launcher's window, with this text.
    void ExpectOneBox(const std::string& text)
    {
        const auto shown = boxes.Shown();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].text, Wide(text));
        EXPECT_EQ(shown[0].caption, L"Setwell");
        EXPECT_EQ(shown[0].type, MB_OK);
        EXPECT_EQ(shown[0].owner, form.hWnd());
        EXPECT_TRUE(forms::Internals::IsLoaded(form));
    }

    Medium medium;
    guikit::ScriptedBoxes boxes;
    Form1 form{medium.Path()};
    win32test::ScopedWindowsVersion version{VER_PLATFORM_WIN32_NT, 6, 1, 7601};
    win32test::ScopedWow64 wow64{win32test::ScopedWow64::Answer::Yes};
};

}  // namespace

TEST_F(ButtonTest, SoftwareStartsTheSetupProgram)
{
    const std::string setup = medium.AddInstaller("/Software/setup.exe");
    Press(form.btn_conn);
    ExpectStartedWithoutWaiting(setup);
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_TRUE(forms::Internals::IsLoaded(form));
}

TEST_F(ButtonTest, SoftwareWithoutItsFileSaysFileNotFound)
{
    Press(form.btn_conn);
    ExpectOneBox("File not found!\r\n" + medium.Path() + "/Software/setup.exe");
}

TEST_F(ButtonTest, SoftwareThatCannotStartSaysWhy)
{
    const std::string setup = medium.AddInstaller("/Software/setup.exe");
    ::chmod(setup.c_str(), 0644);
    Press(form.btn_conn);
    ExpectOneBox("Cannot start the setup program!\r\n" + setup + "\r\n" + setup + ": Permission denied");
}

TEST_F(ButtonTest, SoftwareWhoseFileTestFailsSaysWhy)
{
    const std::string setup = medium.At("/Software/setup.exe");
    std::filesystem::create_directories(medium.At("/Software"));
    ASSERT_EQ(::symlink(setup.c_str(), setup.c_str()), 0);
    Press(form.btn_conn);
    ExpectOneBox("Cannot start the setup program!\r\n" + setup + "\r\n" + setup +
                 ": Too many levels of symbolic links");
}

TEST(SoftwareFromTheRootFolder, KeepsTheDoubledSeparator)
{
    ASSERT_FALSE(std::filesystem::exists("/Software/setup.exe"));
    guikit::ScriptedBoxes boxes;
    Form1 form("/");
    form.btn_conn_Click();
    const auto shown = boxes.Shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, L"File not found!\r\n//Software/setup.exe");
}

TEST_F(ButtonTest, DriversStartTheInstallerForTheVersionAndBitness)
{
    using Wow64 = win32test::ScopedWow64::Answer;
    struct Case {
        DWORD platform;
        DWORD major, minor, build;
        Wow64 wow64;
        const char* installer;
    };
    const Case cases[] = {
        {2, 5, 1, 2600, Wow64::No, "/Software/Driver_xp/CP210xVCPInstaller.exe"},
        {2, 5, 1, 2600, Wow64::Yes, "/Software/Driver_xp/CP210xVCPInstaller.exe"},
        {2, 5, 2, 3790, Wow64::Yes, "/Software/Driver/CP210xVCPInstaller_x64.exe"},  // 64-bit XP
        {2, 5, 0, 2195, Wow64::Missing, "/Software/Driver/CP210xVCPInstaller_x86.exe"},
        {2, 6, 1, 7601, Wow64::No, "/Software/Driver/CP210xVCPInstaller_x86.exe"},
        {2, 6, 1, 7601, Wow64::Yes, "/Software/Driver/CP210xVCPInstaller_x64.exe"},
        {2, 10, 0, 19045, Wow64::Yes, "/Software/Driver/CP210xVCPInstaller_x64.exe"},
        {2, 10, 0, 19045, Wow64::No, "/Software/Driver/CP210xVCPInstaller_x86.exe"},
        {1, 4, 10, 1998, Wow64::Missing, "/Software/Driver/CP210xVCPInstaller_x86.exe"},
    };
    const std::string installers[] = {
        medium.AddInstaller("/Software/Driver_xp/CP210xVCPInstaller.exe"),
        medium.AddInstaller("/Software/Driver/CP210xVCPInstaller_x64.exe"),
        medium.AddInstaller("/Software/Driver/CP210xVCPInstaller_x86.exe"),
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.installer + (" on " + std::to_string(c.platform) + " " + std::to_string(c.major) + "." +
                                    std::to_string(c.minor) + " wow64 " + std::to_string(static_cast<int>(c.wow64))));
        win32test::ScopedWindowsVersion versionNow(c.platform, c.major, c.minor, c.build);
        win32test::ScopedWow64 wow64Now(c.wow64);
        Press(form.Image1);
        ExpectStartedWithoutWaiting(medium.At(c.installer));
        for (const std::string& other : installers)
            EXPECT_FALSE(std::filesystem::exists(other + ".started")) << other;
    }
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(ButtonTest, DriversWithoutTheInstallerSayFileNotFound)
{
    medium.AddInstaller("/Software/Driver/CP210xVCPInstaller_x86.exe");  // the other bitness's
    Press(form.Image1);
    ExpectOneBox("File not found!\r\n" + medium.Path() + "/Software/Driver/CP210xVCPInstaller_x64.exe");
}

TEST_F(ButtonTest, DriversThatCannotStartSayDriveTypeError)
{
    const std::string installer = medium.AddInstaller("/Software/Driver/CP210xVCPInstaller_x64.exe");
    ::chmod(installer.c_str(), 0644);
    Press(form.Image1);
    ExpectOneBox("Drive type error!");
}

TEST_F(ButtonTest, DriversWhoseFileTestFailsSayDriveTypeError)
{
    const std::string installer = medium.At("/Software/Driver/CP210xVCPInstaller_x64.exe");
    std::filesystem::create_directories(medium.At("/Software/Driver"));
    ASSERT_EQ(::symlink(installer.c_str(), installer.c_str()), 0);
    Press(form.Image1);
    ExpectOneBox("Drive type error!");
}

TEST_F(ButtonTest, ExitClosesTheWindow)
{
    wxWindow* window = form.Window();
    Press(form.Image2);
    EXPECT_FALSE(forms::Internals::IsLoaded(form));
    EXPECT_TRUE(guikit::PumpUntil([&] { return wxTopLevelWindows.Find(window) == nullptr; }));
    EXPECT_TRUE(boxes.Shown().empty());
}
