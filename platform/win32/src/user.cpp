#include "win32/user.h"

#include "win32/text.h"
#include "win32/internal.h"

#include <atomic>
#include <cstdio>
#include <string>

namespace {

std::atomic<win32::MessageBoxHandler> g_handler{nullptr};

}  // namespace

namespace win32 {

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler)
{
    return g_handler.exchange(handler);
}

int DefaultMessageBoxResult(UINT type)
{
    const bool second = (type & MB_DEFBUTTON2) != 0;
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: return second ? IDCANCEL : IDOK;
    case MB_ABORTRETRYIGNORE: return second ? IDRETRY : IDABORT;
    case MB_YESNOCANCEL:
    case MB_YESNO: return second ? IDNO : IDYES;
    case MB_RETRYCANCEL: return second ? IDCANCEL : IDRETRY;
    default: return IDOK;
    }
}

}  // namespace win32

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type)
{
    if (win32::MessageBoxHandler handler = g_handler.load())
        return handler(owner, text, caption, type);
    std::fprintf(stderr, "[%s] %s\n", win32::Utf8FromWide(caption).c_str(), win32::Utf8FromWide(text).c_str());
    return win32::DefaultMessageBoxResult(type);
}
