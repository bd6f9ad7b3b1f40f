// Dialogs from dialog templates, and dialog data exchange.
#pragma once

#include "afx/controls.h"
#include "afx/exception.h"

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
    friend class CFileDialog;
    friend class CPrintDialog;
    friend struct afxwin::Internals;

public:
    CDialog();
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    ~CDialog() override;

    // Modal: creates the window, runs OnInitDialog and a modal loop until
    // EndDialog; returns the value given to EndDialog (IDOK, IDCANCEL, ...) or
    // -1 when the template is not registered. Timers and messages sent from
    // other threads keep running meanwhile.
    virtual INT_PTR DoModal();
    // Modeless: creates the window (shown when the template has WS_VISIBLE);
    // FALSE when the template is not registered. DestroyWindow ends it.
    virtual BOOL Create(UINT templateId, CWnd* parent = nullptr);
    BOOL DestroyWindow() override;

    // Exchanges members into the controls (UpdateData(FALSE)); TRUE sets the
    // focus on the first control that takes it.
    virtual BOOL OnInitDialog();
    // OK: UpdateData(TRUE) and, when it succeeds, EndDialog(IDOK).
    virtual void OnOK();
    // Cancel, Esc and the close box: EndDialog(IDCANCEL).
    virtual void OnCancel();

    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    DECLARE_MESSAGE_MAP()

private:
    UINT m_nTemplateId = 0;
    CWnd* m_pParentWnd = nullptr;
    bool m_modalRunning = false;
    int m_modalResult = -1;
    void EndDialog(int result);
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    // Dialog units of this dialog's template to pixels, in place.
    void MapDialogRect(LPRECT rect) const;
};

// One data exchange. When saving (m_bSaveAndValidate TRUE) a failed check shows
// its message and calls Fail, which throws CUserException; UpdateData catches
// it and returns FALSE.
class CDataExchange {
    friend class CWnd;
    friend void DDX_Control(CDataExchange* pDX, int id, CWnd& control);
    friend void DDX_Text(CDataExchange* pDX, int id, int& value);
    friend void DDX_Text(CDataExchange* pDX, int id, UINT& value);
    friend void DDX_Text(CDataExchange* pDX, int id, long& value);
    friend void DDX_Text(CDataExchange* pDX, int id, double& value);
    friend void DDX_Text(CDataExchange* pDX, int id, CString& value);
    friend struct afxwin::Internals;

public:
    CDataExchange(CWnd* dlgWnd, BOOL saveAndValidate);

private:
    // Remembers the control the next checks are about; returns its window.
    HWND PrepareCtrl(int id);
    HWND PrepareEditCtrl(int id);
    // Puts the focus on the last prepared control and throws CUserException.
    [[noreturn]] void Fail();

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
    HWND m_hWndLastControl = nullptr;
    BOOL m_bEditLastControl = FALSE;
};

void DDX_Control(CDataExchange* pDX, int id, CWnd& control);
void DDX_Text(CDataExchange* pDX, int id, int& value);
void DDX_Text(CDataExchange* pDX, int id, UINT& value);
void DDX_Text(CDataExchange* pDX, int id, long& value);
void DDX_Text(CDataExchange* pDX, int id, double& value);
void DDX_Text(CDataExchange* pDX, int id, CString& value);
void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);
void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal);
