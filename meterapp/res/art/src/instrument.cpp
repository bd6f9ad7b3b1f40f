#include "instrument.h"

#include "colours.h"
#include "pixel_font.h"
#include "stroke_font.h"

namespace art::pictures {
namespace {

using draw::Canvas;
using draw::Difference;
using draw::Ellipse;
using draw::Polygon;
using draw::Rgb;
using draw::RoundRect;

constexpr uint32_t kHousingEdge = Rgb(24, 26, 30);
constexpr uint32_t kPlateText = Rgb(236, 238, 242);
constexpr uint32_t kKeyText = Rgb(28, 32, 40);
constexpr uint32_t kDisplayOff = Rgb(58, 66, 60);

// The display glass reaches past the window the view fills, because the first
// digit and the top annunciators are drawn a little outside that window.
constexpr int kGlassX = 40, kGlassY = 35, kGlassW = 116, kGlassH = 153;

draw::Paint HousingPaint() {
  return [](double x, double) {
    // Lit from the upper left: a bright band left of centre, dark edges.
    constexpr uint32_t kEdge = Rgb(46, 50, 58), kBand = Rgb(92, 98, 110), kFar = Rgb(36, 39, 46);
    return x < 70 ? draw::Mix(kEdge, kBand, (x - 5) / 65) : draw::Mix(kBand, kFar, (x - 70) / 120);
  };
}

void DrawHousing(Canvas& canvas) {
  canvas.Fill(RoundRect(4, 1, 187, 458, 26), kHousingEdge);
  canvas.Fill(RoundRect(5, 2, 185, 456, 25), HousingPaint());
  // Rubber grip ribs along both sides of the housing.
  for (int y = 130; y <= 370; y += 6) {
    for (double x : {6.5, 181.5}) {
      canvas.Fill(RoundRect(x, y, 7, 2.5, 1.2), Rgb(26, 28, 33));
      canvas.Fill(RoundRect(x, y + 2.5, 7, 1, 0.5), Rgb(100, 106, 118));
    }
  }
  // The front plate, raised a little: light upper-left edge, dark lower-right.
  canvas.Fill(RoundRect(14, 11, 167, 434, 17), Rgb(150, 156, 168));
  canvas.Fill(RoundRect(16, 13, 167, 434, 17), Rgb(30, 33, 38));
  canvas.Fill(RoundRect(15, 12, 166, 433, 16),
              draw::VerticalGradient(12, Rgb(118, 125, 138), 445, Rgb(92, 98, 110)));
  const draw::StrokeStyle brand{8, 1.6, kPlateText};
  draw::DrawStrokeText(canvas, 98 - draw::StrokeTextWidth("KELVRA", brand) / 2, 16, "KELVRA", brand);
}

void DrawDisplay(Canvas& canvas, DisplayLook look) {
  canvas.Fill(RoundRect(32, 28, 132, 168, 10), Rgb(20, 22, 25));
  canvas.Fill(RoundRect(35, 31, 126, 162, 7), Rgb(40, 43, 49));
  uint32_t glass = look == DisplayLook::Live ? colours::kDisplay : kDisplayOff;
  canvas.FillRect(kGlassX, kGlassY, kGlassW, kGlassH, glass);
  // Inner shadow along the top and left edges of the glass, outside the area
  // the reading is drawn on.
  canvas.FillRect(kGlassX, kGlassY, kGlassW, 1, draw::Shade(glass, -0.25));
  canvas.FillRect(kGlassX, kGlassY, 1, kGlassH, draw::Shade(glass, -0.25));
  canvas.FillRect(kGlassX + 1, kGlassY + 1, kGlassW - 1, 1, draw::Shade(glass, -0.12));
  canvas.FillRect(kGlassX + 1, kGlassY + 1, 1, kGlassH - 1, draw::Shade(glass, -0.12));
  if (look == DisplayLook::Idle) {
    // A plug at the end of a cable: the meter is not connected.
    uint32_t sign = Rgb(86, 96, 88);
    double cx = kGlassX + kGlassW / 2.0, cy = kGlassY + kGlassH / 2.0;
    canvas.Fill(RoundRect(cx - 13, cy - 16, 26, 22, 4), sign);
    canvas.Fill(RoundRect(cx - 8, cy - 28, 5, 13, 1.5), sign);
    canvas.Fill(RoundRect(cx + 3, cy - 28, 5, 13, 1.5), sign);
    canvas.Fill(Polygon({{cx - 9, cy + 5}, {cx + 9, cy + 5}, {cx + 4, cy + 13}, {cx - 4, cy + 13}}), sign);
    draw::Strokes cable;
    cable.Add({cx, cy + 12}, {cx, cy + 22}, 5);
    cable.Add({cx, cy + 22}, {cx + 10, cy + 34}, 5);
    cable.Add({cx + 10, cy + 34}, {cx + 26, cy + 38}, 5);
    canvas.Fill(cable, sign);
  }
}

void DrawScrew(Canvas& canvas, double cx, double cy) {
  canvas.Fill(Ellipse(cx + 0.5, cy + 0.5, 3.2, 3.2), Rgb(50, 54, 62));
  canvas.Fill(Ellipse(cx, cy, 3, 3), draw::VerticalGradient(cy - 3, Rgb(196, 200, 208), cy + 3, Rgb(110, 116, 126)));
  canvas.Line({cx - 2, cy + 1.2}, {cx + 2, cy - 1.2}, 1.1, Rgb(48, 52, 60));
}

void DrawModelPlate(Canvas& canvas) {
  for (double x : {24.0, 172.0}) {
    DrawScrew(canvas, x, 23);
    DrawScrew(canvas, x, 436);
  }
  const draw::StrokeStyle model{8, 1.5, kPlateText};
  draw::DrawStrokeText(canvas, 106, 208, "KV415", model);
  canvas.FillRect(106, 220, int(draw::StrokeTextWidth("KV415", model) + 0.5), 1, draw::Shade(kPlateText, -0.35));
}

void DrawVents(Canvas& canvas) {
  for (int y = 404; y <= 432; y += 7) {
    canvas.Fill(RoundRect(30, y, 80, 3, 1.5), Rgb(44, 48, 56));
    canvas.FillRect(32, y + 3, 76, 1, Rgb(132, 138, 150));
  }
  // The cable socket in the bottom of the housing.
  canvas.Fill(RoundRect(82, 449, 32, 7, 2), Rgb(16, 17, 20));
  canvas.FillRect(88, 451, 20, 3, Rgb(60, 64, 70));
}

// A rubber key filling (x, y, w, h): dark rim, lit cap, label centred.
void DrawRectKey(Canvas& canvas, const KeyPlace& key, uint32_t top, uint32_t bottom) {
  double x = key.x, y = key.y, w = key.shown_width, h = key.shown_height;
  canvas.Fill(RoundRect(x, y, w, h, 6), Rgb(30, 32, 38));
  canvas.Fill(RoundRect(x + 1, y + 1, w - 2, h - 2, 5), draw::VerticalGradient(y + 1, top, y + h - 1, bottom));
  canvas.Fill(RoundRect(x + 2, y + 1.5, w - 4, 1.5, 0.75), draw::Shade(top, 0.5));
}

void DrawLabel(Canvas& canvas, const KeyPlace& key, const char* line1, const char* line2, draw::PixelFont font) {
  int centre = key.x + key.shown_width / 2;
  int line_height = draw::TextHeight(font);
  if (line2 == nullptr) {
    draw::DrawTextCentred(canvas, centre, key.y + (key.shown_height - line_height) / 2, line1, font, kKeyText);
    return;
  }
  int top = key.y + (key.shown_height - (2 * line_height + 2)) / 2;
  draw::DrawTextCentred(canvas, centre, top, line1, font, kKeyText);
  draw::DrawTextCentred(canvas, centre, top + line_height + 2, line2, font, kKeyText);
}

void DrawStopKey(Canvas& canvas, const KeyPlace& key) {
  double cx = key.x + key.shown_width / 2.0, cy = key.y + key.shown_height / 2.0;
  canvas.Fill(Ellipse(cx, cy, 15.5, 14.5), Rgb(26, 14, 14));
  canvas.Fill(Ellipse(cx, cy, 14, 13), draw::VerticalGradient(key.y, Rgb(226, 70, 58), key.y + 28, Rgb(132, 22, 18)));
  canvas.Fill(Ellipse(cx - 3, cy - 6, 6, 3), Rgb(240, 130, 118));
  // The power sign: an open ring with a bar through its gap.
  Ellipse outer(cx, cy + 1, 7, 7), inner(cx, cy + 1, 5, 5);
  Difference ring(outer, inner);
  Polygon gap({{cx - 4, cy - 8}, {cx + 4, cy - 8}, {cx, cy + 1}});
  canvas.Fill(Difference(ring, gap), Rgb(250, 244, 240));
  canvas.Line({cx, cy - 7}, {cx, cy + 1}, 2, Rgb(250, 244, 240));
}

void DrawFastSlowKey(Canvas& canvas, const KeyPlace& key) {
  double cx = key.x + key.shown_width / 2.0, cy = key.y + key.shown_height / 2.0;
  canvas.Fill(Ellipse(cx, cy, 11, 11), Rgb(30, 32, 38));
  canvas.Fill(Ellipse(cx, cy, 10, 10), draw::VerticalGradient(key.y, Rgb(226, 229, 234), key.y + 22, Rgb(162, 168, 178)));
  DrawLabel(canvas, key, "FAST", "SLOW", draw::PixelFont::Small);
}

void DrawKeys(Canvas& canvas) {
  constexpr uint32_t kCapTop = Rgb(226, 229, 234), kCapBottom = Rgb(162, 168, 178);
  for (const KeyPlace& key : kKeyPlaces) {
    // Every key throws a short shadow to the lower right onto the plate.
    double w = key.shown_width, h = key.shown_height;
    if (key.bitmap == 150 || key.bitmap == 154) {
      canvas.Fill(Ellipse(key.x + w / 2 + 1, key.y + h / 2 + 1.5, w / 2, h / 2), Rgb(60, 64, 74));
    } else {
      canvas.Fill(RoundRect(key.x + 1, key.y + 1.5, w, h, 6), Rgb(60, 64, 74));
    }
  }
  for (const KeyPlace& key : kKeyPlaces) {
    switch (key.bitmap) {
      case 150:
        DrawStopKey(canvas, key);
        break;
      case 149:
        DrawRectKey(canvas, key, kCapTop, kCapBottom);
        canvas.Fill(Ellipse(key.x + 6.5, key.y + 11.5, 2.5, 2.5), Rgb(210, 30, 30));
        draw::DrawText(canvas, key.x + 10, key.y + 9, "REC", draw::PixelFont::Small, kKeyText);
        break;
      case 153:
        DrawRectKey(canvas, key, kCapTop, kCapBottom);
        DrawLabel(canvas, key, "MAX", "MIN", draw::PixelFont::Small);
        break;
      case 154:
        DrawFastSlowKey(canvas, key);
        break;
      case 152:
        DrawRectKey(canvas, key, kCapTop, kCapBottom);
        DrawLabel(canvas, key, "LEVEL", nullptr, draw::PixelFont::Normal);
        break;
      case 151:
        DrawRectKey(canvas, key, kCapTop, kCapBottom);
        DrawLabel(canvas, key, "AC", nullptr, draw::PixelFont::Normal);
        break;
    }
  }
}

}  // namespace

const KeyPlace kKeyPlaces[6] = {
    {150, 124, 401, 32, 30, 32, 30},  // Stop
    {149, 47, 201, 25, 23, 27, 24},   // REC
    {153, 50, 330, 35, 22, 39, 22},   // MaxMin
    {154, 86, 238, 22, 22, 23, 25},   // FastSlow
    {152, 78, 362, 35, 22, 38, 22},   // Level
    {151, 78, 298, 35, 23, 38, 23},   // AC
};

Canvas DrawInstrument(DisplayLook look) {
  Canvas canvas(kFaceWidth, kFaceHeight, colours::kForm);
  DrawHousing(canvas);
  DrawDisplay(canvas, look);
  DrawModelPlate(canvas);
  DrawVents(canvas);
  DrawKeys(canvas);
  return canvas;
}

}  // namespace art::pictures
