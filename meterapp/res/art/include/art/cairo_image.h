#pragma once
// Pictures to and from cairo image surfaces, which keep their colours
// premultiplied by alpha where pictures keep them straight.

#include <cairo.h>

#include <string_view>

#include "art/art.h"

namespace art {

// The pixels of an ARGB32 or RGB24 surface (opaque); an empty image for any
// other format.
Image ImageFromSurface(cairo_surface_t* surface);

// The picture of a PNG file's bytes, decoded by cairo; an empty image when the
// bytes are not a PNG file cairo can read.
Image ImageFromPng(std::string_view png);

// A new ARGB32 surface holding the image (the caller destroys it); a surface
// in an error state when the image's pixel count does not match its size.
cairo_surface_t* SurfaceFromImage(const Image& image);

}  // namespace art
