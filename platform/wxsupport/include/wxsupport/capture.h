// The mouse capture call of user32, for the programs of both window layers.
#pragma once

#include "win32/types.h"

// Ends any mouse capture of the program's windows; TRUE, as on Windows also
// when no window held the capture. User-interface thread only.
BOOL ReleaseCapture();
