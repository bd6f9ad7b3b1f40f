#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "art/art.h"
#include "art/png.h"

namespace {

uint32_t ReadBigEndian(const std::vector<uint8_t>& data, size_t at) {
  return (uint32_t(data[at]) << 24) | (uint32_t(data[at + 1]) << 16) | (uint32_t(data[at + 2]) << 8) | data[at + 3];
}

// Bit-by-bit CRC-32, independent of the encoder's table.
uint32_t SlowCrc(const uint8_t* data, size_t size) {
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

struct Decoded {
  uint32_t width = 0, height = 0;
  std::vector<uint8_t> raw;  // filter byte + RGBA per row
};

// Checks the file's structure with gtest assertions and returns its content.
// Handles exactly what the encoder promises: RGBA, stored deflate blocks.
Decoded Decode(const std::vector<uint8_t>& png) {
  Decoded out;
  const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  EXPECT_TRUE(png.size() > 8 && std::equal(kSignature, kSignature + 8, png.begin()));
  std::vector<uint8_t> zlib;
  std::vector<std::string> types;
  size_t at = 8;
  while (at + 12 <= png.size()) {
    uint32_t length = ReadBigEndian(png, at);
    EXPECT_LE(at + 12 + length, png.size());
    if (at + 12 + length > png.size()) return out;
    std::string type(png.begin() + long(at) + 4, png.begin() + long(at) + 8);
    types.push_back(type);
    EXPECT_EQ(ReadBigEndian(png, at + 8 + length), SlowCrc(&png[at + 4], 4 + length)) << type;
    const uint8_t* data = &png[at + 8];
    if (type == "IHDR") {
      EXPECT_EQ(length, 13u);
      out.width = ReadBigEndian(png, at + 8);
      out.height = ReadBigEndian(png, at + 12);
      EXPECT_EQ(data[8], 8);  // bit depth
      EXPECT_EQ(data[9], 6);  // RGBA
      EXPECT_EQ(data[12], 0);  // not interlaced
    } else if (type == "IDAT") {
      zlib.insert(zlib.end(), data, data + length);
    }
    at += 12 + length;
  }
  EXPECT_EQ(at, png.size());
  EXPECT_EQ(types.front(), "IHDR");
  EXPECT_EQ(types.back(), "IEND");

  EXPECT_GE(zlib.size(), 2u + 5u + 4u);
  if (zlib.size() < 11) return out;
  EXPECT_EQ((zlib[0] & 0x0F), 8) << "deflate";
  EXPECT_EQ(((zlib[0] << 8) | zlib[1]) % 31, 0) << "header check";
  size_t pos = 2;
  bool last = false;
  while (!last && pos + 5 <= zlib.size()) {
    last = zlib[pos] & 1;
    EXPECT_EQ((zlib[pos] >> 1) & 3, 0) << "stored block";
    uint16_t len = uint16_t(zlib[pos + 1] | (zlib[pos + 2] << 8));
    uint16_t nlen = uint16_t(zlib[pos + 3] | (zlib[pos + 4] << 8));
    EXPECT_EQ(uint16_t(~nlen), len);
    pos += 5;
    EXPECT_LE(pos + len, zlib.size());
    if (pos + len > zlib.size()) return out;
    out.raw.insert(out.raw.end(), zlib.begin() + long(pos), zlib.begin() + long(pos + len));
    pos += len;
  }
  EXPECT_TRUE(last);
  EXPECT_EQ(pos + 4, zlib.size());
  uint32_t a = 1, b = 0;
  for (uint8_t byte : out.raw) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  if (pos + 4 <= zlib.size()) {
    EXPECT_EQ(ReadBigEndian(zlib, pos), (b << 16) | a) << "Adler-32";
  }
  return out;
}

art::Image Pattern(int width, int height) {
  art::Image image;
  image.width = width;
  image.height = height;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      image.pixels.push_back(0xFF000000u | uint32_t(x * 7 % 256) << 16 | uint32_t(y * 13 % 256) << 8 |
                             uint32_t((x ^ y) & 0xFF));
    }
  }
  return image;
}

