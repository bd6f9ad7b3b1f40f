#include "wxsupport/msgbox.h"
#include "win32/internal.h"

#include <wx/msgdlg.h>
#include <wx/generic/msgdlgg.h>

namespace wxsupport {

long MessageBoxStyle(UINT type)
{
    long style = 0;
    const bool second = (type & MB_DEFBUTTON2) != 0;
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
    case MB_RETRYCANCEL: style = wxOK | wxCANCEL | (second ? wxCANCEL_DEFAULT : 0); break;
    case MB_YESNO: style = wxYES_NO | (second ? wxNO_DEFAULT : 0); break;
    case MB_YESNOCANCEL:
    case MB_ABORTRETRYIGNORE: style = wxYES_NO | wxCANCEL | (second ? wxNO_DEFAULT : 0); break;
    default: style = wxOK; break;
    }
    switch (type & MB_ICONMASK) {
    case MB_ICONHAND: style |= wxICON_ERROR; break;
    case MB_ICONQUESTION: style |= wxICON_QUESTION; break;
    case MB_ICONEXCLAMATION: style |= wxICON_WARNING; break;
    case MB_ICONASTERISK: style |= wxICON_INFORMATION; break;
    default: style |= wxICON_NONE; break;
    }
    return style;
}

int MessageBoxAnswer(UINT type, int dialogResult)
{
    const UINT kind = type & MB_TYPEMASK;
    if (kind == MB_ABORTRETRYIGNORE)
        return dialogResult == wxID_YES ? IDABORT : dialogResult == wxID_NO ? IDRETRY : IDIGNORE;
    switch (dialogResult) {
    case wxID_OK: return kind == MB_RETRYCANCEL ? IDRETRY : IDOK;
    case wxID_YES: return IDYES;
    case wxID_NO: return IDNO;
    default: return kind == MB_OK ? IDOK : IDCANCEL;
    }
}

int ShowMessageBox(wxWindow* parent, const wxString& text, const wxString& caption, UINT type)
{
    wxString shown = text;
    shown.Replace("\r\n", "\n");
    // GTK's own message dialog shows no icon since GTK 3.12; wx's generic one
    // shows the one the style names, and none when the style names none
    // (wxICON_NONE is for the native dialog only).
    wxGenericMessageDialog dialog(parent, shown, caption, MessageBoxStyle(type) & ~wxICON_NONE);
    switch (type & MB_TYPEMASK) {
    case MB_ABORTRETRYIGNORE: dialog.SetYesNoCancelLabels("&Abort", "&Retry", "&Ignore"); break;
    case MB_RETRYCANCEL: dialog.SetOKCancelLabels("&Retry", wxID_CANCEL); break;
    default: break;
    }
    return MessageBoxAnswer(type, dialog.ShowModal());
}

}  // namespace wxsupport
