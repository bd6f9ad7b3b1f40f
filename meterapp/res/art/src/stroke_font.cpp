#include "stroke_font.h"

#include <vector>

namespace art::draw {
namespace {

// Glyphs on a grid 4 units wide and 6 high, y downwards; each glyph is a list
// of polylines.
using Polyline = std::vector<Point>;
struct StrokeGlyph {
  char ch;
  std::vector<Polyline> lines;
};

constexpr double kGlyphUnits = 4.0, kCapUnits = 6.0, kSpacingUnits = 1.5;

const std::vector<StrokeGlyph>& Glyphs() {
  static const std::vector<StrokeGlyph> glyphs = {
      {'A', {{{0, 6}, {2, 0}, {4, 6}}, {{0.7, 4}, {3.3, 4}}}},
      {'E', {{{4, 0}, {0, 0}, {0, 6}, {4, 6}}, {{0, 3}, {3.2, 3}}}},
      {'K', {{{0, 0}, {0, 6}}, {{3.9, 0}, {0.1, 3.6}}, {{1.3, 2.5}, {4, 6}}}},
      {'L', {{{0, 0}, {0, 6}, {3.7, 6}}}},
      {'R', {{{0, 6}, {0, 0}, {2.7, 0}, {3.6, 0.3}, {4, 1}, {4, 2.2}, {3.6, 2.9}, {2.7, 3.2}, {0, 3.2}},
             {{2.2, 3.2}, {4, 6}}}},
      {'V', {{{0, 0}, {2, 6}, {4, 0}}}},
      {'0', {{{2, 0}, {3.4, 0.5}, {4, 2}, {4, 4}, {3.4, 5.5}, {2, 6}, {0.6, 5.5}, {0, 4}, {0, 2}, {0.6, 0.5}, {2, 0}}}},
      {'1', {{{0.8, 1.3}, {2.4, 0}, {2.4, 6}}}},
      {'2', {{{0.1, 1.2}, {0.8, 0.3}, {2, 0}, {3.2, 0.3}, {3.9, 1.3}, {3.6, 2.6}, {0, 6}, {4, 6}}}},
      {'3', {{{0.2, 0}, {3.8, 0}, {1.8, 2.5}, {3, 2.7}, {3.9, 3.6}, {3.9, 4.9}, {3, 5.8}, {1.6, 6}, {0.1, 5.3}}}},
      {'4', {{{3, 6}, {3, 0}, {0, 4.2}, {4, 4.2}}}},
      {'5', {{{3.8, 0}, {0.5, 0}, {0.2, 2.8}, {1.4, 2.3}, {2.7, 2.3}, {3.6, 2.9}, {4, 4}, {3.6, 5.3}, {2.4, 6},
              {1, 5.9}, {0, 5.2}}}},
      {'6', {{{3.5, 0.2}, {2, 0}, {0.7, 0.7}, {0, 2.4}, {0, 4.3}, {0.6, 5.6}, {2, 6}, {3.4, 5.6}, {4, 4.3},
              {3.5, 3}, {2, 2.6}, {0.7, 3}, {0, 4}}}},
      {'7', {{{0, 0}, {4, 0}, {1.4, 6}}}},
      {'8', {{{2, 2.9}, {0.6, 2.4}, {0.3, 1.3}, {0.9, 0.3}, {2, 0}, {3.1, 0.3}, {3.7, 1.3}, {3.4, 2.4}, {2, 2.9},
              {0.5, 3.5}, {0, 4.6}, {0.6, 5.7}, {2, 6}, {3.4, 5.7}, {4, 4.6}, {3.5, 3.5}, {2, 2.9}}}},
      {'9', {{{0.5, 5.8}, {2, 6}, {3.3, 5.3}, {4, 3.6}, {4, 1.7}, {3.4, 0.4}, {2, 0}, {0.6, 0.4}, {0, 1.7},
              {0.5, 3}, {2, 3.4}, {3.3, 3}, {4, 2}}}},
  };
  return glyphs;
}

const StrokeGlyph* GlyphFor(char ch) {
  for (const StrokeGlyph& glyph : Glyphs()) {
    if (glyph.ch == ch) return &glyph;
  }
  return nullptr;
}

double Unit(const StrokeStyle& style) { return style.cap_height / kCapUnits; }
double Advance(const StrokeStyle& style) { return (kGlyphUnits + kSpacingUnits) * Unit(style) + style.pen; }

}  // namespace

double StrokeTextWidth(std::string_view text, const StrokeStyle& style) {
  if (text.empty()) return 0;
  return double(text.size()) * Advance(style) - kSpacingUnits * Unit(style);
}

void DrawStrokeText(Canvas& canvas, double x, double y, std::string_view text, const StrokeStyle& style) {
  double unit = Unit(style), half_pen = style.pen / 2;
  Strokes ink;
  for (char ch : text) {
    if (const StrokeGlyph* glyph = GlyphFor(ch)) {
      for (const Polyline& line : glyph->lines) {
        for (size_t i = 1; i < line.size(); ++i) {
          // Pen centre lines sit half a pen inside the glyph's box so that the
          // ink fills exactly cap_height.
          auto place = [&](Point p) {
            return Point{x + half_pen + p.x * unit, y + half_pen + p.y * (style.cap_height - style.pen) / kCapUnits};
          };
          ink.Add(place(line[i - 1]), place(line[i]), style.pen);
        }
      }
    }
    x += Advance(style);
  }
  canvas.Fill(ink, style.colour);
}

}  // namespace art::draw
