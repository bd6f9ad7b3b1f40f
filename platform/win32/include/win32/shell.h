// The path of the running program, and opening a file with the desktop's
// handler.
#pragma once

#include "win32/types.h"

// Writes the full path of the running program (module must be null) into
// buffer, cut to size - 1 characters and always terminated. Returns the
// characters written without the terminator; 0 with the last error set when
// the path cannot be read or a module is named.
DWORD GetModuleFileNameW(HMODULE module, LPWSTR buffer, DWORD size);

#define SW_SHOWNORMAL 1

// Opens file with the desktop's handler ("xdg-open", looked up in PATH and
// started as win32/process.h starts a program) for the verb "open" (or a
// null verb); does not wait for it. Returns a value
// greater than 32 when the handler was started, SE_ERR_FNF when the file does
// not exist and SE_ERR_NOASSOC for another verb or when no handler can be
// started. owner, parameters, directory and showCmd are not used.
HINSTANCE ShellExecuteW(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory, INT showCmd);
