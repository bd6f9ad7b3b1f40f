// Message boxes as wx dialogs, for every message box of the program.
#include <wx/evtloop.h>
#include <wx/msgdlg.h>

#include "internal.h"

namespace {

int ShowReal(HWND owner, const wxString& text, const wxString& caption, UINT type)
{
    long style = 0;
    const UINT kind = type & MB_TYPEMASK;
    switch (kind) {
    case MB_OKCANCEL:
    case MB_RETRYCANCEL: style = wxOK | wxCANCEL; break;
    case MB_YESNO: style = wxYES_NO; break;
    case MB_YESNOCANCEL:
    case MB_ABORTRETRYIGNORE: style = wxYES_NO | wxCANCEL; break;
    default: style = wxOK; break;
    }
    switch (type & MB_ICONMASK) {
    case MB_ICONHAND: style |= wxICON_ERROR; break;
    case MB_ICONQUESTION: style |= wxICON_QUESTION; break;
    case MB_ICONEXCLAMATION: style |= wxICON_WARNING; break;
    case MB_ICONASTERISK: style |= wxICON_INFORMATION; break;
    default: style |= wxICON_NONE; break;
    }
    if (type & MB_DEFBUTTON2)
        style |= (kind == MB_YESNO || kind == MB_YESNOCANCEL || kind == MB_ABORTRETRYIGNORE) ? wxNO_DEFAULT : wxCANCEL_DEFAULT;
    wxWindow* parent = reinterpret_cast<wxWindow*>(owner);
    if (!afxwin::IsLive(owner))
        parent = AfxGetMainWnd() ? AfxGetMainWnd()->GetWx() : nullptr;
    wxMessageDialog dialog(parent, text, caption, style);
    if (kind == MB_RETRYCANCEL)
        dialog.SetOKCancelLabels("&Retry", "Cancel");
    else if (kind == MB_ABORTRETRYIGNORE)
        dialog.SetYesNoCancelLabels("&Abort", "&Retry", "&Ignore");
    int r = dialog.ShowModal();
    switch (kind) {
    case MB_OKCANCEL: return r == wxID_OK ? IDOK : IDCANCEL;
    case MB_RETRYCANCEL: return r == wxID_OK ? IDRETRY : IDCANCEL;
    case MB_YESNO: return r == wxID_YES ? IDYES : IDNO;
    case MB_YESNOCANCEL: return r == wxID_YES ? IDYES : r == wxID_NO ? IDNO : IDCANCEL;
    case MB_ABORTRETRYIGNORE: return r == wxID_YES ? IDABORT : r == wxID_NO ? IDRETRY : IDIGNORE;
    default: return IDOK;
    }
}

int OnUiThread(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type)
{
    wxString wtext = afxwin::ToWx(text);
    wxString wcaption = caption ? afxwin::ToWx(caption) : afxwin::ToWx(AfxGetAppName());
    if (afxwin::HasModalAnswerer()) {
        // The answer comes from inside a modal loop, so timers and sent messages go on.
        AfxModalRequest request{AfxModalRequest::MessageBox, text ? text : L"", wcaption.ToStdWstring(), type, nullptr};
        int result = win32::DefaultMessageBoxResult(type);
        wxGUIEventLoop loop;
        bool done = false;
        afxwin::RunSoon([&] {
            afxwin::AnswerModal(request, &result);
            done = true;
            loop.Exit();
        });
        while (!done)
            loop.Run();
        return result;
    }
    return ShowReal(owner, wtext, wcaption, type);
}

int Handler(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type)
{
    if (!wxTheApp)
        return win32::DefaultMessageBoxResult(type);
    int result = win32::DefaultMessageBoxResult(type);
    afxwin::CallOnUiThread([&] { result = OnUiThread(owner, text, caption, type); });
    return result;
}

}  // namespace

namespace afxwin {
void InstallMessageBoxes()
{
    win32::SetMessageBoxHandler(&Handler);
}
}  // namespace afxwin

int AfxMessageBox(LPCTSTR text, UINT type, UINT)
{
    CWnd* main = AfxGetMainWnd();
    return MessageBoxW(main ? main->m_hWnd : nullptr, text, AfxGetAppName(), type);
}

int AfxMessageBox(UINT stringId, UINT type, UINT helpId)
{
    return AfxMessageBox(AfxLoadString(stringId), type, helpId);
}
