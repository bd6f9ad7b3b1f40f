// What the form library's own parts and its tests share; no program names it.
#pragma once

#include "win32/internal.h"

namespace forms {

// Installs the handler that shows message boxes (wxsupport/msgbox.h) on the
// user-interface thread; returns the handler it replaces. From another thread
// a box is written to standard error and answered with its default button.
win32::MessageBoxHandler InstallMessageBoxHandler();

}  // namespace forms
