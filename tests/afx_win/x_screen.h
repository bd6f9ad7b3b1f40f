// What the X server shows, asked on a connection of the test's own: wx's
// screen context may give back what an earlier grab of it saw.
#pragma once

#include <string>

#include <wx/image.h>
#include <wx/window.h>

// The title of the top-level window the user sees at screen point (x, y); empty
// where only the desktop shows or the display cannot be opened.
std::string TopWindowTitleAt(int x, int y);

// Raises the window's top-level window, lets it draw, and returns the pixels
// of the window's rectangle of the screen; an empty image when the display
// cannot be read.
wxImage ScreenImage(wxWindow* window);
