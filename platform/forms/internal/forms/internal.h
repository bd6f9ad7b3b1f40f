// What the form library's own parts and its tests share; no program names it.
#pragma once

#include "forms/controls.h"
#include "forms/form.h"
#include "win32/internal.h"

#include <string>
#include <vector>

#ifndef ERROR_INVALID_WINDOW_HANDLE
#define ERROR_INVALID_WINDOW_HANDLE 1400u
#endif

namespace forms {

// Mouse buttons and shift keys as Form::Form_MouseDown reports them.
enum MouseButton { vbLeftButton = 1, vbRightButton = 2, vbMiddleButton = 4 };
enum ShiftMask { vbShiftMask = 1, vbCtrlMask = 2, vbAltMask = 4 };

// What the library's own parts and its tests read of forms and controls.
struct Internals {
    static const wxRect& Area(const Control& control) { return control.Area(); }
    static const wxCursor& MousePointer(const Control& control) { return control.MousePointer(); }
    static void LeftClicked(Control& control) { control.LeftClicked(); }
    static const std::string& Caption(const Label& label) { return label.Caption(); }
    static const wxFont& Font(const Label& label) { return label.Font(); }
    static bool IsLoaded(const Form& form) { return form.IsLoaded(); }
    static int MovesStarted(const Form& form) { return form.MovesStarted(); }
    static Control* ControlAt(const Form& form, int x, int y) { return form.ControlAt(x, y); }
    static const std::vector<Control*>& Controls(const Form& form) { return form.Controls(); }
};

// Installs the handler that shows message boxes (wxsupport/msgbox.h) on the
// user-interface thread; returns the handler it replaces. From another thread
// a box is written to standard error and answered with its default button.
win32::MessageBoxHandler InstallMessageBoxHandler();

}  // namespace forms
