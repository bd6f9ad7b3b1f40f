#include "win32/user.h"

#include "win32/text.h"

#include <atomic>
#include <cstdio>
#include <string>

namespace {

std::atomic<win32::MessageBoxHandler> g_handler{nullptr};

std::wstring Widen(LPCSTR text)
{
    std::wstring out;
    for (const char* p = text; p && *p; ++p)
        out.push_back(static_cast<wchar_t>(static_cast<unsigned char>(*p)));
    return out;
}

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

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type)
{
    // The narrow texts are taken as Latin-1, as the launcher's ANSI code page would.
    return MessageBoxW(owner, Widen(text).c_str(), caption ? Widen(caption).c_str() : nullptr, type);
}
