#include "art/cairo_image.h"

#include <algorithm>

namespace art {
namespace {

uint32_t Premultiply(uint32_t pixel) {
  uint32_t alpha = pixel >> 24;
  auto channel = [&](int shift) { return ((((pixel >> shift) & 0xFF) * alpha + 127) / 255) << shift; };
  return (alpha << 24) | channel(16) | channel(8) | channel(0);
}

uint32_t Unpremultiply(uint32_t pixel) {
  uint32_t alpha = pixel >> 24;
  if (alpha == 0xFF) return pixel;
  if (alpha == 0) return 0;
  auto channel = [&](int shift) {
    return std::min<uint32_t>(255, (((pixel >> shift) & 0xFF) * 255 + alpha / 2) / alpha) << shift;
  };
  return (alpha << 24) | channel(16) | channel(8) | channel(0);
}

}  // namespace

Image ImageFromSurface(cairo_surface_t* surface) {
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS ||
      cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE) {
    return Image{};
  }
  const cairo_format_t format = cairo_image_surface_get_format(surface);
  if (format != CAIRO_FORMAT_ARGB32 && format != CAIRO_FORMAT_RGB24) return Image{};
  // RGB24 leaves the top byte undefined.
  const uint32_t opaque = format == CAIRO_FORMAT_RGB24 ? 0xFF000000u : 0;
  cairo_surface_flush(surface);
  Image image;
  image.width = cairo_image_surface_get_width(surface);
  image.height = cairo_image_surface_get_height(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  const unsigned char* data = cairo_image_surface_get_data(surface);
  image.pixels.reserve(size_t(image.width) * size_t(image.height));
  for (int y = 0; y < image.height; ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(data + size_t(y) * size_t(stride));
    for (int x = 0; x < image.width; ++x) image.pixels.push_back(Unpremultiply(row[x] | opaque));
  }
  return image;
}

Image ImageFromPng(std::string_view png) {
  struct Reader {
    std::string_view rest;
    static cairo_status_t Read(void* closure, unsigned char* data, unsigned int length) {
      auto* reader = static_cast<Reader*>(closure);
      if (length > reader->rest.size()) return CAIRO_STATUS_READ_ERROR;
      std::copy_n(reader->rest.data(), length, data);
      reader->rest.remove_prefix(length);
      return CAIRO_STATUS_SUCCESS;
    }
  } reader{png};
  cairo_surface_t* surface = cairo_image_surface_create_from_png_stream(&Reader::Read, &reader);
  Image image = ImageFromSurface(surface);
  cairo_surface_destroy(surface);
  return image;
}

cairo_surface_t* SurfaceFromImage(const Image& image) {
  if (image.width <= 0 || image.height <= 0 ||
      image.pixels.size() != size_t(image.width) * size_t(image.height)) {
    return cairo_image_surface_create(CAIRO_FORMAT_ARGB32, -1, -1);
  }
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, image.width, image.height);
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) return surface;
  cairo_surface_flush(surface);
  unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  for (int y = 0; y < image.height; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(data + size_t(y) * size_t(stride));
    for (int x = 0; x < image.width; ++x) row[x] = Premultiply(image.pixels[size_t(y) * size_t(image.width) + size_t(x)]);
  }
  cairo_surface_mark_dirty(surface);
  return surface;
}

}  // namespace art
