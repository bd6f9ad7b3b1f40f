#include "forms/controls.h"
#include "forms/form.h"
#include "guikit.h"

#include <gtest/gtest.h>
#include <wx/image.h>
#include <wx/window.h>

namespace {

// Red and green tell a pixel's place, so any scaling or offset shows.
wxImage PositionPicture(int width, int height)
{
    wxImage picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.SetRGB(x, y, static_cast<unsigned char>(x), static_cast<unsigned char>(y), 40);
    return picture;
}

bool Near(const wxImage& image, int x, int y, int r, int g, int b)
{
    return std::abs(image.GetRed(x, y) - r) <= 2 && std::abs(image.GetGreen(x, y) - g) <= 2 &&
           std::abs(image.GetBlue(x, y) - b) <= 2;
}

}  // namespace

TEST(FormScreen, PictureUnscaledFromTheTopLeftWithControlsOverIt)
{
    forms::Form form("screen", 200, 120);
    form.SetPicture(wxBitmap(PositionPicture(250, 250)));
    forms::Image image(form, 10, 80, 40, 20);
    image.SetPicture(wxBitmap(wxImage(60, 60)));  // black, larger than its area
    forms::Label label(form, 100, 90, 90, 17);
    label.SetCaption("XXXXXXXX");
    label.SetForeColor(wxColour(0, 0, 255));
    form.Show();
    ASSERT_TRUE(guikit::PumpUntil([&] { return form.Window()->IsShownOnScreen(); }));
    guikit::Pump(300);

    const wxImage shot = guikit::Screenshot(form.Window());
    ASSERT_EQ(shot.GetSize(), wxSize(200, 120));
    for (const wxPoint& p : {wxPoint(0, 0), wxPoint(199, 0), wxPoint(0, 119), wxPoint(199, 119), wxPoint(75, 40)}) {
        SCOPED_TRACE(p.x * 1000 + p.y);
        EXPECT_TRUE(Near(shot, p.x, p.y, p.x, p.y, 40));
    }
    EXPECT_TRUE(Near(shot, 10, 80, 0, 0, 0));
    EXPECT_TRUE(Near(shot, 49, 99, 0, 0, 0));
    EXPECT_TRUE(Near(shot, 50, 99, 50, 99, 40)) << "the picture is clipped to the control's area";
    EXPECT_TRUE(Near(shot, 49, 100, 49, 100, 40));

    int bluePixels = 0;
    for (int y = 90; y < 107; ++y)
        for (int x = 100; x < 190; ++x)
            bluePixels += shot.GetBlue(x, y) > 200 && shot.GetRed(x, y) < 120;
    EXPECT_GT(bluePixels, 40) << "the label's text";
}
