#include "pixel_font.h"

#include <string>

namespace art::draw {
namespace {

struct Glyph {
  char ch;
  const char* rows;  // height rows of width characters each, '#' set
};

// clang-format off
constexpr Glyph kNormalGlyphs[] = {
  {'A', ".###.#...##...#######...##...##...#"}, {'B', "####.#...##...#####.#...##...#####."},
  {'C', ".###.#...##....#....#....#...#.###."}, {'D', "####.#...##...##...##...##...#####."},
  {'E', "######....#....####.#....#....#####"}, {'F', "######....#....####.#....#....#...."},
  {'G', ".###.#...##....#.####...##...#.####"}, {'H', "#...##...##...#######...##...##...#"},
  {'I', ".###...#....#....#....#....#...###."}, {'J', "..###...#....#....#....##..#..##..."},
  {'K', "#...##..#.#.#..##...#.#..#..#.#...#"}, {'L', "#....#....#....#....#....#....#####"},
  {'M', "#...###.###.#.##.#.##...##...##...#"}, {'N', "#...##...###..##.#.##..###...##...#"},
  {'O', ".###.#...##...##...##...##...#.###."}, {'P', "####.#...##...#####.#....#....#...."},
  {'Q', ".###.#...##...##...##.#.##..#..##.#"}, {'R', "####.#...##...#####.#.#..#..#.#...#"},
  {'S', ".#####....#.....###.....#....#####."}, {'T', "#####..#....#....#....#....#....#.."},
  {'U', "#...##...##...##...##...##...#.###."}, {'V', "#...##...##...##...##...#.#.#...#.."},
  {'W', "#...##...##...##.#.##.#.##.#.#.#.#."}, {'X', "#...##...#.#.#...#...#.#.#...##...#"},
  {'Y', "#...##...#.#.#...#....#....#....#.."}, {'Z', "#####....#...#...#...#...#....#####"},
  {'0', ".###.#...##..###.#.###..##...#.###."}, {'1', "..#...##....#....#....#....#...###."},
  {'2', ".###.#...#....#...#...#...#...#####"}, {'3', "#####...#...#.....#.....##...#.###."},
  {'4', "...#...##..#.#.#..#.#####...#....#."}, {'5', "######....####.....#....##...#.###."},
  {'6', "..##..#...#....####.#...##...#.###."}, {'7', "#####....#...#...#...#....#....#..."},
  {'8', ".###.#...##...#.###.#...##...#.###."}, {'9', ".###.#...##...#.####....#...#..##.."},
  {'/', "....#...#....#...#...#....#...#...."}, {'-', "...............#####..............."},
  {'.', ".........................##...##..."}, {':', "......##...##.........##...##......"},
};
constexpr Glyph kSmallGlyphs[] = {
  {'A', ".#.#.#####.##.#"}, {'B', "##.#.###.#.###."}, {'C', ".###..#..#...##"}, {'D', "##.#.##.##.###."},
  {'E', "####..##.#..###"}, {'F', "####..##.#..#.."}, {'G', ".###..#.##.#.##"}, {'H', "#.##.#####.##.#"},
  {'I', "###.#..#..#.###"}, {'J', "..#..#..##.#.#."}, {'K', "#.##.###.#.##.#"}, {'L', "#..#..#..#..###"},
  {'M', "#.########.##.#"}, {'N', "##.#.##.##.##.#"}, {'O', ".#.#.##.##.#.#."}, {'P', "##.#.###.#..#.."},
  {'Q', ".#.#.##.###..##"}, {'R', "##.#.###.#.##.#"}, {'S', ".###...#...###."}, {'T', "###.#..#..#..#."},
  {'U', "#.##.##.##.####"}, {'V', "#.##.##.##.#.#."}, {'W', "#.##.########.#"}, {'X', "#.##.#.#.#.##.#"},
  {'Y', "#.##.#.#..#..#."}, {'Z', "###..#.#.#..###"},
  {'0', "####.##.##.####"}, {'1', ".#.##..#..#.###"}, {'2', "##...#.#.#..###"}, {'3', "##...#.#...###."},
  {'4', "#.##.####..#..#"}, {'5', "####..##...###."}, {'6', ".###..####.####"}, {'7', "###..#.#..#..#."},
  {'8', "####.#####.####"}, {'9', "####.####..###."}, {'/', "..#..#.#.#..#.."}, {'-', "......###......"},
  {'.', "............#.."}, {':', "....#.....#...."},
};
// clang-format on

template <size_t N>
constexpr bool AllGlyphsHaveCells(const Glyph (&glyphs)[N], size_t cells) {
  for (const Glyph& glyph : glyphs) {
    if (std::char_traits<char>::length(glyph.rows) != cells) return false;
  }
  return true;
}
static_assert(AllGlyphsHaveCells(kNormalGlyphs, 5 * 7), "every 5 x 7 glyph needs 35 cells");
static_assert(AllGlyphsHaveCells(kSmallGlyphs, 3 * 5), "every 3 x 5 glyph needs 15 cells");

struct FontShape {
  int width, height;
  const Glyph* glyphs;
  size_t count;
};

FontShape ShapeOf(PixelFont font) {
  if (font == PixelFont::Small) return {3, 5, kSmallGlyphs, std::size(kSmallGlyphs)};
  return {5, 7, kNormalGlyphs, std::size(kNormalGlyphs)};
}

const char* RowsOf(const FontShape& shape, char ch) {
  for (size_t i = 0; i < shape.count; ++i) {
    if (shape.glyphs[i].ch == ch) return shape.glyphs[i].rows;
  }
  return nullptr;
}

}  // namespace

int TextWidth(std::string_view text, PixelFont font, int scale) {
  if (text.empty()) return 0;
  FontShape shape = ShapeOf(font);
  return (int(text.size()) * (shape.width + 1) - 1) * scale;
}

int TextHeight(PixelFont font, int scale) { return ShapeOf(font).height * scale; }

void DrawText(Canvas& canvas, int x, int y, std::string_view text, PixelFont font, uint32_t colour, int scale) {
  FontShape shape = ShapeOf(font);
  for (char ch : text) {
    const char* rows = RowsOf(shape, ch);
    for (int gy = 0; rows && gy < shape.height; ++gy) {
      for (int gx = 0; gx < shape.width; ++gx) {
        if (rows[gy * shape.width + gx] == '#') canvas.FillRect(x + gx * scale, y + gy * scale, scale, scale, colour);
      }
    }
    x += (shape.width + 1) * scale;
  }
}

void DrawTextCentred(Canvas& canvas, int centre_x, int y, std::string_view text, PixelFont font, uint32_t colour,
                     int scale) {
  DrawText(canvas, centre_x - TextWidth(text, font, scale) / 2, y, text, font, colour, scale);
}

}  // namespace art::draw
