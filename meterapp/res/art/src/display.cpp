// The display's own pictures: seven-segment digits, the decimal point and one
// bar-graph segment, all on the display's background colour.

#include <array>

#include "canvas.h"
#include "colours.h"
#include "pictures.h"

namespace art::pictures {
namespace {

using draw::Canvas;
using draw::Point;
using draw::Polygon;

constexpr int kDigitWidth = 25;
constexpr int kDigitHeight = 53;

// Segment centre lines. The left two columns stay clear because the decimal
// point is copied over them; the bottom row lines up with the point.
constexpr double kLeft = 5.5, kRight = 18.5;
constexpr double kTop = 4.5, kMiddle = 26.5, kBottom = 48.5;
constexpr double kHalfThickness = 2.6;
constexpr double kGap = 1.0;
// Liquid-crystal digits lean slightly to the right.
constexpr double kSlant = 0.06;

Point Lean(double x, double y) { return {x + (kBottom - y) * kSlant, y}; }

Polygon Horizontal(double y) {
  double x0 = kLeft + kGap, x1 = kRight - kGap, h = kHalfThickness;
  return Polygon({Lean(x0, y), Lean(x0 + h, y - h), Lean(x1 - h, y - h), Lean(x1, y), Lean(x1 - h, y + h),
                  Lean(x0 + h, y + h)});
}

Polygon Vertical(double x, double y0, double y1) {
  y0 += kGap;
  y1 -= kGap;
  double h = kHalfThickness;
  return Polygon({Lean(x, y0), Lean(x + h, y0 + h), Lean(x + h, y1 - h), Lean(x, y1), Lean(x - h, y1 - h),
                  Lean(x - h, y0 + h)});
}

// Segments a to g: top, upper right, lower right, bottom, lower left, upper left, middle.
constexpr std::array<uint8_t, 10> kLitSegments = {
    0b0111111, 0b0000110, 0b1011011, 0b1001111, 0b1100110,
    0b1101101, 0b1111101, 0b0000111, 0b1111111, 0b1101111,
};

}  // namespace

Image Digit(int digit) {
  Canvas canvas(kDigitWidth, kDigitHeight, colours::kDisplay);
  if (digit < 0 || digit > 9) return canvas.Take();
  const Polygon segments[7] = {
      Horizontal(kTop),
      Vertical(kRight, kTop, kMiddle),
      Vertical(kRight, kMiddle, kBottom),
      Horizontal(kBottom),
      Vertical(kLeft, kMiddle, kBottom),
      Vertical(kLeft, kTop, kMiddle),
      Horizontal(kMiddle),
  };
  for (int s = 0; s < 7; ++s) {
    if (kLitSegments[size_t(digit)] & (1u << s)) canvas.Fill(segments[s], colours::kSegment);
  }
  return canvas.Take();
}

Image DecimalPoint() {
  // Copied at 2 pixels left of the tenths digit and 43 rows below its top, so
  // the dot sits on the digits' bottom line and clear of the digit to its right.
  Canvas canvas(7, 8, colours::kDisplay);
  canvas.Fill(draw::Ellipse(3.0, 5.5, 2.3, 2.3), colours::kSegment);
  return canvas.Take();
}

Image BarSegment() {
  Canvas canvas(1, 7, colours::kSegment);
  return canvas.Take();
}

}  // namespace art::pictures
