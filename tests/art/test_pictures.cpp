#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "art/art.h"
#include "art/catalog.h"
#include "art/icon_sizes.h"

namespace {

using art::Find;
using art::Image;
using art::Kind;

constexpr uint32_t kDisplay = 0xFF808C80;  // RGB(128,140,128)
constexpr uint32_t kToolBarFace = 0xFFC0C0C0;

uint32_t At(const Image& image, int x, int y) { return image.pixels[size_t(y) * size_t(image.width) + size_t(x)]; }

int Luminance(uint32_t pixel) {
  return (int((pixel >> 16) & 0xFF) * 3 + int((pixel >> 8) & 0xFF) * 6 + int(pixel & 0xFF)) / 10;
}

struct Size {
  int width, height;
};

// The sizes the program's windows and drawing code rely on.
const std::map<unsigned, Size>& ExpectedBitmaps() {
  static const std::map<unsigned, Size> sizes = {
      {128, {119, 15}}, {130, {195, 461}}, {131, {7, 8}},   {132, {25, 53}}, {133, {25, 53}},
      {134, {25, 53}},  {135, {25, 53}},   {136, {25, 53}}, {137, {25, 53}}, {138, {25, 53}},
      {139, {25, 53}},  {140, {25, 53}},   {141, {25, 53}}, {142, {1, 7}},   {149, {27, 24}},
      {150, {32, 30}},  {151, {38, 23}},   {152, {38, 22}}, {153, {39, 22}}, {154, {23, 25}},
      {155, {105, 26}}, {157, {195, 461}},
  };
  return sizes;
}

TEST(PictureCatalog, EveryPictureHasItsSizeAndAllItsPixels) {
  for (const auto& [id, size] : ExpectedBitmaps()) {
    const Image* image = Find(Kind::Bitmap, id);
    ASSERT_NE(image, nullptr) << "bitmap " << id;
    EXPECT_EQ(image->width, size.width) << "bitmap " << id;
    EXPECT_EQ(image->height, size.height) << "bitmap " << id;
    EXPECT_EQ(image->pixels.size(), size_t(size.width) * size_t(size.height)) << "bitmap " << id;
  }
  for (unsigned id : {128u, 129u, 156u}) {
    const Image* icon = Find(Kind::Icon, id);
    ASSERT_NE(icon, nullptr) << "icon " << id;
    EXPECT_EQ(icon->width, 32);
    EXPECT_EQ(icon->height, 32);
    EXPECT_EQ(icon->pixels.size(), 32u * 32u);
  }
  const Image* small = art::FindIcon(129, 16);
  ASSERT_NE(small, nullptr);
  EXPECT_EQ(small->width, 16);
  EXPECT_EQ(small->height, 16);
  EXPECT_EQ(small->pixels.size(), 16u * 16u);
  EXPECT_EQ(art::FindIcon(129, 32), Find(Kind::Icon, 129));
  // A picture loaded for a caller to keep is the same picture.
  for (unsigned id : {128u, 130u, 142u, 157u}) {
    const Image loaded = art::Load(Kind::Bitmap, id);
    EXPECT_EQ(loaded.width, Find(Kind::Bitmap, id)->width) << "bitmap " << id;
    EXPECT_EQ(loaded.pixels, Find(Kind::Bitmap, id)->pixels) << "bitmap " << id;
  }
  EXPECT_EQ(art::Load(Kind::Icon, 156).pixels, Find(Kind::Icon, 156)->pixels);
}

TEST(PictureCatalog, UnknownNumbersAndSizesGiveNothing) {
  for (unsigned id : {0u, 1u, 127u, 129u, 143u, 148u, 156u, 158u, 65535u, 0xFFFFFFFFu}) {
    EXPECT_EQ(Find(Kind::Bitmap, id), nullptr) << "bitmap " << id;
  }
  for (unsigned id : {0u, 127u, 130u, 149u, 155u, 157u}) EXPECT_EQ(Find(Kind::Icon, id), nullptr) << "icon " << id;
  EXPECT_EQ(art::Load(Kind::Bitmap, 129).width, 0);
  EXPECT_EQ(art::Load(Kind::Icon, 130).width, 0);
  EXPECT_EQ(art::FindIcon(128, 16), nullptr);
  EXPECT_EQ(art::FindIcon(129, 0), nullptr);
  EXPECT_EQ(art::FindIcon(129, -16), nullptr);
  EXPECT_EQ(art::FindIcon(129, 48), nullptr);
  EXPECT_EQ(art::FindIcon(130, 32), nullptr);
}

TEST(PictureCatalog, ListsEveryPictureOnceAndEachResolves) {
  std::set<std::string> names;
  std::set<std::tuple<Kind, unsigned, int>> keys;
  for (const art::CatalogEntry& entry : art::Catalog()) {
    EXPECT_TRUE(names.insert(entry.name).second) << entry.name;
    EXPECT_TRUE(keys.insert({entry.kind, entry.id, entry.size}).second) << entry.name;
    const Image* image = entry.size == 0 ? Find(entry.kind, entry.id) : art::FindIcon(entry.id, entry.size);
    EXPECT_NE(image, nullptr) << entry.name;
  }
  EXPECT_EQ(keys.size(), ExpectedBitmaps().size() + 4);
  EXPECT_EQ(Find(Kind::Bitmap, 130), Find(Kind::Bitmap, 130)) << "drawn once and kept";
}

TEST(PictureCatalog, BitmapsAreOpaqueAndIconsHaveAHardMask) {
  for (const auto& [id, size] : ExpectedBitmaps()) {
    const Image* image = Find(Kind::Bitmap, id);
    ASSERT_NE(image, nullptr);
    for (uint32_t pixel : image->pixels) ASSERT_EQ(pixel >> 24, 0xFFu) << "bitmap " << id;
  }
  for (const Image* icon : {Find(Kind::Icon, 128), Find(Kind::Icon, 129), art::FindIcon(129, 16)}) {
    ASSERT_NE(icon, nullptr);
    size_t transparent = 0;
    for (uint32_t pixel : icon->pixels) {
      uint32_t alpha = pixel >> 24;
      ASSERT_TRUE(alpha == 0 || alpha == 0xFF);
      transparent += alpha == 0;
    }
    EXPECT_GT(transparent, 0u);
    EXPECT_LT(transparent, icon->pixels.size() / 2);
  }
}

TEST(PictureCatalog, AboutIconIsTheMainIcon) {
  const Image* main = Find(Kind::Icon, 128);
  const Image* about = Find(Kind::Icon, 156);
  ASSERT_NE(main, nullptr);
  ASSERT_NE(about, nullptr);
  EXPECT_EQ(main->pixels, about->pixels);
}

TEST(MeterFace, DisplayWindowAndItsMarginsHaveTheDisplayColour) {
  const Image& face = *Find(Kind::Bitmap, 130);
  for (int y = 42; y < 42 + 140; ++y) {
    for (int x = 45; x < 45 + 106; ++x) ASSERT_EQ(At(face, x, y), kDisplay) << x << "," << y;
  }
  // The hundreds digit is copied from x 43 and the top annunciators from y 40,
  // a little outside the window the view fills.
  for (int y = 116; y < 116 + 53; ++y) {
    EXPECT_EQ(At(face, 43, y), kDisplay) << y;
    EXPECT_EQ(At(face, 44, y), kDisplay) << y;
  }
  for (int x = 45; x < 151; ++x) {
    EXPECT_EQ(At(face, x, 40), kDisplay) << x;
    EXPECT_EQ(At(face, x, 41), kDisplay) << x;
  }
}

TEST(MeterFace, IdleFaceShowsADarkDisplay) {
  const Image& face = *Find(Kind::Bitmap, 130);
  const Image& idle = *Find(Kind::Bitmap, 157);
  long face_sum = 0, idle_sum = 0, differing = 0;
  for (int y = 42; y < 182; ++y) {
    for (int x = 45; x < 151; ++x) {
      face_sum += Luminance(At(face, x, y));
      idle_sum += Luminance(At(idle, x, y));
    }
  }
  for (size_t i = 0; i < face.pixels.size(); ++i) differing += face.pixels[i] != idle.pixels[i];
  EXPECT_LT(idle_sum * 3, face_sum * 2) << "the switched-off display is clearly darker";
  // Outside the display both pictures are the same instrument.
  EXPECT_LT(differing, 160 * 160);
  EXPECT_EQ(At(face, 97, 300), At(idle, 97, 300));
}

struct KeyPlace {
  unsigned bitmap;
  int x, y, shown_width, shown_height;
};
// Normal places of the keys and the part of each picture shown there.
constexpr KeyPlace kKeys[] = {
    {150, 124, 401, 32, 30}, {149, 47, 201, 25, 23}, {153, 50, 330, 35, 22},
    {154, 86, 238, 22, 22},  {152, 78, 362, 35, 22}, {151, 78, 298, 35, 23},
};

TEST(MeterFace, KeyPicturesMatchTheFaceAtTheirPlaces) {
  const Image& face = *Find(Kind::Bitmap, 130);
  for (const KeyPlace& key : kKeys) {
    const Image& cap = *Find(Kind::Bitmap, key.bitmap);
    for (int y = 0; y < key.shown_height; ++y) {
      for (int x = 0; x < key.shown_width; ++x) {
        ASSERT_EQ(At(cap, x, y), At(face, key.x + x, key.y + y)) << "key " << key.bitmap << " at " << x << "," << y;
      }
    }
    // A key is a visible object, not a patch of plain housing.
    std::set<uint32_t> colours(cap.pixels.begin(), cap.pixels.end());
    EXPECT_GT(colours.size(), 8u) << "key " << key.bitmap;
  }
  std::set<std::vector<uint32_t>> distinct;
  for (const KeyPlace& key : kKeys) distinct.insert(Find(Kind::Bitmap, key.bitmap)->pixels);
  EXPECT_EQ(distinct.size(), 6u);
}

bool IsDark(uint32_t pixel) { return Luminance(pixel) < 60; }

// A point well inside each segment, a to g (top, upper right, lower right,
// bottom, lower left, upper left, middle), allowing for the digits' lean.
constexpr struct {
  char segment;
  int x, y;
} kSegmentProbes[] = {
    {'a', 15, 4}, {'b', 20, 15}, {'c', 19, 37}, {'d', 12, 48}, {'e', 6, 37}, {'f', 7, 15}, {'g', 13, 26},
};

TEST(DisplayDigits, EachDigitLightsItsSegments) {
  const char* const kLit[10] = {"abcdef", "bc", "abdeg", "abcdg", "bcfg", "acdfg", "acdefg", "abc", "abcdefg", "abcdfg"};
  for (int d = 0; d < 10; ++d) {
    const Image& digit = *Find(Kind::Bitmap, 132 + d);
    for (const auto& probe : kSegmentProbes) {
      bool lit = std::string(kLit[d]).find(probe.segment) != std::string::npos;
      uint32_t pixel = At(digit, probe.x, probe.y);
      if (lit) {
        EXPECT_TRUE(IsDark(pixel)) << "digit " << d << " segment " << probe.segment;
      } else {
        EXPECT_EQ(pixel, kDisplay) << "digit " << d << " segment " << probe.segment;
      }
    }
    // The decimal point is copied over the two left columns of the tenths
    // digit, and the corners are plain display.
    for (int y = 0; y < 53; ++y) {
      EXPECT_EQ(At(digit, 0, y), kDisplay);
      EXPECT_EQ(At(digit, 1, y), kDisplay);
    }
    EXPECT_EQ(At(digit, 24, 52), kDisplay);
  }
  std::set<std::vector<uint32_t>> distinct;
  for (int d = 0; d < 10; ++d) distinct.insert(Find(Kind::Bitmap, 132 + d)->pixels);
  EXPECT_EQ(distinct.size(), 10u);
}

TEST(DisplayDigits, PointAndBarSegmentAreDarkOnTheDisplay) {
  const Image& point = *Find(Kind::Bitmap, 131);
  EXPECT_TRUE(IsDark(At(point, 3, 5)));
  EXPECT_EQ(At(point, 0, 0), kDisplay);
  EXPECT_EQ(At(point, 6, 0), kDisplay);
  EXPECT_EQ(At(point, 6, 7), kDisplay);
  // Copied at (120, 159) beside digits copied at y 116: the dot sits on the
  // digits' bottom segment line.
  const Image& eight = *Find(Kind::Bitmap, 140);
  EXPECT_TRUE(IsDark(At(eight, 12, 159 + 5 - 116)));

  const Image& bar = *Find(Kind::Bitmap, 142);
  for (uint32_t pixel : bar.pixels) EXPECT_TRUE(IsDark(pixel));
}

// The straight edges of every lit segment lie on whole pixels: the segment's
// body is solid and the pixels beside its long sides are plain display, with no
// blended row or column between them.
TEST(DisplayDigits, SegmentEdgesAreSharp) {
  struct Body {
    char segment;
    int x0, y0, x1, y1;  // solid pixels, half-open
    bool horizontal;
  };
  constexpr Body kBodies[] = {
      {'a', 9, 2, 15, 7, true},   {'b', 16, 8, 21, 23, false}, {'c', 16, 30, 21, 45, false},
      {'d', 9, 46, 15, 51, true}, {'e', 3, 30, 8, 45, false},  {'f', 3, 8, 8, 23, false},
      {'g', 9, 24, 15, 29, true},
  };
  const char* const kLit[10] = {"abcdef", "bc", "abdeg", "abcdg", "bcfg", "acdfg", "acdefg", "abc", "abcdefg", "abcdfg"};
  const uint32_t lit = At(*Find(Kind::Bitmap, 140), 12, 26);
  ASSERT_TRUE(IsDark(lit));
  for (int d = 0; d < 10; ++d) {
    const Image& digit = *Find(Kind::Bitmap, 132 + d);
    for (const Body& body : kBodies) {
      if (std::string(kLit[d]).find(body.segment) == std::string::npos) continue;
      for (int y = body.y0; y < body.y1; ++y) {
        for (int x = body.x0; x < body.x1; ++x) ASSERT_EQ(At(digit, x, y), lit) << d << body.segment << x << "," << y;
      }
      if (body.horizontal) {
        for (int x = body.x0; x < body.x1; ++x) {
          EXPECT_EQ(At(digit, x, body.y0 - 1), kDisplay) << "digit " << d << " above " << body.segment;
          EXPECT_EQ(At(digit, x, body.y1), kDisplay) << "digit " << d << " below " << body.segment;
        }
      } else {
        for (int y = body.y0; y < body.y1; ++y) {
          EXPECT_EQ(At(digit, body.x0 - 1, y), kDisplay) << "digit " << d << " left of " << body.segment;
          EXPECT_EQ(At(digit, body.x1, y), kDisplay) << "digit " << d << " right of " << body.segment;
        }
      }
    }
  }
  for (uint32_t pixel : Find(Kind::Bitmap, 142)->pixels) EXPECT_EQ(pixel, lit) << "bar segment";
}

// Palette pictures are drawn without smoothing: no pixel is a blend of two
// palette colours, which on the tool bar would show as a grey fringe.
TEST(PalettePictures, ToolBarAndIconsUseOnlyTheSixteenColours) {
  const std::set<uint32_t> palette = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                      0x008080, 0x808080, 0xC0C0C0, 0xFF0000, 0x00FF00, 0xFFFF00,
                                      0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
  auto count_strays = [&](const Image& image) {
    int strays = 0;
    for (uint32_t pixel : image.pixels) strays += (pixel >> 24) == 0xFF && palette.count(pixel & 0xFFFFFF) == 0;
    return strays;
  };
  EXPECT_EQ(count_strays(*Find(Kind::Bitmap, 128)), 0) << "tool bar";
  for (const Image* icon : {Find(Kind::Icon, 128), Find(Kind::Icon, 129), art::FindIcon(129, 16)}) {
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(count_strays(*icon), 0) << "icon " << icon->width;
  }
}

bool Contains(const Image& image, int x0, int width, uint32_t colour) {
  for (int y = 0; y < image.height; ++y) {
    for (int x = x0; x < x0 + width; ++x) {
      if (At(image, x, y) == colour) return true;
    }
  }
  return false;
}

TEST(ToolBar, SevenDistinctButtonsOnTheButtonFace) {
  const Image& strip = *Find(Kind::Bitmap, 128);
  std::set<std::vector<uint32_t>> buttons;
  for (int b = 0; b < 7; ++b) {
    std::vector<uint32_t> pixels;
    int face = 0;
    for (int y = 0; y < 15; ++y) {
      for (int x = b * 17; x < b * 17 + 17; ++x) {
        pixels.push_back(At(strip, x, y));
        face += At(strip, x, y) == kToolBarFace;
      }
    }
    EXPECT_GT(face, 17 * 15 / 5) << "button " << b << " keeps a visible ground";
    EXPECT_LT(face, 17 * 15 * 4 / 5) << "button " << b << " has a picture";
    buttons.insert(pixels);
  }
  EXPECT_EQ(buttons.size(), 7u);
  constexpr uint32_t kYellow = 0xFFFFFF00, kRed = 0xFFFF0000;
  EXPECT_TRUE(Contains(strip, 3 * 17, 17, kYellow)) << "Run: yellow lightning";
  EXPECT_TRUE(Contains(strip, 4 * 17, 17, kRed)) << "Stop: red sign";
  EXPECT_TRUE(Contains(strip, 6 * 17, 17, kYellow)) << "Contents: yellow question mark";
}

}  // namespace
