// What the layer's own libraries and its tests share and no program names:
// codes with their Windows values, and the calls that set or observe what a
// program only reads (the last error, a thread's state, the message-box
// handler).
#pragma once

#include "win32/errors.h"
#include "win32/files.h"
#include "win32/kernel.h"
#include "win32/types.h"

// Beside those of win32/comm.h.
#define DTR_CONTROL_ENABLE 0x01
#define RTS_CONTROL_DISABLE 0x00
#define RTS_CONTROL_ENABLE 0x01
#define CE_RXOVER 0x0001u
#define CE_OVERRUN 0x0002u
#define CE_RXPARITY 0x0004u
#define CE_FRAME 0x0008u
#define CE_BREAK 0x0010u
#define EV_CTS 0x0008u
#define EV_DSR 0x0010u
#define EV_RLSD 0x0020u
#define EV_BREAK 0x0040u
#define EV_ERR 0x0080u
#define EV_RING 0x0100u
#define EV_RX80FULL 0x0400u

// Beside those of win32/setupapi.h.
#define DIGCF_ALLCLASSES 0x00000004u
#define SPINT_ACTIVE 0x00000001u

// Beside those of win32/errors.h.
#define ERROR_PATH_NOT_FOUND 3u
#define ERROR_NOT_ENOUGH_MEMORY 8u
#define ERROR_NOT_READY 21u
#define ERROR_BAD_COMMAND 22u
#define ERROR_WRITE_FAULT 29u
#define ERROR_READ_FAULT 30u
#define ERROR_GEN_FAILURE 31u
#define ERROR_SHARING_VIOLATION 32u
#define ERROR_DEV_NOT_EXIST 55u
#define ERROR_PROC_NOT_FOUND 127u
#define ERROR_DEVICE_NOT_CONNECTED 1167u
#define ERROR_NOT_FOUND 1168u
#define ERROR_TIMEOUT 1460u

// Beside those of win32/system.h.
#define LPTR (LMEM_FIXED | LMEM_ZEROINIT)

// Beside those of win32/kernel.h.
#define MAXIMUM_WAIT_OBJECTS 64u
#define THREAD_PRIORITY_IDLE (-15)
#define THREAD_PRIORITY_LOWEST (-2)
#define THREAD_PRIORITY_BELOW_NORMAL (-1)
#define THREAD_PRIORITY_NORMAL 0
#define THREAD_PRIORITY_ABOVE_NORMAL 1
#define THREAD_PRIORITY_TIME_CRITICAL 15
#define THREAD_PRIORITY_ERROR_RETURN 0x7FFFFFFF
#define STATUS_PENDING 0x00000103u

// Beside those of win32/errors.h.
#define ERROR_SUCCESS 0u
#define ERROR_FILE_NOT_FOUND 2u
#define ERROR_ACCESS_DENIED 5u
#define ERROR_INVALID_DATA 13u
#define ERROR_NOT_SUPPORTED 50u
#define ERROR_INSUFFICIENT_BUFFER 122u
#define ERROR_MOD_NOT_FOUND 126u
#define ERROR_BUSY 170u
#define WAIT_TIMEOUT 258u
#define ERROR_OPERATION_ABORTED 995u
#define ERROR_IO_INCOMPLETE 996u
void SetLastError(DWORD error);

// Beside those of win32/kernel.h.
#define STILL_ACTIVE 259u
int GetThreadPriority(HANDLE thread);
// STILL_ACTIVE while the routine runs, then the value it returned.
BOOL GetExitCodeThread(HANDLE thread, LPDWORD exitCode);
DWORD GetCurrentThreadId();

// Beside those of win32/comm.h.
#define EV_RXCHAR 0x0001u
#define EV_RXFLAG 0x0002u
#define EV_TXEMPTY 0x0004u
#ifndef MAXDWORD
#define MAXDWORD 0xFFFFFFFFu
#endif
#define CBR_9600 9600u

// Beside those of win32/setupapi.h.
#ifndef ERROR_INVALID_USER_BUFFER
#define ERROR_INVALID_USER_BUFFER 1784u
#endif
#ifndef REG_SZ
#define REG_SZ 1u
#endif
#define SPDRP_LOCATION_INFORMATION 0x0000000Du
// {4D36E978-E325-11CE-BFC1-08002BE10318}: the Ports setup class of the devices.
extern const GUID GUID_DEVCLASS_PORTS;

// Beside those of win32/shell.h.
#define SE_ERR_FNF 2
#define SE_ERR_NOASSOC 31

// Beside those of win32/system.h.
#define ERROR_MR_MID_NOT_FOUND 317u
HLOCAL LocalAlloc(UINT flags, SIZE_T bytes);
#define LMEM_FIXED 0x0000u
#define LMEM_ZEROINIT 0x0040u

// Beside those of win32/user.h.
#define MB_ABORTRETRYIGNORE 0x00000002u
#define MB_YESNOCANCEL 0x00000003u
#define MB_RETRYCANCEL 0x00000005u
#define MB_TYPEMASK 0x0000000Fu
#define MB_ICONQUESTION 0x00000020u
#define MB_ICONWARNING MB_ICONEXCLAMATION
#define MB_ICONMASK 0x000000F0u
#define MB_DEFBUTTON2 0x00000100u
#define IDABORT 3
#define IDRETRY 4
#define IDIGNORE 5

namespace win32 {

// The descriptors of the layer's files, for the layer's writers and readers
// of their own.
struct FileInternals {
    static int Descriptor(const RegularFile& file) { return file.Descriptor(); }
    static int Descriptor(const ReplacementFile& file) { return file.Descriptor(); }
};

// The Win32 error that best describes an errno value.
DWORD ErrorFromErrno(int err);

using MessageBoxHandler = int (*)(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);

// Installs the function that shows message boxes; returns the one it replaces.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

// The button a box of this type answers with when nobody can be asked.
int DefaultMessageBoxResult(UINT type);

}  // namespace win32
