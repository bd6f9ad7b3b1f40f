// The user32 calls a form program makes on its own window. Window handles are
// those of forms (Form::hWnd). User-interface thread only.
#pragma once

#include "win32/types.h"
#include "wxsupport/capture.h"

#define WM_NCLBUTTONDOWN 0x00A1u
#define HTCAPTION 2


// WM_NCLBUTTONDOWN with HTCAPTION starts the desktop's own move of the form's
// window, following the pointer from where it is now, and returns 0. A form
// that is not shown does not move. Other messages are not handled: 0 and
// ERROR_NOT_SUPPORTED. A handle that is no form's: 0 and
// ERROR_INVALID_WINDOW_HANDLE.
LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
