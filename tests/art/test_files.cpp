// The pictures as the build puts them into the program, the SVG drawing behind
// every picture, and the PNG files the tools and tests use.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "art/catalog.h"
#include "art/icon_sizes.h"
#include "art/png.h"
#include "picture_sources.h"
#include "support/tempdir.h"
#include "svg.h"

namespace {

using art::DrawSvg;
using art::Image;

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

uint32_t At(const Image& image, int x, int y) { return image.pixels[size_t(y) * size_t(image.width) + size_t(x)]; }

int Channel(uint32_t pixel, int shift) { return int((pixel >> shift) & 0xFF); }

TEST(ProgramPictures, EachIsItsSvgFilesDrawnPixelForPixel) {
  const std::vector<art::DrawnPicture> drawn = art::DrawPictures(
      [](const std::string& name) { return ReadFile(std::string(DECIBAR_PICTURE_DIR) + "/" + name); });
  ASSERT_EQ(drawn.size(), art::Catalog().size());
  for (size_t i = 0; i < drawn.size(); ++i) {
    const art::CatalogEntry& entry = art::Catalog()[i];
    EXPECT_STREQ(drawn[i].entry.name, entry.name);
    const Image* carried = entry.size == 0 ? art::Find(entry.kind, entry.id) : art::FindIcon(entry.id, entry.size);
    ASSERT_NE(carried, nullptr) << entry.name;
    ASSERT_GT(drawn[i].image.width, 0) << entry.name;
    EXPECT_EQ(carried->width, drawn[i].image.width) << entry.name;
    EXPECT_EQ(carried->height, drawn[i].image.height) << entry.name;
    EXPECT_TRUE(carried->pixels == drawn[i].image.pixels) << entry.name;
  }
}

TEST(ProgramPictures, MissingFilesGiveEmptyPictures) {
  const std::vector<art::DrawnPicture> drawn = art::DrawPictures([](const std::string& name) {
    return name == "digits.svg" ? std::string() : ReadFile(std::string(DECIBAR_PICTURE_DIR) + "/" + name);
  });
  for (const art::DrawnPicture& picture : drawn) {
    const bool digit = picture.entry.id >= 132 && picture.entry.id <= 141 && picture.entry.kind == art::Kind::Bitmap;
    EXPECT_EQ(picture.image.width == 0, digit) << picture.entry.name;
  }
}

std::string Svg(int width, int height, const std::string& body) {
  return "<svg xmlns='http://www.w3.org/2000/svg' width='" + std::to_string(width) + "' height='" +
         std::to_string(height) + "'>" + body + "</svg>";
}

TEST(DrawSvg, LayersAreDrawnOneOverTheOtherAtTheFirstOnesSize) {
  const std::string ground = Svg(4, 3, "<rect width='4' height='3' fill='#ff0000'/>");
  const std::string over = Svg(4, 3, "<rect width='2' height='3' fill='#0000ff'/><rect x='3' y='2' width='1' height='1' fill='#00ff00'/>");
  Image image = DrawSvg({ground, over});
  ASSERT_EQ(image.width, 4);
  ASSERT_EQ(image.height, 3);
  ASSERT_EQ(image.pixels.size(), 12u);
  EXPECT_EQ(At(image, 0, 0), 0xFF0000FFu);
  EXPECT_EQ(At(image, 1, 2), 0xFF0000FFu);
  EXPECT_EQ(At(image, 2, 0), 0xFFFF0000u);
  EXPECT_EQ(At(image, 3, 1), 0xFFFF0000u);
  EXPECT_EQ(At(image, 3, 2), 0xFF00FF00u);
}

TEST(DrawSvg, PartlyTransparentPixelsKeepTheirOwnColour) {
  Image image = DrawSvg({Svg(3, 1, "<rect width='2' height='1' fill='#ff8040' fill-opacity='0.5'/>")});
  ASSERT_EQ(image.width, 3);
  const uint32_t half = At(image, 0, 0);
  EXPECT_NEAR(Channel(half, 24), 128, 1);
  EXPECT_NEAR(Channel(half, 16), 255, 1);
  EXPECT_NEAR(Channel(half, 8), 128, 2);
  EXPECT_NEAR(Channel(half, 0), 64, 2);
  EXPECT_EQ(At(image, 2, 0), 0u) << "untouched pixels are transparent";
}

TEST(DrawSvg, DocumentsThatCannotBeDrawnGiveNoImage) {
  const std::string good = Svg(4, 3, "<rect width='4' height='3'/>");
  EXPECT_EQ(DrawSvg({}).width, 0);
  EXPECT_EQ(DrawSvg({""}).width, 0);
  EXPECT_EQ(DrawSvg({"\x89PNG not a drawing"}).width, 0);
  EXPECT_EQ(DrawSvg({good.substr(0, good.size() / 2)}).width, 0) << "cut short";
  EXPECT_EQ(DrawSvg({"<svg xmlns='http://www.w3.org/2000/svg'><rect width='4' height='3'/></svg>"}).width, 0)
      << "no size of its own";
  EXPECT_EQ(DrawSvg({Svg(100000, 2, "")}).width, 0) << "absurd size";
  EXPECT_EQ(DrawSvg({good, Svg(4, 4, "")}).width, 0) << "layers of different sizes";
  EXPECT_EQ(DrawSvg({good, "garbage"}).width, 0);
  EXPECT_EQ(DrawSvg({good}).width, 4);
}

TEST(Png, WrittenPicturesReadBackWithTheirPixels) {
  testutil::TempDir folder;
  Image image;
  image.width = 3;
  image.height = 2;
  image.pixels = {0xFF102030, 0x00000000, 0xFFFFFFFF, 0xC0FF8000, 0xFF000000, 0x80406080};
  const std::string path = folder.path() + "/picture.png";
  ASSERT_TRUE(art::WritePng(image, path));
  std::optional<Image> read = art::ReadPng(path);
  ASSERT_TRUE(read.has_value());
  ASSERT_EQ(read->width, 3);
  ASSERT_EQ(read->height, 2);
  for (size_t i = 0; i < image.pixels.size(); ++i) {
    const uint32_t want = image.pixels[i], got = read->pixels[i];
    EXPECT_EQ(Channel(got, 24), Channel(want, 24)) << "pixel " << i;
    // Partly transparent colours pass through cairo's premultiplied form.
    for (int shift : {16, 8, 0}) EXPECT_NEAR(Channel(got, shift), Channel(want, shift), 1) << "pixel " << i;
  }
  EXPECT_EQ(read->pixels[0], 0xFF102030u);
  EXPECT_EQ(read->pixels[4], 0xFF000000u);
}

TEST(Png, BadPicturesAndPathsFail) {
  testutil::TempDir folder;
  Image inconsistent;
  inconsistent.width = 2;
  inconsistent.height = 2;
  inconsistent.pixels = {0xFF000000, 0xFF000000, 0xFF000000};
  EXPECT_FALSE(art::WritePng(inconsistent, folder.path() + "/short.png"));
  EXPECT_FALSE(art::WritePng(Image{}, folder.path() + "/empty.png"));
  Image one;
  one.width = one.height = 1;
  one.pixels = {0xFFFFFFFF};
  EXPECT_FALSE(art::WritePng(one, folder.path() + "/no/such/folder/one.png"));
  EXPECT_FALSE(art::ReadPng(folder.path() + "/missing.png").has_value());
  std::ofstream(folder.path() + "/text.png") << "not a picture";
  EXPECT_FALSE(art::ReadPng(folder.path() + "/text.png").has_value());
  ASSERT_TRUE(art::WritePng(one, folder.path() + "/one.png"));
  std::string cut = ReadFile(folder.path() + "/one.png");
  std::ofstream(folder.path() + "/cut.png", std::ios::binary) << cut.substr(0, cut.size() / 2);
  EXPECT_FALSE(art::ReadPng(folder.path() + "/cut.png").has_value());
  EXPECT_FALSE(art::ReadPng(folder.path()).has_value()) << "a folder";
  const std::string pipe = folder.path() + "/pipe.png";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  EXPECT_FALSE(art::ReadPng(pipe).has_value()) << "a pipe nobody writes to";
}

}  // namespace
