#include "forms/controls.h"
#include "forms/form.h"
#include "forms/user32.h"
#include "guikit.h"
#include "win32/errors.h"
#include "win32/internal.h"
#include "forms/internal.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/toplevel.h>
#include <wx/window.h>

#include <vector>

namespace {

struct Press {
    int button, shift, x, y;
};

class TestForm : public forms::Form {
public:
    TestForm() : forms::Form("test", 300, 200) {}
    void Form_MouseDown(int button, int shift, int x, int y) override { presses.push_back({button, shift, x, y}); }
    std::vector<Press> presses;
};

class FormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        button.Click = [this] { ++clicks; };
        label.SetCaption("notice");
        button.SetMousePointer(wxCursor(wxCURSOR_HAND));
    }
    void Show()
    {
        form.Show();
        ASSERT_TRUE(guikit::PumpUntil([&] { return form.Window()->IsShownOnScreen(); }));
    }

    TestForm form;
    forms::Image button{form, 20, 150, 80, 30};
    forms::Label label{form, 120, 160, 150, 17};
    int clicks = 0;
};

}  // namespace

TEST_F(FormTest, LeftClickOnAPictureButtonRunsItsClick)
{
    wxWindow* window = form.Window();
    guikit::Click(window, 25, 155);
    EXPECT_EQ(clicks, 1);
    guikit::Click(window, 99, 179);  // last pixel of the area
    EXPECT_EQ(clicks, 2);

    // Released elsewhere, or pressed elsewhere and released on it: no click.
    guikit::SendMouse(window, wxEVT_LEFT_DOWN, 30, 160);
    guikit::SendMouse(window, wxEVT_LEFT_UP, 150, 100);
    guikit::SendMouse(window, wxEVT_LEFT_DOWN, 150, 100);
    guikit::SendMouse(window, wxEVT_LEFT_UP, 30, 160);
    // Other buttons do not click.
    guikit::SendMouse(window, wxEVT_RIGHT_DOWN, 30, 160);
    guikit::SendMouse(window, wxEVT_RIGHT_UP, 30, 160);
    EXPECT_EQ(clicks, 2);
    // A double click is one click.
    guikit::Click(window, 30, 160);
    guikit::SendMouse(window, wxEVT_LEFT_DCLICK, 30, 160);
    guikit::SendMouse(window, wxEVT_LEFT_UP, 30, 160);
    EXPECT_EQ(clicks, 3);
    // Presses on controls never reach the background's handler.
    EXPECT_EQ(form.presses.size(), 1u);  // only the press at (150, 100)
}

TEST_F(FormTest, PressesOnTheBackgroundReachFormMouseDown)
{
    wxWindow* window = form.Window();
    guikit::SendMouse(window, wxEVT_LEFT_DOWN, 10, 10);
    guikit::SendMouse(window, wxEVT_RIGHT_DOWN, 299, 199, true);
    guikit::SendMouse(window, wxEVT_MIDDLE_DOWN, 19, 150);  // just left of the button
    guikit::SendMouse(window, wxEVT_LEFT_DOWN, 130, 170);   // on the label
    guikit::SendMouse(window, wxEVT_LEFT_DCLICK, 10, 10);   // a double click's second press
    ASSERT_EQ(form.presses.size(), 4u);
    EXPECT_EQ(form.presses[0].button, forms::vbLeftButton);
    EXPECT_EQ(form.presses[0].shift, 0);
    EXPECT_EQ(form.presses[1].button, forms::vbRightButton);
    EXPECT_EQ(form.presses[1].shift, forms::vbShiftMask);
    EXPECT_EQ(form.presses[1].x, 299);
    EXPECT_EQ(form.presses[1].y, 199);
    EXPECT_EQ(form.presses[2].button, forms::vbMiddleButton);
    EXPECT_EQ(form.presses[3].button, forms::vbLeftButton);
}

TEST_F(FormTest, ButtonsShowTheirPointerAndTheRestTheArrow)
{
    wxWindow* window = form.Window();
    guikit::SendMouse(window, wxEVT_MOTION, 50, 160);
    EXPECT_TRUE(window->GetCursor().IsOk());
    EXPECT_TRUE(window->GetCursor().IsSameAs(forms::Internals::MousePointer(button)));
    guikit::SendMouse(window, wxEVT_MOTION, 130, 165);
    EXPECT_FALSE(window->GetCursor().IsOk());
    guikit::SendMouse(window, wxEVT_MOTION, 50, 160);
    guikit::SendMouse(window, wxEVT_MOTION, 10, 10);
    EXPECT_FALSE(window->GetCursor().IsOk());
}

TEST_F(FormTest, BorderlessWithTheClientSizeAsked)
{
    Show();
    EXPECT_EQ(form.Window()->GetClientSize(), wxSize(300, 200));
    EXPECT_EQ(form.Window()->GetSize(), wxSize(300, 200));
    EXPECT_TRUE(form.Window()->HasFlag(wxBORDER_NONE));
}

TEST_F(FormTest, CaptionMoveStartsOnlyForAShownForm)
{
    SetLastError(0);
    EXPECT_EQ(SendMessageA(form.hWnd(), WM_NCLBUTTONDOWN, HTCAPTION, 0), 0);
    EXPECT_EQ(forms::Internals::MovesStarted(form), 0) << "hidden";

    Show();
    EXPECT_EQ(ReleaseCapture(), TRUE);
    EXPECT_EQ(SendMessageA(form.hWnd(), WM_NCLBUTTONDOWN, HTCAPTION, 0), 0);
    EXPECT_EQ(forms::Internals::MovesStarted(form), 1);

    SetLastError(0);
    EXPECT_EQ(SendMessageA(form.hWnd(), WM_NCLBUTTONDOWN, 1 /* client area */, 0), 0);
    EXPECT_EQ(GetLastError(), ERROR_NOT_SUPPORTED);
    EXPECT_EQ(SendMessageA(form.hWnd(), 0x0010 /* WM_CLOSE */, 0, 0), 0);
    EXPECT_EQ(forms::Internals::MovesStarted(form), 1);
    EXPECT_TRUE(forms::Internals::IsLoaded(form));
}

TEST_F(FormTest, UnloadDestroysTheWindowAndItsHandle)
{
    Show();
    const HWND handle = form.hWnd();
    ASSERT_NE(handle, nullptr);
    wxWindow* window = form.Window();
    form.Unload();
    EXPECT_FALSE(forms::Internals::IsLoaded(form));
    EXPECT_EQ(form.hWnd(), nullptr);
    EXPECT_EQ(form.Window(), nullptr);
    SetLastError(0);
    EXPECT_EQ(SendMessageA(handle, WM_NCLBUTTONDOWN, HTCAPTION, 0), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    EXPECT_TRUE(guikit::PumpUntil([&] { return wxTopLevelWindows.Find(window) == nullptr; }));
    form.Unload();  // again: nothing left to do
}

TEST(FormLifetime, ClosingByTheDesktopUnloads)
{
    TestForm form;
    form.Show();
    ASSERT_TRUE(form.Window()->Close());
    EXPECT_FALSE(forms::Internals::IsLoaded(form));
    guikit::Pump(50);
}

TEST(FormLifetime, AFormDestroyedFirstLeavesNoHandle)
{
    HWND handle = nullptr;
    {
        TestForm form;
        forms::Image image(form, 0, 0, 10, 10);
        handle = form.hWnd();
    }
    SetLastError(0);
    EXPECT_EQ(SendMessageA(handle, WM_NCLBUTTONDOWN, HTCAPTION, 0), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    guikit::Pump(50);
}
