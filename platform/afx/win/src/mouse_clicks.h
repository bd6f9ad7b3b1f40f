// Left-button presses of drawn windows in the order Windows reports them: a
// double click is WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP.
#pragma once

#include <wx/event.h>

#include "afx/wintypes.h"

namespace afxwin {

// The message a wx left press stands for: WM_LBUTTONDBLCLK when it is the
// second press of a double click (the same window, within the system's
// double-click time and distance of a first press), else WM_LBUTTONDOWN.
UINT LeftPressMessage(wxWindow* window, const wxMouseEvent& event);

// wx reports a double click either in place of the second press or after it.
// The message that wx double click stands for: WM_LBUTTONDBLCLK when the
// press it belongs to has not been reported yet, 0 when it has been (as a
// double click or, by the rule above, as a press of its own).
UINT LeftDoubleClickMessage(wxWindow* window, const wxMouseEvent& event);

// Any other button press ends a pending double click.
void OtherButtonPressed();

}  // namespace afxwin
