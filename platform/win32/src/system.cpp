#include "win32/system.h"
#include "win32/internal.h"

#include "reported_system.h"
#include "win32/comm.h"
#include "win32/errors.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>

namespace {

template <typename Info>
BOOL FillVersion(Info* info, DWORD windowsSize)
{
    if (!info) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (info->dwOSVersionInfoSize != sizeof(Info) && info->dwOSVersionInfoSize != windowsSize) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    const win32::ReportedVersion v = win32::CurrentReportedVersion();
    info->dwMajorVersion = v.major;
    info->dwMinorVersion = v.minor;
    info->dwBuildNumber = v.build;
    info->dwPlatformId = v.platform;
    std::memset(info->szCSDVersion, 0, sizeof(info->szCSDVersion));
    return TRUE;
}

// The one module that callers look functions up in.
int g_kernel32Module;
HMODULE Kernel32() { return reinterpret_cast<HMODULE>(&g_kernel32Module); }

bool IsKernel32(std::string name)
{
    for (char& c : name)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name == "kernel32" || name == "kernel32.dll";
}

const wchar_t* SystemMessage(DWORD code)
{
    switch (code) {
    case ERROR_SUCCESS: return L"The operation completed successfully.";
    case ERROR_FILE_NOT_FOUND: return L"The device or file was not found.";
    case ERROR_PATH_NOT_FOUND: return L"The path was not found.";
    case ERROR_ACCESS_DENIED: return L"Access is denied: the port is in use or not permitted.";
    case ERROR_INVALID_HANDLE: return L"The handle is not valid.";
    case ERROR_NOT_ENOUGH_MEMORY: return L"Not enough memory is available.";
    case ERROR_INVALID_DATA: return L"The data is not valid.";
    case ERROR_NOT_READY: return L"The device is not ready.";
    case ERROR_BAD_COMMAND: return L"The device does not accept the command.";
    case ERROR_WRITE_FAULT: return L"The device cannot be written to.";
    case ERROR_READ_FAULT: return L"The device cannot be read from.";
    case ERROR_GEN_FAILURE: return L"The device does not work.";
    case ERROR_SHARING_VIOLATION: return L"Another program is using the device.";
    case ERROR_NOT_SUPPORTED: return L"The request is not supported.";
    case ERROR_DEV_NOT_EXIST: return L"The device does not exist.";
    case ERROR_INVALID_PARAMETER: return L"A parameter is not valid.";
    case ERROR_INSUFFICIENT_BUFFER: return L"The buffer is too small.";
    case ERROR_MOD_NOT_FOUND: return L"The module was not found.";
    case ERROR_PROC_NOT_FOUND: return L"The procedure was not found.";
    case ERROR_BUSY: return L"The resource is in use.";
    case WAIT_TIMEOUT: return L"The wait timed out.";
    case ERROR_NO_MORE_ITEMS: return L"No more data is available.";
    case ERROR_OPERATION_ABORTED: return L"The operation was aborted.";
    case ERROR_IO_INCOMPLETE: return L"The overlapped operation is not complete.";
    case ERROR_IO_PENDING: return L"The overlapped operation is in progress.";
    case ERROR_DEVICE_NOT_CONNECTED: return L"The device is not connected.";
    case ERROR_NOT_FOUND: return L"Element not found.";
    case ERROR_TIMEOUT: return L"The operation timed out.";
    default: return nullptr;
    }
}

}  // namespace

BOOL GetVersionExW(LPOSVERSIONINFOW info)
{
    return FillVersion(info, 276);
}

BOOL GetVersionExA(LPOSVERSIONINFOA info)
{
    return FillVersion(info, 148);
}

HMODULE GetModuleHandleA(LPCSTR moduleName)
{
    if (moduleName && IsKernel32(moduleName))
        return Kernel32();
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
}

FARPROC GetProcAddress(HMODULE module, LPCSTR procName)
{
    if (module == Kernel32() && procName) {
        if (std::strcmp(procName, "CancelIo") == 0)
            return reinterpret_cast<FARPROC>(&CancelIo);
        if (std::strcmp(procName, "IsWow64Process") == 0 && win32::CurrentWow64Answer() != win32::Wow64Answer::Missing)
            return reinterpret_cast<FARPROC>(&IsWow64Process);
    }
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
}

HANDLE GetCurrentProcess()
{
    return reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-1));
}

BOOL IsWow64Process(HANDLE process, PBOOL wow64)
{
    if (process != GetCurrentProcess() || !wow64) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    switch (win32::CurrentWow64Answer()) {
    case win32::Wow64Answer::Yes: *wow64 = TRUE; break;
    case win32::Wow64Answer::No: *wow64 = FALSE; break;
    default: *wow64 = sizeof(void*) == 8 ? TRUE : FALSE; break;
    }
    return TRUE;
}

DWORD FormatMessageW(DWORD flags, LPCVOID, DWORD messageId, DWORD, LPWSTR buffer, DWORD size, void*)
{
    const wchar_t* text = (flags & FORMAT_MESSAGE_FROM_SYSTEM) ? SystemMessage(messageId) : nullptr;
    if (!text || !buffer) {
        SetLastError(text ? ERROR_INVALID_PARAMETER : ERROR_MR_MID_NOT_FOUND);
        return 0;
    }
    std::wstring full = std::wstring(text) + L"\r\n";
    const size_t chars = full.size();
    if (flags & FORMAT_MESSAGE_ALLOCATE_BUFFER) {
        auto* copy = static_cast<wchar_t*>(LocalAlloc(LPTR, (chars + 1) * sizeof(wchar_t)));
        if (!copy) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return 0;
        }
        std::wmemcpy(copy, full.c_str(), chars + 1);
        *reinterpret_cast<LPWSTR*>(buffer) = copy;
        return static_cast<DWORD>(chars);
    }
    if (size < chars + 1) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::wmemcpy(buffer, full.c_str(), chars + 1);
    return static_cast<DWORD>(chars);
}

HLOCAL LocalAlloc(UINT flags, SIZE_T bytes)
{
    void* mem = (flags & LMEM_ZEROINIT) ? std::calloc(1, bytes ? bytes : 1) : std::malloc(bytes ? bytes : 1);
    if (!mem)
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return mem;
}

HLOCAL LocalFree(HLOCAL mem)
{
    std::free(mem);
    return nullptr;
}
