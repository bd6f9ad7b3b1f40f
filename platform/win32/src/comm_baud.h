// Internal: line speeds that termios has no constant for (BOTHER).
#pragma once

namespace win32::detail {

// Sets both directions to the rate; false when the driver refuses it or
// settles more than 3 % away from it.
bool SetCustomBaudRate(int fd, unsigned rate);

// The output rate the driver runs at; 0 when it cannot be read.
unsigned ReadCustomBaudRate(int fd);

}  // namespace win32::detail
