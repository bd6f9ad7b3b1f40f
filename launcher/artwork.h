// Setwell's pictures, drawn by code: the window's background, the three
// button pictures, the hand pointer of the buttons and the window icon.
// Drawing needs the wx application to be set up (fonts), not a display.
#pragma once

#include <wx/iconbndl.h>
#include <wx/image.h>

#include <string>

namespace artwork {

// 555 x 456, 24-bit, no alpha: a teal gradient, dark at the top and pale
// towards the bottom, with the project's mark in its upper half, placed so
// that it shows within the window's 431 x 326 client area.
wxImage Background();

// A raised teal button of the given size with `word` in black in its middle.
wxImage ButtonPicture(const std::string& word, int width, int height);

// 32 x 32 pointing hand, index finger up, blue cuff, transparent around it,
// with its hot spot (12, 1) at the fingertip set as the image's cursor
// hot-spot options.
wxImage HandPointer();

// A size x size image, transparent throughout, to draw the icon and pointer on.
wxImage TransparentSquare(int size);

// The window icon: 48 x 48 first, then 32 x 32 and 16 x 16.
wxIconBundle WindowIcon();

}  // namespace artwork
