#include "art/png.h"

#include "art/cairo_image.h"

namespace art {

bool WritePng(const Image& image, const std::string& path) {
  cairo_surface_t* surface = SurfaceFromImage(image);
  const bool written = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS &&
                       cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(surface);
  return written;
}

std::optional<Image> ReadPng(const std::string& path) {
  cairo_surface_t* png = cairo_image_surface_create_from_png(path.c_str());
  std::optional<Image> image;
  if (cairo_surface_status(png) == CAIRO_STATUS_SUCCESS) {
    // Whatever the file's own format, read it through one ARGB32 surface.
    cairo_surface_t* argb = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, cairo_image_surface_get_width(png),
                                                       cairo_image_surface_get_height(png));
    cairo_t* cr = cairo_create(argb);
    cairo_set_source_surface(cr, png, 0, 0);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr);
    cairo_destroy(cr);
    Image pixels = ImageFromSurface(argb);
    if (pixels.width > 0) image = std::move(pixels);
    cairo_surface_destroy(argb);
  }
  cairo_surface_destroy(png);
  return image;
}

}  // namespace art
