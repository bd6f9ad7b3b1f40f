#include <gtest/gtest.h>

#include "canvas.h"
#include "pixel_font.h"
#include "stroke_font.h"

namespace {

using namespace art::draw;

constexpr uint32_t kWhite = Rgb(255, 255, 255), kBlack = Rgb(0, 0, 0);

TEST(Shapes, EdgesAndCornersFollowTheirGeometry) {
  RoundRect rounded(0, 0, 20, 10, 4);
  EXPECT_TRUE(rounded.Contains(10, 5));
  EXPECT_TRUE(rounded.Contains(4, 0.1));
  EXPECT_FALSE(rounded.Contains(0.3, 0.3)) << "corner cut away";
  EXPECT_FALSE(rounded.Contains(20, 5)) << "right edge is open";
  EXPECT_FALSE(RoundRect(0, 0, 10, 10, 50).Contains(0.5, 0.5)) << "radius limited to half the side";
  EXPECT_TRUE(RoundRect(0, 0, 10, 10, 50).Contains(5, 5));

  Ellipse ellipse(10, 10, 8, 4);
  EXPECT_TRUE(ellipse.Contains(17.5, 10));
  EXPECT_FALSE(ellipse.Contains(10, 14.5));
  EXPECT_FALSE(Ellipse(0, 0, 0, 5).Contains(0, 0));

  // A star drawn as one self-crossing outline: non-zero winding fills the centre.
  Polygon star({{10, 0}, {16, 19}, {0, 7}, {20, 7}, {4, 19}});
  EXPECT_TRUE(star.Contains(10, 10));
  EXPECT_TRUE(star.Contains(10, 3));
  EXPECT_FALSE(star.Contains(1, 1));
  EXPECT_FALSE(Polygon({}).Contains(0, 0));

  Segment segment({0, 0}, {10, 0}, 2);
  EXPECT_TRUE(segment.Contains(5, 0.9));
  EXPECT_TRUE(segment.Contains(10.9, 0)) << "round end";
  EXPECT_FALSE(segment.Contains(5, 1.1));
  EXPECT_TRUE(Segment({3, 3}, {3, 3}, 2).Contains(3.5, 3.5)) << "a dot";
}

TEST(CanvasFill, SharpEdgesGivePureColoursSmoothEdgesBlend) {
  Canvas sharp(10, 10, kWhite);
  sharp.Fill(Ellipse(5, 5, 3.3, 3.3), kBlack, Edges::Sharp);
  Canvas smooth(10, 10, kWhite);
  smooth.Fill(Ellipse(5, 5, 3.3, 3.3), kBlack, Edges::Smooth);
  bool partial = false;
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 10; ++x) {
      uint32_t s = sharp.At(x, y);
      EXPECT_TRUE(s == kWhite || s == kBlack);
      partial |= smooth.At(x, y) != kWhite && smooth.At(x, y) != kBlack;
    }
  }
  EXPECT_TRUE(partial);
  EXPECT_EQ(smooth.At(5, 5), kBlack);
  EXPECT_EQ(smooth.At(0, 0), kWhite);
}

TEST(CanvasFill, BlendsOverTransparencyAndClipsAtTheBorder) {
  Canvas canvas(4, 4, kTransparent);
  canvas.Blend(0, 0, Rgb(200, 100, 0), 0.5);
  EXPECT_EQ(canvas.At(0, 0), 0x80C86400u) << "colour kept, alpha from coverage";
  canvas.Blend(0, 0, Rgb(200, 100, 0), 1.0);
  EXPECT_EQ(canvas.At(0, 0), Rgb(200, 100, 0));
  canvas.Fill(RectShape(-10, -10, 100, 100), kBlack);
  canvas.FillRect(2, 2, 50, 50, kWhite);
  canvas.Set(-1, 0, kWhite);
  canvas.Set(4, 4, kWhite);
  EXPECT_EQ(canvas.At(1, 1), kBlack);
  EXPECT_EQ(canvas.At(3, 3), kWhite);
  EXPECT_EQ(canvas.At(4, 0), kTransparent) << "outside reads transparent";

  art::Image crop = canvas.Crop(2, 2, 4, 4);
  ASSERT_EQ(crop.pixels.size(), 16u);
  EXPECT_EQ(crop.pixels[0], kWhite);
  EXPECT_EQ(crop.pixels[3], kTransparent);
  Canvas target(3, 3, kBlack);
  target.Paste(crop, 1, 1);
  EXPECT_EQ(target.At(1, 1), kWhite);
  EXPECT_EQ(target.At(0, 0), kBlack);
}

TEST(Colours, MixAndShadeStayInRange) {
  EXPECT_EQ(Mix(kBlack, kWhite, 0.5), Rgb(128, 128, 128));
  EXPECT_EQ(Mix(kBlack, kWhite, -3), kBlack);
  EXPECT_EQ(Mix(kBlack, kWhite, 7), kWhite);
  EXPECT_EQ(Shade(Rgb(100, 100, 100), 1.0), kWhite);
  EXPECT_EQ(Shade(Rgb(100, 100, 100), -1.0), kBlack);
  EXPECT_EQ(Shade(0x40646464u, 0.0) >> 24, 0x40u) << "alpha untouched";
}

int Ink(const Canvas& canvas, uint32_t ink) {
  int count = 0;
  for (uint32_t pixel : canvas.image().pixels) count += pixel != ink;
  return count;
}

TEST(PixelFonts, EveryCapitalAndDigitHasInkWithinItsCell) {
  for (PixelFont font : {PixelFont::Small, PixelFont::Normal}) {
    int cell_width = TextWidth("A", font), cell_height = TextHeight(font);
    for (char ch : std::string("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789/-.:")) {
      Canvas canvas(cell_width + 2, cell_height + 2, kWhite);
      DrawText(canvas, 1, 1, std::string(1, ch), font, kBlack);
      EXPECT_GT(Ink(canvas, kWhite), 0) << ch;
      for (int x = 0; x < canvas.width(); ++x) {
        EXPECT_EQ(canvas.At(x, 0), kWhite);
        EXPECT_EQ(canvas.At(x, canvas.height() - 1), kWhite);
      }
    }
    Canvas blank(20, 10, kWhite);
    DrawText(blank, 0, 0, " ?", font, kBlack);
    EXPECT_EQ(Ink(blank, kWhite), 0) << "characters without a glyph stay blank";
  }
  EXPECT_EQ(TextWidth("LEVEL", PixelFont::Normal), 29);
  EXPECT_EQ(TextWidth("REC", PixelFont::Small, 2), 22);
  EXPECT_EQ(TextWidth("", PixelFont::Small), 0);
}

TEST(StrokeFont, LetteringStaysInsideItsMeasuredBox) {
  StrokeStyle style{12, 2, kBlack};
  double width = StrokeTextWidth("KELVRA KV415", style);
  Canvas canvas(int(width) + 10, 22, kWhite);
  DrawStrokeText(canvas, 5, 5, "KELVRA KV415", style);
  int left = canvas.width(), right = -1, top = canvas.height(), bottom = -1;
  for (int y = 0; y < canvas.height(); ++y) {
    for (int x = 0; x < canvas.width(); ++x) {
      if (canvas.At(x, y) == kWhite) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  }
  EXPECT_EQ(left, 5);
  EXPECT_EQ(top, 5);
  EXPECT_EQ(bottom, 5 + 12 - 1);
  EXPECT_LE(right, 5 + int(width));
  EXPECT_GE(right, 5 + int(width) - 3);
}

}  // namespace
