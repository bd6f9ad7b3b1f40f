#include "form1.h"
#include "guikit.h"
#include "forms/internal.h"

#include <gtest/gtest.h>
#include <wx/window.h>

namespace {

class MouseTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        form.Show();
        ASSERT_TRUE(guikit::PumpUntil([&] { return form.Window()->IsShownOnScreen(); }));
    }
    wxPoint Centre(const forms::Control& control) const
    {
        return forms::Internals::Area(control).GetPosition() + forms::Internals::Area(control).GetSize() / 2;
    }

    guikit::ScriptedBoxes boxes;
    Form1 form{"/nonexistent-medium"};
};

}  // namespace

TEST_F(MouseTest, PressOnTheBackgroundStartsAMoveAndOnLabelOrButtonsNot)
{
    wxWindow* window = form.Window();
    for (const forms::Control* control : {static_cast<const forms::Control*>(&form.Label1),
                                          static_cast<const forms::Control*>(&form.btn_conn),
                                          static_cast<const forms::Control*>(&form.Image1),
                                          static_cast<const forms::Control*>(&form.Image2)}) {
        const wxPoint at = Centre(*control);
        for (wxEventType press : {wxEVT_LEFT_DOWN, wxEVT_RIGHT_DOWN, wxEVT_MIDDLE_DOWN})
            guikit::SendMouse(window, press, at.x, at.y);
        guikit::SendMouse(window, wxEVT_LEFT_DOWN, forms::Internals::Area(*control).GetLeft(), forms::Internals::Area(*control).GetTop());
        guikit::SendMouse(window, wxEVT_LEFT_DOWN, forms::Internals::Area(*control).GetRight(), forms::Internals::Area(*control).GetBottom());
    }
    EXPECT_EQ(forms::Internals::MovesStarted(form), 0);

    guikit::SendMouse(window, wxEVT_LEFT_DOWN, 10, 10);
    EXPECT_EQ(forms::Internals::MovesStarted(form), 1);
    guikit::SendMouse(window, wxEVT_RIGHT_DOWN, 430, 325);
    EXPECT_EQ(forms::Internals::MovesStarted(form), 2);
    guikit::SendMouse(window, wxEVT_LEFT_DOWN, 55, 250);  // just left of Software
    guikit::SendMouse(window, wxEVT_LEFT_DOWN, 155, 260);  // between Software and Drivers
    guikit::SendMouse(window, wxEVT_LEFT_DOWN, 60, 300);   // left of the label
    EXPECT_EQ(forms::Internals::MovesStarted(form), 5);
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_TRUE(forms::Internals::IsLoaded(form));
}

TEST_F(MouseTest, ButtonsShowTheHandPointer)
{
    wxWindow* window = form.Window();
    for (const forms::Image* button : {&form.btn_conn, &form.Image1, &form.Image2}) {
        const wxPoint at = Centre(*button);
        guikit::SendMouse(window, wxEVT_MOTION, at.x, at.y);
        ASSERT_TRUE(window->GetCursor().IsOk());
        EXPECT_TRUE(window->GetCursor().IsSameAs(forms::Internals::MousePointer(form.btn_conn)));
    }
    const wxPoint onLabel = Centre(form.Label1);
    guikit::SendMouse(window, wxEVT_MOTION, onLabel.x, onLabel.y);
    EXPECT_FALSE(window->GetCursor().IsOk());
    guikit::SendMouse(window, wxEVT_MOTION, 200, 100);
    EXPECT_FALSE(window->GetCursor().IsOk());
}
