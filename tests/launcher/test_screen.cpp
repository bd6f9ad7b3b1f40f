#include "artwork.h"
#include "form1.h"
#include "guikit.h"
#include "forms/internal.h"

#include <gtest/gtest.h>
#include <wx/dcclient.h>
#include <wx/image.h>
#include <wx/uiaction.h>
#include <wx/window.h>

#include <cstdlib>

namespace {

bool Same(const wxImage& a, const wxPoint& at, const wxImage& b, const wxPoint& from)
{
    return std::abs(a.GetRed(at.x, at.y) - b.GetRed(from.x, from.y)) <= 2 &&
           std::abs(a.GetGreen(at.x, at.y) - b.GetGreen(from.x, from.y)) <= 2 &&
           std::abs(a.GetBlue(at.x, at.y) - b.GetBlue(from.x, from.y)) <= 2;
}

class ScreenTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        form.Show();
        ASSERT_TRUE(guikit::PumpUntil([&] { return form.Window()->IsShownOnScreen(); }));
        form.Window()->Raise();
        guikit::Pump(300);
    }
    wxPoint OnScreen(const wxPoint& client) const { return form.Window()->ClientToScreen(client); }

    // Presses the left button at a client point, drags the pointer by `by`
    // and releases it there.
    void Drag(const wxPoint& from, const wxSize& by)
    {
        wxUIActionSimulator pointer;
        const wxPoint start = OnScreen(from);
        pointer.MouseMove(start);
        guikit::Pump(100);
        pointer.MouseDown();
        guikit::Pump(150);
        for (int step = 1; step <= 10; ++step) {
            pointer.MouseMove(start.x + by.x * step / 10, start.y + by.y * step / 10);
            guikit::Pump(40);
        }
        pointer.MouseUp();
        guikit::Pump(200);
    }

    guikit::ScriptedBoxes boxes;
    Form1 form{"/nonexistent-medium"};
};

}  // namespace

TEST_F(ScreenTest, TheWindowShowsItsPictures)
{
    wxWindow* window = form.Window();
    EXPECT_EQ(window->GetClientSize(), wxSize(431, 326));
    EXPECT_EQ(window->GetSize(), wxSize(431, 326)) << "no caption bar and no frame";

    const wxImage shot = guikit::Screenshot(window);
    ASSERT_TRUE(shot.SaveFile(SCREENSHOT_PATH, wxBITMAP_TYPE_PNG));

    // The background shows unscaled from the top-left corner.
    const wxImage background = artwork::Background();
    for (const wxPoint& p : {wxPoint(0, 0), wxPoint(430, 0), wxPoint(5, 100), wxPoint(100, 90), wxPoint(200, 70),
                             wxPoint(420, 200), wxPoint(0, 325), wxPoint(430, 325)}) {
        SCOPED_TRACE(p.x * 1000 + p.y);
        EXPECT_TRUE(Same(shot, p, background, p));
    }

    // The buttons' pictures at their places.
    const struct {
        const forms::Image& button;
        const char* word;
    } buttons[] = {{form.btn_conn, "Software"}, {form.Image1, "Drivers"}, {form.Image2, "Exit"}};
    for (const auto& b : buttons) {
        SCOPED_TRACE(b.word);
        const wxRect area = forms::Internals::Area(b.button);
        const wxImage picture = artwork::ButtonPicture(b.word, area.width, area.height);
        for (int y = 0; y < area.height; y += 3)
            for (int x = 0; x < area.width; x += 5)
                ASSERT_TRUE(Same(shot, area.GetPosition() + wxSize(x, y), picture, wxPoint(x, y))) << x << "," << y;
    }

    // The caption line: teal text that fits its area.
    const wxRect label = forms::Internals::Area(form.Label1);
    int tealPixels = 0;
    for (int y = label.y; y < label.GetBottom(); ++y)
        for (int x = label.x; x < label.GetRight(); ++x)
            tealPixels += shot.GetRed(x, y) < 90 && shot.GetGreen(x, y) > 100 && shot.GetGreen(x, y) < 175 &&
                          std::abs(shot.GetGreen(x, y) - shot.GetBlue(x, y)) < 20;
    EXPECT_GT(tealPixels, 150);
    wxClientDC dc(window);
    dc.SetFont(forms::Internals::Font(form.Label1));
    const wxSize text = dc.GetTextExtent(wxString::FromUTF8(forms::Internals::Caption(form.Label1)));
    EXPECT_LE(text.x, label.width);
    EXPECT_LE(text.y, label.height);
}

TEST_F(ScreenTest, DraggingTheBackgroundMovesTheWindow)
{
    const wxPoint before = form.Window()->GetScreenPosition();
    Drag(wxPoint(30, 200), wxSize(60, 40));
    EXPECT_TRUE(guikit::PumpUntil([&] { return form.Window()->GetScreenPosition() == before + wxSize(60, 40); }, 3000))
        << "now at " << form.Window()->GetScreenPosition().x << "," << form.Window()->GetScreenPosition().y;
    EXPECT_EQ(forms::Internals::MovesStarted(form), 1);
}

TEST_F(ScreenTest, DraggingTheLabelOrAButtonDoesNotMoveIt)
{
    const wxPoint before = form.Window()->GetScreenPosition();
    Drag(wxPoint(200, 304), wxSize(60, 40));  // the label
    Drag(wxPoint(100, 264), wxSize(60, 40));  // Software, released off it: no click
    guikit::Pump(200);
    EXPECT_EQ(form.Window()->GetScreenPosition(), before);
    EXPECT_EQ(forms::Internals::MovesStarted(form), 0);
    EXPECT_TRUE(boxes.Shown().empty());

    Drag(wxPoint(100, 264), wxSize(2, 2));  // a click on Software
    EXPECT_EQ(form.Window()->GetScreenPosition(), before);
    EXPECT_EQ(boxes.Shown().size(), 1u);
}
