// The maker's badge shown on the main form.

#include "colours.h"
#include "pictures.h"
#include "pixel_font.h"

namespace art::pictures {

Image Logo() {
  using draw::Rgb;
  draw::Canvas canvas(105, 26, colours::kForm);
  canvas.Fill(draw::RoundRect(0, 0, 105, 26, 6), Rgb(18, 26, 58));
  canvas.Fill(draw::RoundRect(1, 1, 103, 24, 5), draw::VerticalGradient(1, Rgb(48, 64, 128), 25, Rgb(22, 30, 70)));
  // Sound waves spreading from a point: a sound-level meter maker's mark.
  for (double r : {3.5, 6.5, 9.5}) {
    draw::Ellipse outer(6, 13, r + 0.9, r + 0.9), inner(6, 13, r - 0.9, r - 0.9);
    draw::Difference ring(outer, inner);
    draw::Polygon left_half({{6, 13}, {-6, 1}, {-6, 25}});
    draw::Difference arc(ring, left_half);
    canvas.Fill(arc, Rgb(250, 200, 60));
  }
  canvas.Fill(draw::Ellipse(6, 13, 1.6, 1.6), Rgb(250, 200, 60));
  constexpr int kNameX = 20;
  draw::DrawText(canvas, kNameX, 3, "KELVRA", draw::PixelFont::Normal, Rgb(255, 255, 255), 2);
  int name_end = kNameX + draw::TextWidth("KELVRA", draw::PixelFont::Normal, 2);
  draw::DrawText(canvas, name_end - draw::TextWidth("KV415", draw::PixelFont::Small), 19, "KV415",
                 draw::PixelFont::Small, Rgb(250, 200, 60));
  return canvas.Take();
}

}  // namespace art::pictures
