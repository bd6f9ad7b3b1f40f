// The maker's badge shown on the main form.

#include "colours.h"
#include "pictures.h"
#include "stroke_font.h"

namespace art::pictures {

Image Logo() {
  using draw::Rgb;
  draw::Canvas canvas(105, 26, colours::kForm);
  canvas.Fill(draw::RoundRect(0, 0, 105, 26, 6), Rgb(18, 26, 58));
  canvas.Fill(draw::RoundRect(1, 1, 103, 24, 5), draw::VerticalGradient(1, Rgb(48, 64, 128), 25, Rgb(22, 30, 70)));
  // Sound waves spreading from a point: a sound-level meter maker's mark.
  constexpr double kCx = 5, kCy = 13;
  // Everything but a wedge of 45 degrees either side of the rightward axis.
  draw::Polygon outside_wedge({{kCx, kCy}, {kCx + 30, kCy - 30}, {-30, -30}, {-30, 60}, {kCx + 30, kCy + 30}});
  for (double r : {4.0, 7.0, 10.0}) {
    draw::Ellipse outer(kCx, kCy, r + 0.9, r + 0.9), inner(kCx, kCy, r - 0.9, r - 0.9);
    draw::Difference ring(outer, inner);
    canvas.Fill(draw::Difference(ring, outside_wedge), Rgb(250, 200, 60));
  }
  canvas.Fill(draw::Ellipse(kCx, kCy, 1.6, 1.6), Rgb(250, 200, 60));
  const draw::StrokeStyle name{12, 2.4, Rgb(255, 255, 255)};
  const draw::StrokeStyle model{5, 1.1, Rgb(250, 200, 60)};
  constexpr double kNameX = 21, kNameY = 4;
  draw::DrawStrokeText(canvas, kNameX, kNameY, "KELVRA", name);
  double name_end = kNameX + draw::StrokeTextWidth("KELVRA", name);
  draw::DrawStrokeText(canvas, name_end - draw::StrokeTextWidth("KV415", model), 18, "KV415", model);
  return canvas.Take();
}

}  // namespace art::pictures
