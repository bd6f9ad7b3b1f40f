#include "forms/msgbox.h"

#include "form_window.h"
#include "forms/form.h"
#include "window_handles.h"
#include "win32/text.h"
#include "wxsupport/msgbox.h"
#include "win32/internal.h"
#include "forms/internal.h"

#include <wx/thread.h>

#include <cstdio>

namespace forms {

namespace {

int ShowDialog(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type)
{
    if (!wxIsMainThread()) {
        std::fprintf(stderr, "[%ls] %ls\n", caption ? caption : L"", text ? text : L"");
        return win32::DefaultMessageBoxResult(type);
    }
    return wxsupport::ShowMessageBox(WindowFromHandle(owner), wxString(text ? text : L""),
                                     wxString(caption ? caption : L""), type);
}

}  // namespace

int MsgBox(const Form* owner, const std::string& prompt, UINT type, const std::string& title)
{
    // Wide text keeps UTF-8 file names readable; the narrow call would take
    // them as Latin-1.
    return MessageBoxW(owner ? owner->hWnd() : nullptr, win32::WideFromUtf8(prompt).c_str(),
                       win32::WideFromUtf8(title).c_str(), type);
}

win32::MessageBoxHandler InstallMessageBoxHandler()
{
    return win32::SetMessageBoxHandler(&ShowDialog);
}

}  // namespace forms
