#pragma once
// Pixel pictures written as rows of letters, one letter per pixel, for small
// palette images that are easier to review as text than as shapes.

#include <initializer_list>
#include <string_view>

#include "canvas.h"

namespace art::draw {

// Paints `rows` with their top left at (x, y). Letters: k black, m maroon,
// G green, o olive, n navy, p purple, t teal, g grey, s silver, r red,
// l lime, y yellow, b blue, f fuchsia, a aqua, w white; any other character
// leaves the pixel as it is.
void DrawPixelArt(Canvas& canvas, int x, int y, std::initializer_list<std::string_view> rows);

}  // namespace art::draw
