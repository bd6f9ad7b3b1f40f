// Which window the X server shows where, asked on a connection of the test's own.
#pragma once

#include <string>

// The title of the top-level window the user sees at screen point (x, y); empty
// where only the desktop shows or the display cannot be opened.
std::string TopWindowTitleAt(int x, int y);
