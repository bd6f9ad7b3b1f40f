// Window handles of forms: the HWND values user32 calls are given.
// User-interface thread only.
#pragma once

#include "win32/types.h"

namespace forms {

class FormWindow;

HWND RegisterWindowHandle(FormWindow* window);
void ForgetWindowHandle(HWND handle);
// The window of a handle, or null for one that is no form's (any more).
FormWindow* WindowFromHandle(HWND handle);

}  // namespace forms
