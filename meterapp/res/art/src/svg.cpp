#include "svg.h"

#include "art/cairo_image.h"

#include <cairo.h>
#include <librsvg/rsvg.h>

#include <cmath>
#include <memory>
#include <mutex>

namespace art {
namespace {

struct HandleUnref {
  void operator()(RsvgHandle* handle) const { g_object_unref(handle); }
};
struct SurfaceDestroy {
  void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
struct ContextDestroy {
  void operator()(cairo_t* cr) const { cairo_destroy(cr); }
};
using Handle = std::unique_ptr<RsvgHandle, HandleUnref>;
using Surface = std::unique_ptr<cairo_surface_t, SurfaceDestroy>;
using Context = std::unique_ptr<cairo_t, ContextDestroy>;

Handle Load(std::string_view document) {
  GError* error = nullptr;
  RsvgHandle* handle =
      rsvg_handle_new_from_data(reinterpret_cast<const guint8*>(document.data()), document.size(), &error);
  g_clear_error(&error);
  return Handle(handle);
}

bool PixelSize(RsvgHandle* handle, int* width, int* height) {
  double w = 0, h = 0;
  if (!rsvg_handle_get_intrinsic_size_in_pixels(handle, &w, &h)) return false;
  *width = int(std::lround(w));
  *height = int(std::lround(h));
  return *width > 0 && *height > 0 && *width <= 4096 && *height <= 4096;
}

}  // namespace

Image DrawSvg(std::initializer_list<std::string_view> documents) {
  // librsvg, pango and fontconfig are not used from two of our threads at once.
  static std::mutex lock;
  std::lock_guard<std::mutex> guard(lock);
  Surface surface;
  Context cr;
  int width = 0, height = 0;
  for (std::string_view document : documents) {
    Handle handle = Load(document);
    int w = 0, h = 0;
    if (!handle || !PixelSize(handle.get(), &w, &h)) return Image{};
    if (!surface) {
      width = w;
      height = h;
      surface.reset(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
      cr.reset(cairo_create(surface.get()));
      if (cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS) return Image{};
    } else if (w != width || h != height) {
      return Image{};
    }
    const RsvgRectangle viewport{0, 0, double(width), double(height)};
    GError* error = nullptr;
    const bool drawn = rsvg_handle_render_document(handle.get(), cr.get(), &viewport, &error);
    g_clear_error(&error);
    if (!drawn) return Image{};
  }
  if (!surface) return Image{};
  cr.reset();
  return ImageFromSurface(surface.get());
}

}  // namespace art
