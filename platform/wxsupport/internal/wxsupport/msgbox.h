// Message boxes on wxWidgets, shared by the window layers: a box of MB_ flags
// as a wx dialog and its answer as the button id the flags promise.
#pragma once

#include "win32/user.h"

class wxString;
class wxWindow;

namespace wxsupport {

// The wx dialog style of a box of `type`: its buttons, its default button and
// its icon (MB_ICONERROR/HAND, MB_ICONWARNING/EXCLAMATION, MB_ICONQUESTION,
// MB_ICONINFORMATION/ASTERISK; wxICON_NONE when the flags name none).
long MessageBoxStyle(UINT type);

// The answer of a box of `type` (IDOK, IDYES, IDRETRY...) for the dialog's
// result (wxID_OK, wxID_YES, wxID_NO, wxID_CANCEL).
int MessageBoxAnswer(UINT type, int dialogResult);

// Shows a modal box over `parent` (may be null) and returns its answer. The
// icon the flags ask for is shown; "\r\n" in the text breaks a line.
// User-interface thread only.
int ShowMessageBox(wxWindow* parent, const wxString& text, const wxString& caption, UINT type);

}  // namespace wxsupport
