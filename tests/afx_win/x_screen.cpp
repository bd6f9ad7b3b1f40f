#include "x_screen.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

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
