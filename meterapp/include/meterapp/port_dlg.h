// The "Port" dialog (158): asks for a COM port number.
#pragma once

#include <afx/afxwin.h>

class CPort : public CDialog {
    DECLARE_DYNAMIC(CPort)
public:
    // parent may be null: the framework's main window owns the box then.
    explicit CPort(CWnd* pParent = nullptr);
    ~CPort() override = default;

    // The number shown in and read from the edit box; 0 to 256 on OK.
    UINT m_nPort = 0;

protected:
    // Refuses a text that is no unsigned number or lies outside 0 to 256 with
    // the framework's message; the dialog stays open then.
    void DoDataExchange(CDataExchange* pDX) override;

    DECLARE_MESSAGE_MAP()
};
