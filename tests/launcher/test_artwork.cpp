#include "artwork.h"

#include <gtest/gtest.h>
#include <wx/bitmap.h>
#include <wx/icon.h>

#include <algorithm>
#include <cstdlib>

namespace {

int Brightness(const wxImage& image, int x, int y)
{
    return image.GetRed(x, y) + image.GetGreen(x, y) + image.GetBlue(x, y);
}

}  // namespace

TEST(Artwork, BackgroundIsATealGradientWithTheMarkWhereItShows)
{
    const wxImage background = artwork::Background();
    ASSERT_EQ(background.GetSize(), wxSize(555, 456));
    EXPECT_FALSE(background.HasAlpha());
    EXPECT_LT(Brightness(background, 554, 0), Brightness(background, 554, 160));
    EXPECT_LT(Brightness(background, 554, 160), Brightness(background, 554, 320));
    EXPECT_LE(Brightness(background, 554, 320), Brightness(background, 554, 455));
    EXPECT_GT(background.GetGreen(554, 0), background.GetRed(554, 0) + 30) << "teal";
    EXPECT_GT(background.GetBlue(554, 0), background.GetRed(554, 0) + 30) << "teal";

    // Every row is one colour apart from the mark, which lies in the upper
    // half and inside the part the window shows.
    wxRect drawn;
    for (int y = 0; y < 456; ++y) {
        for (int x = 0; x < 555; ++x) {
            if (std::abs(Brightness(background, x, y) - Brightness(background, 554, y)) > 6)
                drawn = drawn.IsEmpty() ? wxRect(x, y, 1, 1) : drawn.Union(wxRect(x, y, 1, 1));
        }
    }
    ASSERT_FALSE(drawn.IsEmpty());
    EXPECT_GT(drawn.width * drawn.height, 100 * 60);
    EXPECT_LT(drawn.GetBottom(), 228);
    EXPECT_LT(drawn.GetRight(), 431);
}

TEST(Artwork, ButtonsAreRaisedWithBlackWords)
{
    for (const auto& [word, width, height] : {std::tuple{"Software", 89, 32}, {"Drivers", 91, 34}, {"Exit", 89, 34}}) {
        SCOPED_TRACE(word);
        const wxImage picture = artwork::ButtonPicture(word, width, height);
        ASSERT_EQ(picture.GetSize(), wxSize(width, height));
        EXPECT_GT(Brightness(picture, 0, 0), Brightness(picture, width - 1, height - 1) + 300) << "lit from the top left";
        EXPECT_GT(picture.GetGreen(width / 2, 4), picture.GetRed(width / 2, 4) + 50) << "teal";
        int black = 0;
        for (int y = 6; y < height - 6; ++y)
            for (int x = 6; x < width - 6; ++x)
                black += Brightness(picture, x, y) < 60;
        EXPECT_GT(black, 25);
    }
}

TEST(Artwork, HandPointerPointsWithItsFingertip)
{
    const wxImage hand = artwork::HandPointer();
    ASSERT_EQ(hand.GetSize(), wxSize(32, 32));
    ASSERT_TRUE(hand.HasAlpha());
    EXPECT_EQ(hand.GetOptionInt(wxIMAGE_OPTION_CUR_HOTSPOT_X), 12);
    EXPECT_EQ(hand.GetOptionInt(wxIMAGE_OPTION_CUR_HOTSPOT_Y), 1);
    EXPECT_EQ(hand.GetAlpha(12, 1), 255) << "the fingertip";
    EXPECT_EQ(hand.GetAlpha(12, 0), 255) << "its outline";
    EXPECT_EQ(hand.GetAlpha(0, 0), 0);
    EXPECT_EQ(hand.GetAlpha(31, 31), 0);
    EXPECT_EQ(hand.GetAlpha(4, 4), 0);
    EXPECT_GT(hand.GetBlue(17, 28), hand.GetRed(17, 28) + 100) << "a blue cuff";
    EXPECT_GT(Brightness(hand, 12, 8), 700) << "a white finger";
}

TEST(Artwork, WindowIconIs48PixelsFirst)
{
    const wxIconBundle icons = artwork::WindowIcon();
    ASSERT_EQ(icons.GetIconCount(), 3u);
    EXPECT_EQ(icons.GetIconByIndex(0).GetWidth(), 48);
    EXPECT_EQ(icons.GetIconByIndex(0).GetHeight(), 48);
    EXPECT_EQ(icons.GetIconByIndex(1).GetWidth(), 32);
    EXPECT_EQ(icons.GetIconByIndex(2).GetWidth(), 16);
}
