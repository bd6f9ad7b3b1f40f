#pragma once
// A smooth stroked lettering for the maker's name and model on the face and
// the logo: the glyphs of "KELVRA KV415" and the other digits. Characters
// without a glyph advance like a blank.

#include <string_view>

#include "canvas.h"

namespace art::draw {

struct StrokeStyle {
  double cap_height;  // pixels from the top of a capital to the base line
  double pen;         // stroke width in pixels
  uint32_t colour;
};

double StrokeTextWidth(std::string_view text, const StrokeStyle& style);

// Draws `text` with the top of its capitals at y, starting at x, anti-aliased.
void DrawStrokeText(Canvas& canvas, double x, double y, std::string_view text, const StrokeStyle& style);

}  // namespace art::draw
