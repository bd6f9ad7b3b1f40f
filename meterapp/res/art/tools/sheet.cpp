#include "sheet.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "art/art.h"
#include "art/cairo_image.h"
#include "art/icon_sizes.h"

namespace {

using art::Image;
using art::Kind;

const Image& Bitmap(unsigned id) {
  static const Image kNone;
  const Image* image = art::Find(Kind::Bitmap, id);
  return image ? *image : kNone;
}

// Paints `image` with its top left at (x, y), each pixel as a scale x scale square.
void PaintImage(cairo_t* cr, const Image& image, double x, double y, double scale) {
  cairo_surface_t* surface = art::SurfaceFromImage(image);
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_scale(cr, scale, scale);
  cairo_set_source_surface(cr, surface, 0, 0);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
  cairo_paint(cr);
  cairo_restore(cr);
  cairo_surface_destroy(surface);
}

void SetColour(cairo_t* cr, uint32_t rgb) {
  cairo_set_source_rgb(cr, ((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0);
}

constexpr uint32_t kForm = 0xAAAFC3;

struct Tile {
  const Image* image;
  double scale;
  std::string caption;
};

constexpr int kBorder = 6, kCaption = 16, kGap = 8;

// Wide enough for the picture and for its caption in the sheet's font.
double TileWidth(const Tile& tile) { return std::max(tile.image->width * tile.scale + 2 * kBorder, 62.0); }
double TileHeight(const Tile& tile) { return tile.image->height * tile.scale + 2 * kBorder + kCaption; }

bool WriteSurface(cairo_surface_t* surface, const std::string& path) {
  bool written = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(surface);
  return written;
}

}  // namespace

bool WriteSheet(const std::string& path) {
  std::vector<std::vector<Tile>> rows(5);
  for (unsigned d = 0; d < 10; ++d) rows[0].push_back({&Bitmap(132 + d), 3, std::to_string(132 + d) + " 25x53"});
  rows[0].push_back({&Bitmap(131), 5, "131 7x8"});
  rows[0].push_back({&Bitmap(142), 5, "142 1x7"});
  for (unsigned id = 149; id <= 154; ++id) {
    const Image& key = Bitmap(id);
    rows[1].push_back({&key, 4, std::to_string(id) + " " + std::to_string(key.width) + "x" + std::to_string(key.height)});
  }
  rows[2].push_back({&Bitmap(155), 3, "155 105x26"});
  rows[2].push_back({&Bitmap(128), 4, "bitmap 128 119x15"});
  for (unsigned id : {128u, 156u, 129u}) {
    if (const Image* icon = art::Find(Kind::Icon, id)) rows[3].push_back({icon, 4, "icon " + std::to_string(id) + " 32x32"});
  }
  if (const Image* small = art::FindIcon(129, 16)) rows[3].push_back({small, 8, "icon 129 16x16"});
  rows[4].push_back({&Bitmap(130), 1, "130 195x461"});
  rows[4].push_back({&Bitmap(157), 1, "157 195x461"});

  double width = 0, height = kGap;
  for (const auto& row : rows) {
    double w = kGap, h = 0;
    for (const Tile& tile : row) {
      if (tile.image->width == 0) return false;
      w += TileWidth(tile) + kGap;
      h = std::max(h, TileHeight(tile));
    }
    width = std::max(width, w);
    height += h + kGap;
  }
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, int(width), int(height));
  cairo_t* cr = cairo_create(surface);
  SetColour(cr, 0xFFFFFF);
  cairo_paint(cr);
  cairo_select_font_face(cr, "Liberation Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, 11);
  double y = kGap;
  for (const auto& row : rows) {
    double row_height = 0;
    for (const Tile& tile : row) row_height = std::max(row_height, TileHeight(tile));
    double x = kGap;
    for (const Tile& tile : row) {
      // Tiles stand on the row's base line; icons show on the form's colour.
      double top = y + row_height - TileHeight(tile);
      SetColour(cr, kForm);
      double left = x + std::floor((TileWidth(tile) - tile.image->width * tile.scale) / 2);
      cairo_rectangle(cr, left, top + kBorder, tile.image->width * tile.scale, tile.image->height * tile.scale);
      cairo_fill(cr);
      PaintImage(cr, *tile.image, left, top + kBorder, tile.scale);
      cairo_text_extents_t extents;
      cairo_text_extents(cr, tile.caption.c_str(), &extents);
      SetColour(cr, 0);
      cairo_move_to(cr, std::round(x + (TileWidth(tile) - extents.x_advance) / 2), y + row_height - 4);
      cairo_show_text(cr, tile.caption.c_str());
      x += TileWidth(tile) + kGap;
    }
    y += row_height + kGap;
  }
  cairo_destroy(cr);
  return WriteSurface(surface, path);
}

namespace {

void Text(cairo_t* cr, const char* family, bool bold, double size, double x, double y, const char* text) {
  cairo_select_font_face(cr, family, CAIRO_FONT_SLANT_NORMAL, bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, size);
  cairo_font_extents_t font;
  cairo_font_extents(cr, &font);
  // Placed by the top of the text cell, as the view's text output places it.
  cairo_move_to(cr, x, y + font.ascent);
  cairo_show_text(cr, text);
}

// "105.3" with a 37-step bar on range 1, the time, and a few annunciators.
void PaintReading(cairo_t* cr) {
  const struct {
    unsigned id;
    int x;
  } digits[] = {{133, 43}, {132, 68}, {137, 93}, {135, 125}};
  for (const auto& digit : digits) PaintImage(cr, Bitmap(digit.id), digit.x, 116, 1);
  PaintImage(cr, Bitmap(131), 120, 159, 1);
  PaintImage(cr, Bitmap(142), 50, 72, 1);
  PaintImage(cr, Bitmap(142), 50, 81, 1);
  for (int i = 1; i <= 37; ++i) {
    PaintImage(cr, Bitmap(142), 50 + 2 * i, 81, 1);
    if (i % 5 == 0) PaintImage(cr, Bitmap(142), 50 + 2 * i, 72, 1);
  }
  SetColour(cr, 0);
  Text(cr, "Liberation Sans Narrow", true, 15, 66, 93, "12:34:56");
  Text(cr, "Liberation Sans Narrow", false, 11, 122, 99, "TIME");
  Text(cr, "Liberation Sans", false, 11, 47, 61, "30");
  Text(cr, "Liberation Sans", false, 11, 132, 61, "80");
  Text(cr, "Liberation Sans Narrow", false, 9, 95, 50, "FAST");
  Text(cr, "Liberation Sans Narrow", false, 9, 45, 50, "MAX");
  Text(cr, "Liberation Sans Narrow", false, 9, 95, 168, "dBA");
  Text(cr, "Liberation Sans Narrow", false, 9, 65, 168, "REC");
}

}  // namespace

bool WriteFaces(const std::string& path) {
  const Image& face = Bitmap(130);
  const Image& idle = Bitmap(157);
  if (face.width == 0 || idle.width == 0) return false;
  constexpr int kScale = 2, kSpace = 10;
  const int width = (3 * face.width + 2 * kSpace) * kScale, height = face.height * kScale;
  cairo_surface_t* page = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  cairo_t* cr = cairo_create(page);
  SetColour(cr, kForm);
  cairo_paint(cr);
  cairo_scale(cr, kScale, kScale);
  PaintImage(cr, face, 0, 0, 1);
  // The reading is drawn at the picture's own size and shown scaled like the rest.
  cairo_surface_t* reading = art::SurfaceFromImage(face);
  cairo_t* on_face = cairo_create(reading);
  PaintReading(on_face);
  cairo_destroy(on_face);
  cairo_set_source_surface(cr, reading, face.width + kSpace, 0);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
  cairo_paint(cr);
  cairo_surface_destroy(reading);
  PaintImage(cr, idle, 2 * (face.width + kSpace), 0, 1);
  cairo_destroy(cr);
  return WriteSurface(page, path);
}
