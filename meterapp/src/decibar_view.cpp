#include "meterapp/decibar_view.h"

#include "meterapp/datalog_dlg.h"
#include "meterapp/key_senders.h"
#include "meterapp/messages.h"
#include "meterdata/help_file.h"
#include "meterdata/recording.h"
#include "meterdata/sample_rates.h"
#include "meterdata/view_layout.h"
#include "resource.h"
#include "win32/shell.h"

#include <seriallink/ComPort.h>

CDecibarView* g_pView = nullptr;
int g_nLogBytes = 0;

namespace {

const int kDefaultMaxSamples = 40000;

} // namespace

IMPLEMENT_DYNCREATE(CDecibarView, CFormView)

BEGIN_MESSAGE_MAP(CDecibarView, CFormView)
    ON_WM_CTLCOLOR()
    ON_BN_CLICKED(IDC_UNDO_ZOOM, &CDecibarView::OnUndoZoom)
    ON_WM_TIMER()
    ON_COMMAND(ID_REALTIME_RUN, &CDecibarView::OnRun)
    ON_COMMAND(ID_REALTIME_STOP, &CDecibarView::OnStop)
    ON_MESSAGE(WM_GRAPH_SCALE, &CDecibarView::OnGraphScale)
    ON_MESSAGE(WM_GRAPH_CURSOR, &CDecibarView::OnGraphCursor)
    ON_MESSAGE(WM_GRAPH_HOVER, &CDecibarView::OnGraphHover)
    ON_MESSAGE(WM_PORT_CHANGED, &CDecibarView::OnPortChanged)
    ON_MESSAGE(WM_METER_KEY, &CDecibarView::OnMeterKey)
    ON_COMMAND(ID_REALTIME_CLEAR, &CDecibarView::OnClearData)
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_COMMAND(ID_REALTIME_SETUP, &CDecibarView::OnSetup)
    ON_COMMAND(ID_FILE_EXIT, &CDecibarView::OnExit)
    ON_COMMAND(ID_HELP_CONTENTS, &CDecibarView::OnHelpContents)
    ON_UPDATE_COMMAND_UI(ID_REALTIME_RUN, &CDecibarView::OnUpdateRun)
    ON_UPDATE_COMMAND_UI(ID_REALTIME_STOP, &CDecibarView::OnUpdateStop)
    ON_WM_SIZE()
    ON_COMMAND(ID_COMPORT_MANUAL, &CDecibarView::OnComPortManual)
    ON_COMMAND(ID_COMPORT_AUTO, &CDecibarView::OnComPortAuto)
    ON_UPDATE_COMMAND_UI(ID_COMPORT_MANUAL, &CDecibarView::OnUpdateComPortManual)
    ON_UPDATE_COMMAND_UI(ID_COMPORT_AUTO, &CDecibarView::OnUpdateComPortAuto)
    ON_MESSAGE(WM_METER_FACE, &CDecibarView::OnMeterFaceRedraw)
    ON_MESSAGE(WM_METER_HOLD, &CDecibarView::OnMeterHold)
    ON_COMMAND(ID_FILE_SAVE_DATA, &CDecibarView::OnSaveAs)
    ON_COMMAND(ID_FILE_EXPORT_EXCEL, &CDecibarView::OnExportExcel)
    ON_COMMAND(ID_FILE_PRINT_DATA, &CDecibarView::OnPrintData)
    ON_COMMAND(ID_FILE_PRINT_GRAPH, &CDecibarView::OnPrintGraph)
    ON_COMMAND(ID_DATALOGGER, &CDecibarView::OnDataLogger)
    ON_COMMAND(ID_FILE_OPEN_DATA, &CDecibarView::OnOpenDataFile)
    ON_MESSAGE(WM_LOG_DONE, &CDecibarView::OnLogDone)
    ON_MESSAGE(WM_LOG_PROGRESS, &CDecibarView::OnLogProgress)
    ON_MESSAGE(WM_LOG_FAILED, &CDecibarView::OnLogFailed)
END_MESSAGE_MAP()

CDecibarView::CDecibarView()
    : CFormView(IDD_MYORVO_FORM)
{
    m_pPort = new CComPort;
    m_pKeySenders = std::make_unique<CKeySenders>(m_pPort, [this] {
        std::lock_guard<std::mutex> lock(m_stateLock);
        return meterproto::SKeyLinkView { m_reading, m_liveStream.position };
    });
    CreateRecordArrays();
    g_pView = this;
    m_timeLastRx = std::chrono::steady_clock::now();
}

CDecibarView::~CDecibarView()
{
    // No sender may write to the port or read the state once they are gone.
    m_pKeySenders->StopAll();
    delete m_pPort; // closes the link and ends its reader thread first
    m_pPort = nullptr;
    m_pKeySenders.reset();
    if (m_brush)
        DeleteObject(reinterpret_cast<HGDIOBJ>(m_brush));
    // The window refers to logged records: it goes before them.
    delete m_pLogDlg;
    m_pLogDlg = nullptr;
    DestroyRecordArrays();
    if (g_pView == this)
        g_pView = nullptr;
}

BOOL CDecibarView::PreCreateWindow(CREATESTRUCT& cs)
{
    return CFormView::PreCreateWindow(cs);
}

