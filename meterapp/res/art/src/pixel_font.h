#pragma once
// Two tiny bitmap fonts for the few words printed on the pictures: capitals,
// digits and "/-.:" and the blank. Other characters draw as blanks.

#include <string_view>

#include "canvas.h"

namespace art::draw {

enum class PixelFont {
  Small,   // 3 x 5 cells, one column of spacing
  Normal,  // 5 x 7 cells, one column of spacing
};

// Width in pixels of `text` at `scale` (each font pixel becomes scale x scale).
int TextWidth(std::string_view text, PixelFont font, int scale = 1);
int TextHeight(PixelFont font, int scale = 1);

// Draws `text` with its top left at (x, y), replacing covered pixels.
void DrawText(Canvas& canvas, int x, int y, std::string_view text, PixelFont font, uint32_t colour, int scale = 1);
// Same, centred horizontally on `centre_x`.
void DrawTextCentred(Canvas& canvas, int centre_x, int y, std::string_view text, PixelFont font, uint32_t colour,
                     int scale = 1);

}  // namespace art::draw
