#include "x_screen.h"

#include <wx/toplevel.h>

#include "afx/testing.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

// The 8-bit value of one colour of a pixel, given the colour's mask.
unsigned char Channel(unsigned long pixel, unsigned long mask)
{
    if (!mask)
        return 0;
    int shift = 0;
    while (!((mask >> shift) & 1))
        ++shift;
    const unsigned long max = mask >> shift;
    return static_cast<unsigned char>(((pixel & mask) >> shift) * 255 / max);
}

}  // namespace

std::string TopWindowTitleAt(int x, int y)
{
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return std::string();
    std::string title;
    const Window root = DefaultRootWindow(display);
    int atX = 0, atY = 0;
    Window child = None;
    // Without a window manager the top-level windows are the root's own
    // children, and only mapped ones are found.
    if (XTranslateCoordinates(display, root, root, x, y, &atX, &atY, &child) && child != None) {
        Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        const Atom name = XInternAtom(display, "_NET_WM_NAME", False);
        const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
        if (XGetWindowProperty(display, child, name, 0, 1024, False, utf8, &type, &format, &count, &after, &data) ==
                Success &&
            data) {
            title.assign(reinterpret_cast<const char*>(data), count);
            XFree(data);
        }
    }
    XCloseDisplay(display);
    return title;
}

wxImage ScreenImage(wxWindow* window)
{
    wxGetTopLevelParent(window)->Raise();
    AfxTestPumpUntil([] { return false; }, 150);
    const wxRect r = window->GetScreenRect();
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return wxImage();
    wxImage shot;
    if (XImage* pixels = XGetImage(display, DefaultRootWindow(display), r.x, r.y, static_cast<unsigned>(r.width),
            static_cast<unsigned>(r.height), AllPlanes, ZPixmap)) {
        shot.Create(r.width, r.height);
        for (int y = 0; y < r.height; ++y)
            for (int x = 0; x < r.width; ++x) {
                const unsigned long pixel = XGetPixel(pixels, x, y);
                shot.SetRGB(x, y, Channel(pixel, pixels->red_mask), Channel(pixel, pixels->green_mask),
                    Channel(pixel, pixels->blue_mask));
            }
        XDestroyImage(pixels);
    }
    XCloseDisplay(display);
    return shot;
}
