// Internal: translation between DCB and the termios settings of a line.
#pragma once

#include "win32/comm.h"

namespace win32::detail {

// Puts an opened line in raw mode, keeping its speed and framing.
// Returns a Win32 error.
DWORD MakeLineRaw(int fd);

// The DCB that describes the line's current termios settings, with the
// defaults of Win32 for what termios does not hold.
DCB ReadLineSettings(int fd);

// Checks the DCB without touching the line; ERROR_SUCCESS or
// ERROR_INVALID_PARAMETER.
DWORD ValidateLineSettings(const DCB& dcb);

// Applies a valid DCB to the line; on failure the line keeps its settings.
// Returns a Win32 error.
DWORD ApplyLineSettings(int fd, const DCB& dcb);

}  // namespace win32::detail
