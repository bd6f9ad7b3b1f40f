// The About box as the user sees it: its icon (156) is drawn with its own
// transparency, so the dialog's ground shows around the picture.
#include "gui_fixture.h"

#include "resource.h"
#include "support/tempdir.h"

#include <art/art.h>
#include <art/png.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

namespace {

using art::Image;

uint32_t Rgb(uint32_t pixel) { return pixel & 0xFFFFFFu; }

// Where the icon's opaque pixels all appear in the screenshot, or nothing.
std::optional<CPoint> FindIcon(const Image& shot, const Image& icon)
{
    for (int top = 0; top + icon.height <= shot.height; ++top) {
        for (int left = 0; left + icon.width <= shot.width; ++left) {
            bool match = true;
            for (int y = 0; y < icon.height && match; ++y) {
                for (int x = 0; x < icon.width && match; ++x) {
                    const uint32_t pixel = icon.pixels[size_t(y) * icon.width + x];
                    match = pixel >> 24 != 0xFF ||
                            Rgb(shot.pixels[size_t(top + y) * shot.width + left + x]) == Rgb(pixel);
                }
            }
            if (match)
                return CPoint(left, top);
        }
    }
    return std::nullopt;
}

TEST(AboutBox, IconShowsTheDialogsGroundAroundThePicture)
{
    const Image* icon = art::Find(art::Kind::Icon, IDI_ABOUT);
    ASSERT_NE(icon, nullptr);
    testutil::TempDir folder;
    // DECIBAR_SCREENSHOT_DIR keeps the picture for a look at it.
    const char* keep = std::getenv("DECIBAR_SCREENSHOT_DIR");
    const std::string path = std::string(keep ? keep : folder.path().c_str()) + "/about.png";
    DecibarInstance decibar;
    bool saved = false;
    AfxTestSetModalAnswerer([&](const AfxModalRequest& request) {
        if (request.dialog)
            saved = AfxTestSaveScreenshot(request.dialog, std::wstring(path.begin(), path.end()));
        return static_cast<int>(IDOK);
    });
    decibar.Command(ID_APP_ABOUT);
    AfxTestSetModalAnswerer({});
    ASSERT_TRUE(saved);
    const std::optional<Image> shot = art::ReadPng(path);
    ASSERT_TRUE(shot.has_value());

    const std::optional<CPoint> place = FindIcon(*shot, *icon);
    ASSERT_TRUE(place.has_value()) << "the icon's picture is not on the dialog";
    // The ground left of the icon is the dialog's; every transparent pixel of
    // the icon must show that ground, not the colour stored under it.
    ASSERT_GT(place->x, 0);
    const uint32_t ground = Rgb(shot->pixels[size_t(place->y) * shot->width + place->x - 1]);
    int transparent = 0;
    int wrong = 0;
    for (int y = 0; y < icon->height; ++y) {
        for (int x = 0; x < icon->width; ++x) {
            if (icon->pixels[size_t(y) * icon->width + x] >> 24 != 0)
                continue;
            ++transparent;
            const uint32_t shown = Rgb(shot->pixels[size_t(place->y + y) * shot->width + place->x + x]);
            if (shown != ground && wrong++ == 0)
                ADD_FAILURE() << "icon pixel " << x << "," << y << " shows " << std::hex << shown << ", not "
                              << ground;
        }
    }
    EXPECT_GT(transparent, 0);
    EXPECT_EQ(wrong, 0) << "of " << transparent << " transparent pixels";
}

} // namespace
