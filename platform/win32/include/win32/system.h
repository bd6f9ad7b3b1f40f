// System information calls: version, modules and run-time look-ups, message
// texts, local memory.
//
// The reported Windows version is 6.1 build 7601 on the NT platform (Windows 7
// SP1); IsWow64Process reports TRUE on a 64-bit host. Tests report other
// systems through the test library (win32/testing.h).
#pragma once

#include "win32/types.h"

#define VER_PLATFORM_WIN32s 0u
#define VER_PLATFORM_WIN32_WINDOWS 1u
#define VER_PLATFORM_WIN32_NT 2u

struct OSVERSIONINFOW {
    DWORD dwOSVersionInfoSize;
    DWORD dwMajorVersion;
    DWORD dwMinorVersion;
    DWORD dwBuildNumber;
    DWORD dwPlatformId;
    WCHAR szCSDVersion[128];
};
typedef OSVERSIONINFOW* LPOSVERSIONINFOW;

struct OSVERSIONINFOA {
    DWORD dwOSVersionInfoSize;
    DWORD dwMajorVersion;
    DWORD dwMinorVersion;
    DWORD dwBuildNumber;
    DWORD dwPlatformId;
    CHAR szCSDVersion[128];
};
typedef OSVERSIONINFOA* LPOSVERSIONINFOA;

// The size field must be the size of the record: sizeof the structure here,
// or the size the record has on Windows (276 wide, 148 narrow); anything else
// fails with ERROR_INSUFFICIENT_BUFFER.
BOOL GetVersionExW(LPOSVERSIONINFOW info);
BOOL GetVersionExA(LPOSVERSIONINFOA info);

// Only "kernel32" (any case, ".dll" optional) is known; other names give null
// and ERROR_MOD_NOT_FOUND.
HMODULE GetModuleHandleA(LPCSTR moduleName);
// Functions of kernel32 that callers look up at run time: "CancelIo" and
// "IsWow64Process". Others give null and ERROR_PROC_NOT_FOUND.
FARPROC GetProcAddress(HMODULE module, LPCSTR procName);

HANDLE GetCurrentProcess();
BOOL IsWow64Process(HANDLE process, PBOOL wow64);

#define FORMAT_MESSAGE_ALLOCATE_BUFFER 0x00000100u
#define FORMAT_MESSAGE_IGNORE_INSERTS 0x00000200u
#define FORMAT_MESSAGE_FROM_SYSTEM 0x00001000u
#define LANG_NEUTRAL 0x00
#define SUBLANG_SYS_DEFAULT 0x02
#define MAKELANGID(p, s) ((static_cast<WORD>(s) << 10) | static_cast<WORD>(p))

// FORMAT_MESSAGE_FROM_SYSTEM only: English texts, ending in "\r\n", for the
// error codes this layer produces. With FORMAT_MESSAGE_ALLOCATE_BUFFER the
// buffer argument is an LPWSTR* that receives a LocalAlloc'd text. Returns the
// characters written without the terminator; 0 and ERROR_MR_MID_NOT_FOUND for
// a code without a text.
DWORD FormatMessageW(DWORD flags, LPCVOID source, DWORD messageId, DWORD languageId,
                     LPWSTR buffer, DWORD size, void* arguments);

HLOCAL LocalFree(HLOCAL mem);
