#include "meterapp/shell.h"

#include <win32/errors.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <cwchar>
#include <string>
#include <thread>

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

std::string ToUtf8(LPCWSTR text)
{
    std::string out;
    for (; *text; ++text) {
        auto c = static_cast<uint32_t>(*text);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::wstring FromUtf8(const std::string& text)
{
    std::wstring out;
    for (size_t i = 0; i < text.size();) {
        auto b = static_cast<unsigned char>(text[i]);
        int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
        uint32_t c = extra == 0 ? b : (b & (0x3F >> extra));
        ++i;
        for (int k = 0; k < extra && i < text.size(); ++k, ++i)
            c = (c << 6) | (static_cast<unsigned char>(text[i]) & 0x3F);
        out += static_cast<wchar_t>(c);
    }
    return out;
}

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
    const std::wstring wide = FromUtf8(std::string(path, static_cast<size_t>(n)));
    const DWORD count = static_cast<DWORD>(wide.size()) < size - 1 ? static_cast<DWORD>(wide.size()) : size - 1;
    std::wmemcpy(buffer, wide.data(), count);
    buffer[count] = L'\0';
    return count;
}

HINSTANCE ShellExecuteW(HWND, LPCWSTR verb, LPCWSTR file, LPCWSTR, LPCWSTR, INT)
{
    if ((verb && std::wcscmp(verb, L"open") != 0) || !file)
        return ShellResult(SE_ERR_NOASSOC);
    const std::string path = ToUtf8(file);
    struct stat info;
    if (stat(path.c_str(), &info) != 0)
        return ShellResult(SE_ERR_FNF);

    pid_t handler = 0;
    char program[] = "xdg-open";
    char* argv[] = { program, const_cast<char*>(path.c_str()), nullptr };
    if (posix_spawnp(&handler, program, nullptr, nullptr, argv, environ) != 0)
        return ShellResult(SE_ERR_NOASSOC);
    // The program does not wait for the handler; this thread collects it so
    // that no zombie is left behind.
    std::thread([handler] {
        while (waitpid(handler, nullptr, 0) < 0 && errno == EINTR) {
        }
    }).detach();
    return ShellResult(42);
}
