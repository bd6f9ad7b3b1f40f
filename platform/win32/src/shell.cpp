#include "win32/shell.h"

#include "win32/errors.h"
#include "win32/process.h"
#include "win32/text.h"
#include "win32/internal.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <cwchar>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

namespace {

HINSTANCE ShellResult(intptr_t code)
{
    return reinterpret_cast<HINSTANCE>(code);
}

} // namespace

DWORD GetModuleFileNameW(HMODULE module, LPWSTR buffer, DWORD size)
{
    if (module || !buffer || size == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    char path[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof(path) - 1);
    if (n < 0) {
        SetLastError(win32::ErrorFromErrno(errno));
        buffer[0] = L'\0';
        return 0;
    }
    const std::wstring wide = win32::WideFromUtf8(std::string(path, static_cast<size_t>(n)));
    const DWORD count = static_cast<DWORD>(wide.size()) < size - 1 ? static_cast<DWORD>(wide.size()) : size - 1;
    std::wmemcpy(buffer, wide.data(), count);
    buffer[count] = L'\0';
    return count;
}

HINSTANCE ShellExecuteW(HWND, LPCWSTR verb, LPCWSTR file, LPCWSTR, LPCWSTR, INT)
{
    if ((verb && std::wcscmp(verb, L"open") != 0) || !file)
        return ShellResult(SE_ERR_NOASSOC);
    const std::string path = win32::Utf8FromWide(file);
    struct stat info;
    if (stat(path.c_str(), &info) != 0)
        return ShellResult(SE_ERR_FNF);

    if (win32::StartProcess("xdg-open", { "xdg-open", path }, true, nullptr) != 0)
        return ShellResult(SE_ERR_NOASSOC);
    return ShellResult(42);
}
