// A modal box about to be shown: message boxes, CDialog::DoModal, file
// dialogs and the print dialog describe themselves so before they run. The
// layer passes the request to an answerer when one is installed (the test
// library does that, afx/testing.h); a program installs none and its boxes
// are shown to the user.
#pragma once

#include <functional>
#include <string>

#include "afx/wintypes.h"

class CDialog;

struct AfxModalRequest {
    enum Kind { MessageBox, Dialog, FileDialog, PrintDialog } kind;
    std::wstring text;      // message box text; dialog caption
    std::wstring caption;   // message box caption
    UINT type = 0;          // message box MB_ flags
    CDialog* dialog = nullptr;   // the dialog (all kinds but MessageBox)
};

// Returns the result the box ends with (IDOK, IDYES, ...).
using AfxModalAnswerer = std::function<int(const AfxModalRequest&)>;