void ExpectSamePixels(const Decoded& decoded, const art::Image& image) {
  ASSERT_EQ(decoded.width, uint32_t(image.width));
  ASSERT_EQ(decoded.height, uint32_t(image.height));
  size_t stride = 1 + size_t(image.width) * 4;
  ASSERT_EQ(decoded.raw.size(), stride * size_t(image.height));
  for (int y = 0; y < image.height; ++y) {
    ASSERT_EQ(decoded.raw[size_t(y) * stride], 0) << "filter of row " << y;
    for (int x = 0; x < image.width; ++x) {
      const uint8_t* p = &decoded.raw[size_t(y) * stride + 1 + size_t(x) * 4];
      uint32_t argb = uint32_t(p[3]) << 24 | uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
      ASSERT_EQ(argb, image.pixels[size_t(y) * size_t(image.width) + size_t(x)]) << x << "," << y;
    }
  }
}

TEST(PngWriter, SmallImageWithAlphaDecodesToTheSamePixels) {
  art::Image image;
  image.width = 3;
  image.height = 2;
  image.pixels = {0xFF102030, 0x00000000, 0x80FF0000, 0xFFFFFFFF, 0x12345678, 0xFF000000};
  ExpectSamePixels(Decode(art::EncodePng(image)), image);
}

TEST(PngWriter, ImagesLargerThanOneStoredBlockSpanSeveralBlocks) {
  art::Image image = Pattern(300, 120);  // 144120 bytes of rows: three blocks
  std::vector<uint8_t> png = art::EncodePng(image);
  ExpectSamePixels(Decode(png), image);
  const art::Image* face = art::Find(art::Kind::Bitmap, 130);
  ASSERT_NE(face, nullptr);
  ExpectSamePixels(Decode(art::EncodePng(*face)), *face);
}

TEST(PngWriter, InconsistentImagesAreRefused) {
  art::Image empty;
  EXPECT_TRUE(art::EncodePng(empty).empty());
  art::Image short_pixels = Pattern(4, 4);
  short_pixels.pixels.pop_back();
  EXPECT_TRUE(art::EncodePng(short_pixels).empty());
  art::Image negative;
  negative.width = -2;
  negative.height = -2;
  negative.pixels.resize(4);
  EXPECT_TRUE(art::EncodePng(negative).empty());
  EXPECT_FALSE(art::WritePng(empty, "/tmp/art-never-written.png"));
}

class PngFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/art_png_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
  }
  void TearDown() override {
    if (!dir_.empty()) std::system(("rm -rf '" + dir_ + "'").c_str());
  }
  std::string dir_;
};

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), {});
}

TEST_F(PngFileTest, WritesTheEncodedBytesAndFailsOnAMissingFolder) {
  art::Image image = Pattern(17, 5);
  std::string path = dir_ + "/pattern.png";
  ASSERT_TRUE(art::WritePng(image, path));
  EXPECT_EQ(ReadFile(path), art::EncodePng(image));
  EXPECT_FALSE(art::WritePng(image, dir_ + "/no/such/folder/pattern.png"));
}

TEST_F(PngFileTest, ImageMagickReadsTheSamePixels) {
  if (std::system("command -v convert >/dev/null 2>&1") != 0) GTEST_SKIP() << "ImageMagick's convert is not installed";
  art::Image image = Pattern(23, 11);
  std::string png = dir_ + "/pattern.png", raw = dir_ + "/pattern.rgba";
  ASSERT_TRUE(art::WritePng(image, png));
  std::string command = "convert '" + png + "' -depth 8 'rgba:" + raw + "' 2>/dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0);
  std::vector<uint8_t> bytes = ReadFile(raw);
  ASSERT_EQ(bytes.size(), image.pixels.size() * 4);
  for (size_t i = 0; i < image.pixels.size(); ++i) {
    uint32_t argb = uint32_t(bytes[i * 4 + 3]) << 24 | uint32_t(bytes[i * 4]) << 16 | uint32_t(bytes[i * 4 + 1]) << 8 |
                    bytes[i * 4 + 2];
    ASSERT_EQ(argb, image.pixels[i]) << "pixel " << i;
  }
}

}  // namespace
