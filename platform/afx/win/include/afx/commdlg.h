// File and print dialogs.
#pragma once

#include "afx/dialog.h"

#define OFN_OVERWRITEPROMPT 0x00000002u
#define OFN_HIDEREADONLY 0x00000004u

// The platform's file dialog. `filter` is the Windows form: pairs of a shown
// name and a pattern list separated by "|", ending with "||" (for example
// L"Data File(*.txt)|*.txt||"). The default extension (without the dot) is
// added to a chosen name that has none. With OFN_OVERWRITEPROMPT a save that
// would replace an existing file asks first ("<name> already exists.\nDo you
// want to replace it?", Yes / No); No shows the dialog again. A test answer
// (afx/testing.h) is treated as the name the user chose.
class CFileDialog : public CDialog {
    DECLARE_DYNAMIC(CFileDialog)
    struct OPENFILENAME {
        DWORD Flags;
        LPCTSTR lpstrTitle;
    };
    friend class CWinApp;
    friend struct afxwin::Internals;

public:
    CFileDialog(BOOL openFileDialog, LPCTSTR defaultExt = nullptr, LPCTSTR fileName = nullptr,
                DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCTSTR filter = nullptr,
                CWnd* parent = nullptr);
    INT_PTR DoModal() override;
    CString GetPathName() const { return m_path; }

    CString m_path;

private:
    OPENFILENAME m_ofn{};
    // Framework internals, read by the test driver.
    BOOL m_bOpenFileDialog;
    CString m_defaultExt;
    CString m_fileName;
    CString m_filter;
    CString Complete(const CString& chosen, bool dialogAskedOverwrite);
};

#define PD_ALLPAGES 0x00000000u
#define PD_NOSELECTION 0x00000004u
#define PD_NOPAGENUMS 0x00000008u
#define PD_USEDEVMODECOPIES 0x00040000u
#define PD_DISABLEPRINTTOFILE 0x00080000u
#define PD_HIDEPRINTTOFILE 0x00100000u

// The print dialog: the desktop's (GTK's) print dialog, in which the user picks
// a printer (any CUPS queue, or GTK's "Print to File", which writes a PDF), the
// paper and the number of copies. DoModal returns IDOK or IDCANCEL. After IDOK
// (and unless PD_PRINTSETUP) GetPrinterDC is a printer context on the chosen
// printer with those settings (see CDC::CreateDC), or null when it could not
// be made; the caller owns it and deletes it with DeleteDC. The dialog offers
// no page ranges of its own: a document prints whole.
class CPrintDialog : public CDialog {
    DECLARE_DYNAMIC(CPrintDialog)
    struct PRINTDLG {
        DWORD Flags;
        WORD nFromPage;
        WORD nToPage;
        WORD nMinPage;
        WORD nMaxPage;
        WORD nCopies;
        HDC hDC;
    };
    friend struct afxwin::Internals;

public:
    explicit CPrintDialog(BOOL printSetupOnly, DWORD flags = PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOPAGENUMS | PD_HIDEPRINTTOFILE | PD_NOSELECTION,
                          CWnd* parent = nullptr);
    INT_PTR DoModal() override;
    int GetCopies() const;
    HDC GetPrinterDC() const { return m_pd.hDC; }

private:
    PRINTDLG m_pd{};
    // The user's choice, as the dialog (or the test driver) leaves it: a CUPS
    // queue, or a PDF file instead of a queue, and the settings chosen for it.
    CString m_deviceName;
    CString m_outputFile;
    DEVMODE m_devMode{};
    void MakePrinterDC();
};
