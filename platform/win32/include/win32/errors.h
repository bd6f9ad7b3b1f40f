// Win32 error codes the layer produces, with their documented values, and the
// per-thread last error.
#pragma once

#include "win32/types.h"

#define ERROR_SUCCESS 0u
#define ERROR_FILE_NOT_FOUND 2u
#define ERROR_ACCESS_DENIED 5u
#define ERROR_INVALID_HANDLE 6u
#define ERROR_INVALID_DATA 13u
#define ERROR_NOT_SUPPORTED 50u
#define ERROR_INVALID_PARAMETER 87u
#define ERROR_INSUFFICIENT_BUFFER 122u
#define ERROR_MOD_NOT_FOUND 126u
#define ERROR_BUSY 170u
#define WAIT_TIMEOUT 258u
#define ERROR_NO_MORE_ITEMS 259u
#define ERROR_OPERATION_ABORTED 995u
#define ERROR_IO_INCOMPLETE 996u
#define ERROR_IO_PENDING 997u

DWORD GetLastError();
void SetLastError(DWORD error);

namespace win32 {
// The Win32 error that best describes an errno value.
DWORD ErrorFromErrno(int err);
}