void CDecibarView::DoDataExchange(CDataExchange* pDX)
{
    CFormView::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_GRAPH, m_graph);
    DDX_Control(pDX, IDC_VSCROLL, m_vScroll);
    DDX_Control(pDX, IDC_HSCROLL, m_hScroll);
    DDX_Control(pDX, IDC_KEY_REC, m_keys[0]);
    DDX_Control(pDX, IDC_KEY_LEVEL, m_keys[1]);
    DDX_Control(pDX, IDC_KEY_AC, m_keys[2]);
    DDX_Control(pDX, IDC_KEY_MAXMIN, m_keys[3]);
    DDX_Control(pDX, IDC_KEY_FASTSLOW, m_keys[4]);
    DDX_Control(pDX, IDC_KEY_STOP, m_keys[5]);
    DDX_Control(pDX, IDC_GRAPH_GROUP, m_grpGraph);
    DDX_Control(pDX, IDC_CURSOR_GROUP, m_grpCursor);
}

// The framework runs this again on its New and Open commands. The document
// holds nothing, so a repeat has nothing to bring up to date: the set-up runs
// once, and a repeat leaves the pictures, the rate list, a running recording,
// its statistics and the open port as they are.
void CDecibarView::OnInitialUpdate()
{
    CFormView::OnInitialUpdate();
    GetParentFrame()->RecalcLayout();
    ResizeParentToFit(TRUE);
    if (m_bInitialised)
        return;
    m_bInitialised = true;

    LoadPictures();
    {
        std::lock_guard<std::mutex> lock(m_stateLock);
        m_strRx.Empty();
        meterproto::ResetReading(m_reading);
    }
    m_bLogMode = false;
    m_bLogReplySeen = false;
    m_bRecording = false;
    FillRateList();
    ResetStatistics();
    m_nMaxSamples = kDefaultMaxSamples;
    m_bConnected = false;
    m_brush = CreateSolidBrush(kFormColour);
    DetectAndOpenMeterPort();
    SetUpGraph();
}

void CDecibarView::LoadPictures()
{
    for (int digit = 0; digit < 10; ++digit)
        m_bmpDigits[digit].LoadBitmap(IDB_DIGIT_0 + digit);
    m_bmpFace.LoadBitmap(IDB_METER_FACE);
    m_bmpIdle.LoadBitmap(IDB_IDLE);
    m_bmpPoint.LoadBitmap(IDB_DECIMAL_POINT);
    m_bmpBarSegment.LoadBitmap(IDB_BAR_SEGMENT);
}

// Inserted by position so that the order, and each interval's index, is the
// same as in the setup dialog although the list has the sorted style.
void CDecibarView::FillRateList()
{
    CComboBox* rates = static_cast<CComboBox*>(GetDlgItem(IDC_RATE));
    if (!rates)
        return;
    for (const SSampleRate& rate : kSampleRates)
        rates->InsertString(-1, rate.listText);
    rates->SetCurSel(kDefaultSampleRate);
}

void CDecibarView::ResetStatistics()
{
    ResetRecordingStatistics(m_stat);
}

CDecibarView::SReading CDecibarView::ReadingNow()
{
    std::lock_guard<std::mutex> lock(m_stateLock);
    return m_reading;
}

int CDecibarView::KeySendersRunning() const
{
    return m_pKeySenders->Running();
}

void CDecibarView::OnSize(UINT nType, int cx, int cy)
{
    // The form view's own scroll-bar handling is skipped on purpose: the
    // panel grows with the window instead of scrolling.
    CWnd::DefWindowProc(WM_SIZE, nType, MAKELPARAM(cx, cy));
    if (!m_graph.GetSafeHwnd())
        return;

    CRect client;
    GetClientRect(&client);
    CRect cursorGroup;
    m_grpCursor.GetWindowRect(&cursorGroup);
    ScreenToClient(&cursorGroup);
    const SGraphPanelLayout layout
        = LayOutGraphPanel(client.Width(), client.Height(), cursorGroup.left, cursorGroup.bottom);

    m_graph.SetWindowPos(nullptr, layout.graph.x, layout.graph.y, layout.graph.width, layout.graph.height,
        SWP_SHOWWINDOW);
    m_vScroll.SetWindowPos(nullptr, layout.vScroll.x, layout.vScroll.y, layout.vScroll.width,
        layout.vScroll.height, SWP_SHOWWINDOW);
    m_hScroll.SetWindowPos(nullptr, layout.hScroll.x, layout.hScroll.y, layout.hScroll.width,
        layout.hScroll.height, SWP_NOOWNERZORDER);
    m_grpGraph.SetWindowPos(nullptr, layout.graphGroup.x, client.top + layout.graphGroup.y,
        layout.graphGroup.width, layout.graphGroup.height, SWP_NOOWNERZORDER);
}

HBRUSH CDecibarView::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    const int id = pWnd ? pWnd->GetDlgCtrlID() : 0;
    ColourPanelControl(pDC, id);
    // Before the first initial update there is no brush yet: the system's then.
    if (id == IDC_HSCROLL || id == IDC_VSCROLL || nCtlColor == CTLCOLOR_EDIT || !m_brush)
        return CFormView::OnCtlColor(pDC, pWnd, nCtlColor);
    return m_brush;
}

void CDecibarView::OnUpdateRun(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(!m_bRecording);
}

void CDecibarView::OnUpdateStop(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_bRecording);
}

void CDecibarView::OnUpdateComPortManual(CCmdUI* pCmdUI)
{
    pCmdUI->SetRadio(!m_bAutoPort);
}

void CDecibarView::OnUpdateComPortAuto(CCmdUI* pCmdUI)
{
    pCmdUI->SetRadio(m_bAutoPort);
}

void CDecibarView::OnExit()
{
    GetParentFrame()->SendMessage(WM_CLOSE, 0, 0);
}

void CDecibarView::OnHelpContents()
{
    WCHAR program[260] = {};
    GetModuleFileNameW(nullptr, program, 260);
    ShellExecuteW(GetSafeHwnd(), L"open", HelpFilePath(program), nullptr, nullptr, SW_SHOWNORMAL);
}
