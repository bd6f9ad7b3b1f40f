// The icons, in the sixteen-colour palette with hard edges and a transparent
// ground (alpha 0).

#include "colours.h"
#include "palette_art.h"
#include "pictures.h"

namespace art::pictures {
namespace {

using draw::Canvas;
using draw::Edges;
using draw::Ellipse;
using draw::Point;
using draw::Polygon;
using draw::RoundRect;
using namespace colours::vga;

void Polyline(Canvas& canvas, std::initializer_list<Point> points, double width, uint32_t colour) {
  const Point* previous = nullptr;
  for (const Point& point : points) {
    if (previous) canvas.Line(*previous, point, width, colour, Edges::Sharp);
    previous = &point;
  }
}

}  // namespace

Image InstrumentIcon() {
  Canvas canvas(32, 32, draw::kTransparent);
  // The computer: a monitor on a foot, a trace on its screen.
  canvas.FillRect(12, 2, 19, 16, kBlack);
  canvas.FillRect(13, 3, 17, 14, kSilver);
  canvas.FillRect(14, 4, 15, 11, kNavy);
  canvas.FillRect(13, 16, 17, 1, kGrey);
  Polyline(canvas, {{15.5, 11.5}, {17.5, 11.5}, {19, 6.5}, {21, 12.5}, {23, 8.5}, {25, 10.5}, {28, 10.5}}, 1.2, kLime);
  canvas.FillRect(19, 18, 5, 2, kGrey);
  canvas.FillRect(16, 20, 11, 3, kBlack);
  canvas.FillRect(17, 21, 9, 1, kSilver);
  // The meter: microphone ball on a neck, body with display and keys.
  canvas.Fill(Ellipse(6.5, 5, 4, 4), kBlack, Edges::Sharp);
  canvas.Fill(Ellipse(6.5, 5, 3, 3), kSilver, Edges::Sharp);
  canvas.FillRect(5, 8, 3, 2, kBlack);
  canvas.Fill(RoundRect(1, 10, 11, 21, 3), kBlack, Edges::Sharp);
  canvas.Fill(RoundRect(2, 11, 9, 19, 2), kGrey, Edges::Sharp);
  canvas.FillRect(3, 12, 7, 6, kBlack);
  canvas.FillRect(4, 13, 5, 4, kLime);
  canvas.FillRect(5, 14, 1, 2, kBlack);
  canvas.FillRect(7, 14, 1, 2, kBlack);
  for (int y : {20, 23}) {
    canvas.FillRect(3, y, 2, 2, kWhite);
    canvas.FillRect(8, y, 2, 2, kWhite);
  }
  canvas.FillRect(5, 26, 3, 2, kRed);
  // The cable from the meter's foot to the computer.
  Polyline(canvas, {{6.5, 30.5}, {10, 30.5}, {16, 28.5}, {21.5, 25.5}, {21.5, 23}}, 1.5, kBlack);
  return canvas.Take();
}

Image DocumentIcon(int size) {
  Canvas canvas(size, size, draw::kTransparent);
  if (size == 16) {
    draw::DrawPixelArt(canvas, 0, 0, {
        "..kkkkkkkkk.....",
        "..kwwwwwwwkk....",
        "..kwggggwwksk...",
        "..kwwwwwwwkssk..",
        "..kwgggwwwkkkkk.",
        "..kwwwwwwwwwwwk.",
        "..kwkwwwwwwwwwk.",
        "..kwkwwwwwwwrwk.",
        "..kwkwwwwwwrwrk.",
        "..kwkwwrwwrwwwk.",
        "..kwkwrwrrwwwwk.",
        "..kwkrwwwwwwwwk.",
        "..kwkkkkkkkkkwk.",
        "..kwwwwwwwwwwwk.",
        "..kkkkkkkkkkkkk.",
        "................",
    });
    return canvas.Take();
  }
  canvas.Fill(Polygon({{5, 1}, {20, 1}, {27, 8}, {27, 31}, {5, 31}}), kBlack, Edges::Sharp);
  canvas.Fill(Polygon({{6, 2}, {19.6, 2}, {26, 8.4}, {26, 30}, {6, 30}}), kWhite, Edges::Sharp);
  canvas.Fill(Polygon({{20, 1}, {20, 8}, {27, 8}}), kSilver, Edges::Sharp);
  canvas.FillRect(20, 1, 1, 8, kBlack);
  canvas.FillRect(20, 8, 7, 1, kBlack);
  // A few lines of text and a level graph: a recording.
  canvas.FillRect(8, 4, 10, 1, kGrey);
  canvas.FillRect(8, 6, 8, 1, kGrey);
  canvas.FillRect(8, 12, 1, 15, kBlack);
  canvas.FillRect(8, 26, 16, 1, kBlack);
  for (int y = 14; y <= 24; y += 5) canvas.FillRect(9, y, 15, 1, kSilver);
  Polyline(canvas, {{10.5, 23.5}, {12.5, 18.5}, {14.5, 20.5}, {16.5, 14.5}, {18.5, 17.5}, {20.5, 13.5}, {23.5, 16.5}},
           1.3, kRed);
  return canvas.Take();
}

}  // namespace art::pictures
