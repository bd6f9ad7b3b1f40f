// Win32 error codes the layer produces, with their documented values, and the
// per-thread last error.
#pragma once

#include "win32/types.h"

#define ERROR_INVALID_HANDLE 6u
#define ERROR_INVALID_PARAMETER 87u
#define ERROR_NO_MORE_ITEMS 259u
#define ERROR_IO_PENDING 997u

DWORD GetLastError();
