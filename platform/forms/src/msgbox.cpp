#include "forms/msgbox.h"

#include "form_window.h"
#include "forms/form.h"
#include "window_handles.h"

#include <wx/msgdlg.h>
#include <wx/thread.h>

#include <cstdio>

namespace forms {

namespace {

// UTF-8 to wide text; each byte of a broken sequence becomes U+FFFD, so a
// file name that is not valid UTF-8 still shows where it went wrong.
std::wstring WideFromUtf8(const std::string& text)
{
    std::wstring out;
    size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            out.push_back(static_cast<wchar_t>(lead));
            ++i;
            continue;
        }
        const int extra = (lead >> 5) == 0x6 ? 1 : (lead >> 4) == 0xE ? 2 : (lead >> 3) == 0x1E ? 3 : 0;
        uint32_t code = lead & (0x3Fu >> extra);
        bool ok = extra > 0 && i + static_cast<size_t>(extra) < text.size();
        for (int k = 1; ok && k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(text[i + static_cast<size_t>(k)]);
            ok = (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3Fu);
        }
        static const uint32_t smallest[] = {0, 0x80, 0x800, 0x10000};
        if (ok && (code < smallest[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)))
            ok = false;
        if (!ok) {
            out.push_back(L'\uFFFD');
            ++i;
            continue;
        }
        out.push_back(static_cast<wchar_t>(code));
        i += static_cast<size_t>(extra) + 1;
    }
    return out;
}

wxString DialogText(LPCWSTR text)
{
    wxString shown(text ? text : L"");
    shown.Replace("\r\n", "\n");
    return shown;
}

int ShowDialog(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type)
{
    if (!wxIsMainThread()) {
        std::fprintf(stderr, "[%ls] %ls\n", caption ? caption : L"", text ? text : L"");
        return win32::DefaultMessageBoxResult(type);
    }
    wxMessageDialog dialog(WindowFromHandle(owner), DialogText(text), wxString(caption ? caption : L""),
                           DialogStyle(type));
    switch (type & MB_TYPEMASK) {
    case MB_ABORTRETRYIGNORE: dialog.SetYesNoCancelLabels("&Abort", "&Retry", "&Ignore"); break;
    case MB_RETRYCANCEL: dialog.SetOKCancelLabels("&Retry", wxID_CANCEL); break;
    default: break;
    }
    return BoxResult(type, dialog.ShowModal());
}

}  // namespace

long DialogStyle(UINT type)
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

int BoxResult(UINT type, int dialogResult)
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

int MsgBox(const Form* owner, const std::string& prompt, UINT type, const std::string& title)
{
    // Wide text keeps UTF-8 file names readable; the narrow call would take
    // them as Latin-1.
    return MessageBoxW(owner ? owner->hWnd() : nullptr, WideFromUtf8(prompt).c_str(), WideFromUtf8(title).c_str(),
                       type);
}

win32::MessageBoxHandler InstallMessageBoxHandler()
{
    return win32::SetMessageBoxHandler(&ShowDialog);
}

}  // namespace forms
