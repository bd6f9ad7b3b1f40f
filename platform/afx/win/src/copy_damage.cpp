// What a plain copy between two pictures changes. A window's picture goes to
// the screen only where it changed; a program that copies a whole composed
// picture onto its window for every new reading (the meter face: 195 x 461
// pixels, of which a reading changes the display window) would otherwise have
// the whole picture, and every control over it, repainted each time. wx does
// not report what Blit touched, so the pixels are compared, straight from the
// cairo image surfaces behind the two memory contexts.
#include <cairo.h>
#include <wx/graphics.h>

#include <cmath>
#include <cstdint>
#include <cstring>

#include "internal.h"

namespace {

struct Pixels {
    const unsigned char* data = nullptr;
    int stride = 0;
    cairo_format_t format = CAIRO_FORMAT_INVALID;
    wxRect bounds;   // the surface's pixels within the context's clipping area

    const uint32_t* Row(int y) const { return reinterpret_cast<const uint32_t*>(data + static_cast<ptrdiff_t>(y) * stride); }
};

// The pixels behind a memory context whose coordinates are the surface's own;
// false for anything else (a scaled or moved context, another kind of surface).
bool PixelsOf(wxDC& dc, Pixels* out)
{
    wxGraphicsContext* gc = dc.GetGraphicsContext();
    auto* cr = gc ? static_cast<cairo_t*>(gc->GetNativeContext()) : nullptr;
    if (!cr || dc.LogicalToDeviceX(0) != 0 || dc.LogicalToDeviceY(0) != 0 || dc.LogicalToDeviceXRel(1000) != 1000 ||
        dc.LogicalToDeviceYRel(1000) != 1000)
        return false;
    cairo_matrix_t m;
    cairo_get_matrix(cr, &m);
    if (m.xx != 1 || m.yy != 1 || m.xy != 0 || m.yx != 0 || m.x0 != 0 || m.y0 != 0)
        return false;
    cairo_surface_t* surface = cairo_get_target(cr);
    if (cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE)
        return false;
    const cairo_format_t format = cairo_image_surface_get_format(surface);
    if (format != CAIRO_FORMAT_RGB24 && format != CAIRO_FORMAT_ARGB32)
        return false;
    cairo_surface_flush(surface);
    out->data = cairo_image_surface_get_data(surface);
    out->stride = cairo_image_surface_get_stride(surface);
    out->format = format;
    out->bounds = wxRect(0, 0, cairo_image_surface_get_width(surface), cairo_image_surface_get_height(surface));
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    cairo_clip_extents(cr, &x1, &y1, &x2, &y2);
    out->bounds.Intersect(wxRect(wxPoint(static_cast<int>(std::ceil(x1)), static_cast<int>(std::ceil(y1))),
                                 wxPoint(static_cast<int>(std::floor(x2)) - 1, static_cast<int>(std::floor(y2)) - 1)));
    return out->data != nullptr;
}

}  // namespace

namespace afxwin {

wxRect ChangedByCopy(wxDC& dst, const wxRect& to, wxDC& src, const wxPoint& from)
{
    Pixels d, s;
    if (!PixelsOf(dst, &d) || !PixelsOf(src, &s) || d.format != s.format)
        return to;
    // The part of the copy that both pictures hold.
    const wxPoint shift = from - to.GetPosition();
    wxRect area = to;
    area.Intersect(d.bounds);
    area.Intersect(wxRect(s.bounds.GetPosition() - shift, s.bounds.GetSize()));
    if (area.IsEmpty())
        return wxRect();
    // RGB24 leaves the top byte of a pixel undefined.
    const uint32_t mask = d.format == CAIRO_FORMAT_RGB24 ? 0x00FFFFFFu : 0xFFFFFFFFu;
    auto differs = [&](int x, int y) {
        return ((d.Row(y)[x] ^ s.Row(y + shift.y)[x + shift.x]) & mask) != 0;
    };
    // Rows that are the same byte for byte are the common case and quick to
    // find; the top byte of RGB24 pixels, which differs between pictures made
    // from images and drawn ones, is left out, two pixels at a time.
    const uint64_t mask2 = (static_cast<uint64_t>(mask) << 32) | mask;
    auto rowDiffers = [&](int y) {
        const auto* a = reinterpret_cast<const unsigned char*>(d.Row(y) + area.x);
        const auto* b = reinterpret_cast<const unsigned char*>(s.Row(y + shift.y) + area.x + shift.x);
        const size_t bytes = static_cast<size_t>(area.width) * 4;
        if (std::memcmp(a, b, bytes) == 0)
            return false;
        uint64_t any = 0;
        size_t i = 0;
        for (; i + 8 <= bytes; i += 8) {
            uint64_t x, z;
            std::memcpy(&x, a + i, 8);
            std::memcpy(&z, b + i, 8);
            any |= x ^ z;
        }
        if (i < bytes) {
            uint32_t x, z;
            std::memcpy(&x, a + i, 4);
            std::memcpy(&z, b + i, 4);
            any |= x ^ z;
        }
        return (any & mask2) != 0;
    };
    int top = area.y, bottom = area.GetBottom();
    while (top <= bottom && !rowDiffers(top))
        ++top;
    if (top > bottom)
        return wxRect();
    while (!rowDiffers(bottom))
        --bottom;
    int left = area.GetRight(), right = area.x;
    for (int y = top; y <= bottom; ++y) {
        for (int x = area.x; x < left; ++x)
            if (differs(x, y)) {
                left = x;
                break;
            }
        for (int x = area.GetRight(); x > right; --x)
            if (differs(x, y)) {
                right = x;
                break;
            }
    }
    return wxRect(wxPoint(std::min(left, right), top), wxPoint(std::max(left, right), bottom));
}

}  // namespace afxwin
