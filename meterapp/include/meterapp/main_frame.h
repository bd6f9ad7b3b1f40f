// The main window: menu, tool bar, status bar, device-change relay and the
// save question on closing.
#pragma once

#include <afx/afxwin.h>

class CMainFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CMainFrame)

protected:
    // Switches the framework's automatic menu enabling off and clears g_pView.
    CMainFrame();

public:
    ~CMainFrame() override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    // Sends WM_PORT_CHANGED to the view for every notification; returns TRUE.
    LRESULT OnDeviceChange(WPARAM wParam, LPARAM lParam);
    // Asks whether to save when either record array holds records (Yes runs
    // the view's Save as), then closes; stays open only when that save failed.
    void OnClose();

    DECLARE_MESSAGE_MAP()

private:
    CStatusBar m_wndStatusBar;
    CToolBar m_wndToolBar;
};
