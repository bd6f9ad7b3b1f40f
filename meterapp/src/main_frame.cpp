#include "meterapp/main_frame.h"

#include "meterapp/decibar_view.h"
#include "meterapp/messages.h"
#include "meterdata/records.h"
#include "resource.h"

#include <win32/devicewatch.h>

namespace {

const UINT kIndicators[] = {
    ID_SEPARATOR,
    ID_INDICATOR_CAPS,
    ID_INDICATOR_NUM,
    ID_INDICATOR_SCRL,
};

bool AnyRecords()
{
    return (g_pRealTimeRecords && g_pRealTimeRecords->GetSize() > 0)
        || (g_pLogRecords && g_pLogRecords->GetSize() > 0);
}

} // namespace

IMPLEMENT_DYNCREATE(CMainFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_MESSAGE(WM_DEVICECHANGE, &CMainFrame::OnDeviceChange)
    ON_WM_CLOSE()
END_MESSAGE_MAP()

CMainFrame::CMainFrame()
{
    m_bAutoMenuEnable = FALSE;
    g_pView = nullptr;
}

CMainFrame::~CMainFrame() = default;

BOOL CMainFrame::PreCreateWindow(CREATESTRUCT& cs)
{
    // The caption shows the title "KV415" alone, never a document name.
    cs.style &= ~(FWS_ADDTOTITLE | FWS_PREFIXTITLE);
    return CFrameWnd::PreCreateWindow(cs);
}

int CMainFrame::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CFrameWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (!m_wndToolBar.CreateEx(this, TBSTYLE_FLAT,
            WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC,
            CRect(0, 0, 0, 0), AFX_IDW_TOOLBAR)
        || !m_wndToolBar.LoadToolBar(IDR_MAINFRAME))
        return -1;
    if (!m_wndStatusBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, AFX_IDW_STATUS_BAR)
        || !m_wndStatusBar.SetIndicators(kIndicators, sizeof(kIndicators) / sizeof(kIndicators[0])))
        return -1;
    m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
    EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_wndToolBar);
    return 0;
}

LRESULT CMainFrame::OnDeviceChange(WPARAM, LPARAM)
{
    if (g_pView)
        g_pView->SendMessage(WM_PORT_CHANGED, 0, 0);
    return TRUE;
}

void CMainFrame::OnClose()
{
    auto* view = dynamic_cast<CDecibarView*>(GetActiveView());
    if (AnyRecords() && MessageBox(L"Do you want to save the data before closing?", L"Tip", MB_YESNO) == IDYES
        && view && view->SaveRealTimeRecords() == ESaveOutcome::Failed)
        return; // the recording was not saved: the program stays open
    CFrameWnd::OnClose();
}
