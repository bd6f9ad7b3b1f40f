// Message boxes as wx dialogs, for every message box of the program.
#include <wx/evtloop.h>

#include "internal.h"
#include "wxsupport/msgbox.h"
#include "win32/internal.h"

namespace {

int ShowReal(HWND owner, const wxString& text, const wxString& caption, UINT type)
{
    wxWindow* parent = reinterpret_cast<wxWindow*>(owner);
    if (!afxwin::IsLive(owner))
        parent = AfxGetMainWnd() ? afxwin::Internals::Wx(AfxGetMainWnd()) : nullptr;
    return wxsupport::ShowMessageBox(parent, text, caption, type);
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
