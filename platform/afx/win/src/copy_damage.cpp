// What a plain copy between two pictures changes. A window's picture goes to
// the screen only where it changed; a program that copies a whole composed
// picture onto its window for every new reading (the meter face: 195 x 461
// pixels, of which a reading changes the display window) would otherwise have
// the whole picture, and every control over it, repainted each time. wx does
// not report what Blit touched, so the pixels are compared: the source's
// straight from its image, the window's read from the display.
#include <cairo-xlib.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <wx/graphics.h>

#include <cmath>
#include <cstring>

#include "internal.h"

namespace {

// This machine's order of the bytes of a word, as Xlib names it.
int HostByteOrder()
{
    const uint16_t one = 1;
    unsigned char first = 0;
    std::memcpy(&first, &one, 1);
    return first ? LSBFirst : MSBFirst;
}

}  // namespace

namespace afxwin {

SurfaceRows::SurfaceRows(cairo_surface_t* surface, const wxRect& area)
{
    if (!surface || area.IsEmpty())
        return;
    cairo_surface_flush(surface);
    switch (cairo_surface_get_type(surface)) {
    case CAIRO_SURFACE_TYPE_IMAGE: {
        const cairo_format_t format = cairo_image_surface_get_format(surface);
        if (format != CAIRO_FORMAT_RGB24 && format != CAIRO_FORMAT_ARGB32)
            return;
        m_area = area;
        m_area.Intersect(wxRect(0, 0, cairo_image_surface_get_width(surface), cairo_image_surface_get_height(surface)));
        if (m_area.IsEmpty())
            return;
        m_stride = cairo_image_surface_get_stride(surface);
        m_alpha = format == CAIRO_FORMAT_ARGB32;
        m_data = cairo_image_surface_get_data(surface) + m_area.y * m_stride + m_area.x * 4;
        return;
    }
    case CAIRO_SURFACE_TYPE_XLIB: {
        m_area = area;
        m_area.Intersect(
            wxRect(0, 0, cairo_xlib_surface_get_width(surface), cairo_xlib_surface_get_height(surface)));
        if (m_area.IsEmpty() || cairo_xlib_surface_get_depth(surface) != 24)
            return;
        XImage* image = XGetImage(cairo_xlib_surface_get_display(surface), cairo_xlib_surface_get_drawable(surface),
                                  m_area.x, m_area.y, static_cast<unsigned>(m_area.width),
                                  static_cast<unsigned>(m_area.height), AllPlanes, ZPixmap);
        if (!image)
            return;
        m_image = image;
        // The server's own order of the pixel's bytes: read as this machine's words only when they agree.
        // A pixmap of depth 24 holds cairo's RGB24 pixels (Xlib reports no masks for a pixmap).
        const bool rgb = (image->red_mask == 0 && image->green_mask == 0 && image->blue_mask == 0) ||
                         (image->red_mask == 0xFF0000 && image->green_mask == 0xFF00 && image->blue_mask == 0xFF);
        if (image->bits_per_pixel != 32 || image->byte_order != HostByteOrder() || !rgb)
            return;
        m_stride = image->bytes_per_line;
        m_data = reinterpret_cast<const unsigned char*>(image->data);
        return;
    }
    default: return;
    }
}

SurfaceRows::~SurfaceRows()
{
    if (m_image)
        XDestroyImage(static_cast<XImage*>(m_image));
}

COLORREF SurfacePixel(cairo_surface_t* surface, int x, int y)
{
    SurfaceRows rows(surface, wxRect(x, y, 1, 1));
    if (!rows.Ok() || !rows.Area().Contains(x, y))
        return CLR_INVALID;
    const uint32_t p = rows.Row(y)[x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

namespace {

// The surface behind a context whose coordinates are the surface's own, and
// the part of it the context may draw on; null for anything else (a scaled
// or moved context, a context without cairo).
cairo_surface_t* SurfaceOf(wxDC& dc, wxRect* clip)
{
    wxGraphicsContext* gc = dc.GetGraphicsContext();
    auto* cr = gc ? static_cast<cairo_t*>(gc->GetNativeContext()) : nullptr;
    if (!cr || dc.LogicalToDeviceX(0) != 0 || dc.LogicalToDeviceY(0) != 0 || dc.LogicalToDeviceXRel(1000) != 1000 ||
        dc.LogicalToDeviceYRel(1000) != 1000)
        return nullptr;
    cairo_matrix_t m;
    cairo_get_matrix(cr, &m);
    if (m.xx != 1 || m.yy != 1 || m.xy != 0 || m.yx != 0 || m.x0 != 0 || m.y0 != 0)
        return nullptr;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    cairo_clip_extents(cr, &x1, &y1, &x2, &y2);
    *clip = wxRect(wxPoint(static_cast<int>(std::ceil(x1)), static_cast<int>(std::ceil(y1))),
                   wxPoint(static_cast<int>(std::floor(x2)) - 1, static_cast<int>(std::floor(y2)) - 1));
    return cairo_get_target(cr);
}

}  // namespace

bool CopyOntoDisplay(wxDC& dst, const wxRect& to, wxDC& src, const wxPoint& from)
{
    wxRect dstClip, srcClip;
    cairo_surface_t* d = SurfaceOf(dst, &dstClip);
    cairo_surface_t* s = SurfaceOf(src, &srcClip);
    if (!d || !s || to.IsEmpty() || cairo_surface_get_type(d) != CAIRO_SURFACE_TYPE_XLIB ||
        cairo_xlib_surface_get_depth(d) != 24 || cairo_surface_get_type(s) != CAIRO_SURFACE_TYPE_IMAGE ||
        cairo_image_surface_get_format(s) != CAIRO_FORMAT_RGB24)
        return false;
    const wxRect source(from, to.GetSize());
    dstClip.Intersect(wxRect(0, 0, cairo_xlib_surface_get_width(d), cairo_xlib_surface_get_height(d)));
    srcClip.Intersect(wxRect(0, 0, cairo_image_surface_get_width(s), cairo_image_surface_get_height(s)));
    if (!dstClip.Contains(to) || !srcClip.Contains(source))
        return false;
    cairo_surface_flush(s);
    cairo_surface_flush(d);
    // The source's pixels as they are (32-bit words, red in bits 16 to 23); Xlib
    // turns them into the server's order.
    XImage image{};
    image.width = cairo_image_surface_get_width(s);
    image.height = cairo_image_surface_get_height(s);
    image.format = ZPixmap;
    image.data = reinterpret_cast<char*>(cairo_image_surface_get_data(s));
    image.byte_order = HostByteOrder();
    image.bitmap_unit = 32;
    image.bitmap_bit_order = image.byte_order;
    image.bitmap_pad = 32;
    image.depth = 24;
    image.bytes_per_line = cairo_image_surface_get_stride(s);
    image.bits_per_pixel = 32;
    image.red_mask = 0xFF0000;
    image.green_mask = 0xFF00;
    image.blue_mask = 0xFF;
    if (!image.data || !XInitImage(&image))
        return false;
    Display* display = cairo_xlib_surface_get_display(d);
    const Drawable drawable = cairo_xlib_surface_get_drawable(d);
    GC gc = XCreateGC(display, drawable, 0, nullptr);
    XPutImage(display, drawable, gc, &image, from.x, from.y, to.x, to.y, static_cast<unsigned>(to.width),
              static_cast<unsigned>(to.height));
    XFreeGC(display, gc);
    cairo_surface_mark_dirty_rectangle(d, to.x, to.y, to.width, to.height);
    return true;
}

bool CopyBetweenSurfaces(wxDC& dst, const wxRect& to, wxDC& src, const wxPoint& from)
{
    wxRect dstClip, srcClip;
    cairo_surface_t* s = SurfaceOf(src, &srcClip);
    wxGraphicsContext* gc = dst.GetGraphicsContext();
    if (!s || !gc || !SurfaceOf(dst, &dstClip))
        return false;
    cairo_surface_flush(s);
    // As wx copies: the source over the destination, pixel for pixel.
    auto* cr = static_cast<cairo_t*>(gc->GetNativeContext());
    cairo_save(cr);
    cairo_rectangle(cr, to.x, to.y, to.width, to.height);
    cairo_clip(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    cairo_set_source_surface(cr, s, to.x - from.x, to.y - from.y);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_paint(cr);
    cairo_restore(cr);
    return cairo_status(cr) == CAIRO_STATUS_SUCCESS;
}

wxRect ChangedByCopy(wxDC& dst, const wxRect& to, wxDC& src, const wxPoint& from)
{
    wxRect dstClip, srcClip;
    cairo_surface_t* dstSurface = SurfaceOf(dst, &dstClip);
    cairo_surface_t* srcSurface = SurfaceOf(src, &srcClip);
    // A source the display keeps is copied there; reading both back would cost more than the copy.
    if (!dstSurface || !srcSurface || cairo_surface_get_type(srcSurface) != CAIRO_SURFACE_TYPE_IMAGE)
        return to;
    // The part of the copy that both pictures hold.
    const wxPoint shift = from - to.GetPosition();
    wxRect area = to;
    area.Intersect(dstClip);
    area.Intersect(wxRect(srcClip.GetPosition() - shift, srcClip.GetSize()));
    if (area.IsEmpty())
        return wxRect();
    SurfaceRows s(srcSurface, wxRect(area.GetPosition() + shift, area.GetSize()));
    if (!s.Ok())
        return to;
    area.Intersect(wxRect(s.Area().GetPosition() - shift, s.Area().GetSize()));
    if (area.IsEmpty())
        return wxRect();
    SurfaceRows d(dstSurface, area);
    if (!d.Ok() || d.HasAlpha() != s.HasAlpha())
        return to;
    area.Intersect(d.Area());
    if (area.IsEmpty())
        return wxRect();
    // Without alpha the top byte of a pixel is undefined.
    const uint32_t mask = d.HasAlpha() ? 0xFFFFFFFFu : 0x00FFFFFFu;
    auto differs = [&](int x, int y) {
        return ((d.Row(y)[x] ^ s.Row(y + shift.y)[x + shift.x]) & mask) != 0;
    };
    // Rows that are the same byte for byte are the common case and quick to
    // find; the top byte of pixels without alpha, which differs between
    // pictures made from images, drawn ones and ones read from the display,
    // is left out, two pixels at a time.
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
