#include "forms/user32.h"

#include "form_window.h"
#include "window_handles.h"
#include "win32/errors.h"
#include "win32/internal.h"
#include "forms/internal.h"

#include <wx/window.h>

#include <map>

namespace forms {

namespace {

std::map<HWND, FormWindow*>& Handles()
{
    static std::map<HWND, FormWindow*> handles;
    return handles;
}

}  // namespace

HWND RegisterWindowHandle(FormWindow* window)
{
    // Handles are never reused, so a stale one cannot reach a newer window.
    static uintptr_t next = 0x10000;
    next += 4;
    HWND handle = reinterpret_cast<HWND>(next);
    Handles()[handle] = window;
    return handle;
}

void ForgetWindowHandle(HWND handle)
{
    Handles().erase(handle);
}

FormWindow* WindowFromHandle(HWND handle)
{
    auto found = Handles().find(handle);
    return found == Handles().end() ? nullptr : found->second;
}

}  // namespace forms

LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM)
{
    forms::FormWindow* target = forms::WindowFromHandle(window);
    if (!target) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    if (message == WM_NCLBUTTONDOWN && wParam == HTCAPTION) {
        target->BeginDesktopMove();
        return 0;
    }
    SetLastError(ERROR_NOT_SUPPORTED);
    return 0;
}
