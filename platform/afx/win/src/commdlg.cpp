#include <sys/stat.h>

#include <wx/filedlg.h>

#include "internal.h"
#include "win32/text.h"

IMPLEMENT_DYNAMIC(CFileDialog, CDialog)

namespace {

// "Name|*.a;*.b|Other|*.c||" in the form wx takes ("Name|*.a;*.b|Other|*.c").
wxString Wildcard(const CString& filter)
{
    wxString w = afxwin::ToWx(filter);
    while (w.EndsWith("|"))
        w.RemoveLast();
    return w;
}

bool Exists(const CString& path)
{
    struct stat st{};
    return ::stat(win32::Utf8FromWide(path).c_str(), &st) == 0;
}

}  // namespace

CFileDialog::CFileDialog(BOOL openFileDialog, LPCTSTR defaultExt, LPCTSTR fileName, DWORD flags, LPCTSTR filter,
                         CWnd* parent)
    : CDialog(0, parent), m_bOpenFileDialog(openFileDialog), m_defaultExt(defaultExt), m_fileName(fileName),
      m_filter(filter)
{
    m_ofn.Flags = flags;
}

// What the user chose, as the dialog hands it back: the default extension is
// added to a name without one, and a save that would replace a file that the
// dialog itself did not ask about is asked about here. Empty: ask again.
CString CFileDialog::Complete(const CString& chosen, bool dialogAskedOverwrite)
{
    CString path = chosen;
    int slash = path.ReverseFind(L'/');
    bool extAdded = false;
    if (path.Find(L'.', slash + 1) < 0 && !m_defaultExt.IsEmpty()) {
        path += L".";
        path += m_defaultExt;
        extAdded = true;
    }
    if (!m_bOpenFileDialog && (m_ofn.Flags & OFN_OVERWRITEPROMPT) && (extAdded || !dialogAskedOverwrite) &&
        Exists(path)) {
        CString question;
        question.Format(L"%s already exists.\nDo you want to replace it?", path.Mid(slash + 1).GetString());
        if (AfxMessageBox(question, MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
            return CString();
    }
    return path;
}

INT_PTR CFileDialog::DoModal()
{
    return afxwin::OnUi([&]() -> INT_PTR {
        if (afxwin::HasModalAnswerer()) {
            for (int round = 0; round < 100; ++round) {
                AfxModalRequest request{AfxModalRequest::FileDialog, m_ofn.lpstrTitle ? m_ofn.lpstrTitle : L"", L"", 0,
                                        this};
                int answer = IDCANCEL;
                m_path.Empty();
                afxwin::AnswerModal(request, &answer);
                if (answer != IDOK || m_path.IsEmpty()) {
                    m_path.Empty();
                    return IDCANCEL;
                }
                CString path = Complete(m_path, false);
                if (!path.IsEmpty()) {
                    m_path = path;
                    return IDOK;
                }
            }
            m_path.Empty();
            return IDCANCEL;
        }
        wxWindow* parent = m_pParentWnd ? afxwin::Internals::Wx(m_pParentWnd) : (AfxGetMainWnd() ? afxwin::Internals::Wx(AfxGetMainWnd()) : nullptr);
        long style = m_bOpenFileDialog ? wxFD_OPEN : wxFD_SAVE;
        if (m_bOpenFileDialog && (m_ofn.Flags & OFN_FILEMUSTEXIST))
            style |= wxFD_FILE_MUST_EXIST;
        if (!m_bOpenFileDialog && (m_ofn.Flags & OFN_OVERWRITEPROMPT))
            style |= wxFD_OVERWRITE_PROMPT;
        wxString title = m_ofn.lpstrTitle ? afxwin::ToWx(m_ofn.lpstrTitle) : wxString(m_bOpenFileDialog ? "Open" : "Save As");
        wxString name = afxwin::ToWx(m_fileName);
        if (name.Contains("*") || name.Contains("?"))
            name.clear();
        for (;;) {
            wxFileDialog dialog(parent, title, wxEmptyString, name, Wildcard(m_filter), style);
            if (dialog.ShowModal() != wxID_OK)
                return IDCANCEL;
            CString path = Complete(afxwin::FromWx(dialog.GetPath()), true);
            if (!path.IsEmpty()) {
                m_path = path;
                return IDOK;
            }
            name = dialog.GetFilename();
        }
    });
}

