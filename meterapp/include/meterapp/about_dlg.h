// The About box: the program's icon, name and version (dialog 100).
#pragma once

#include <afx/afxwin.h>

class CAboutDlg : public CDialog {
public:
    // No parent: the framework's main window owns the box while it runs.
    CAboutDlg();
    ~CAboutDlg() override = default;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    DECLARE_MESSAGE_MAP()
};
