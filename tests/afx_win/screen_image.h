// What the screen shows, read afresh each time (a wxScreenDC alone may hand
// back what an earlier read saw).
#pragma once

#include <wx/image.h>
#include <wx/window.h>

// The pixels of a rectangle of a window's client area as the screen shows them.
wxImage ScreenImage(wxWindow* window, const wxRect& client);
// The whole window, raised above the others first.
wxImage ScreenImage(wxWindow* window);
