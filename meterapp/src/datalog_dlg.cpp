#include "meterapp/datalog_dlg.h"

#include "meterapp/file_commands.h"
#include "meterapp/messages.h"
#include "meterdata/logged_data.h"
#include "meterdata/sample_rates.h"
#include "resource.h"

#include <graph/geometry.h>
#include <graph/scales.h>

#include <cstdint>
#include <cwchar>

namespace {

struct SColumn {
    const wchar_t* heading;
    int width;
};
const SColumn kColumns[] = { { L"ID", 31 }, { L"DATETIME", 120 }, { L"UNIT", 55 }, { L"Sampling Rate", 85 },
    { L"Nums", 45 } };

// What a loaded recording's statistics fill in.
const int kStatisticsTexts[] = { IDC_AVERAGE, IDC_MAX_VALUE, IDC_MAX_TIME, IDC_MIN_VALUE, IDC_MIN_TIME,
    IDC_START_TIME, IDC_DATA_COUNT };

CString Format(const wchar_t* format, double value)
{
    CString text;
    text.Format(format, value);
    return text;
}

CString FormatInt(int value)
{
    CString text;
    text.Format(L"%d", value);
    return text;
}

} // namespace

IMPLEMENT_DYNAMIC(CDataLogDlg, CDialog)

BEGIN_MESSAGE_MAP(CDataLogDlg, CDialog)
    ON_BN_CLICKED(IDC_UNDO_ZOOM, &CDataLogDlg::OnUndoZoom)
    ON_MESSAGE(WM_GRAPH_SCALE, &CDataLogDlg::OnGraphScale)
    ON_MESSAGE(WM_GRAPH_CURSOR, &CDataLogDlg::OnGraphCursor)
    ON_MESSAGE(WM_GRAPH_HOVER, &CDataLogDlg::OnGraphHover)
    ON_WM_PAINT()
    ON_NOTIFY(NM_DBLCLK, IDC_RECORD_LIST, &CDataLogDlg::OnDblclkRecordList)
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_WM_CTLCOLOR()
    ON_WM_CLOSE()
    ON_COMMAND(ID_IMPORT_DATA, &CDataLogDlg::OnImportData)
    ON_COMMAND(ID_EXPORT_SELECTED_EXCEL, &CDataLogDlg::OnExportExcel)
    ON_COMMAND(ID_SAVE_SELECTED, &CDataLogDlg::OnSaveSelected)
    ON_COMMAND(ID_PRINT_SELECTED_GRAPH, &CDataLogDlg::OnPrintGraph)
    ON_COMMAND(ID_PRINT_SELECTED_DATA, &CDataLogDlg::OnPrintData)
END_MESSAGE_MAP()

CDataLogDlg::CDataLogDlg(CWnd* parent)
    : CDialog(IDD_DATALOGGER, parent)
    , m_pRecords(new CObArray)
    , m_brush(CreateSolidBrush(kFormColour))
{
}

CDataLogDlg::~CDataLogDlg()
{
    if (GetSafeHwnd())
        DestroyWindow();
    delete m_pRecords;
    DeleteObject(reinterpret_cast<HGDIOBJ>(m_brush));
}

void CDataLogDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_GRAPH, m_graph);
    DDX_Control(pDX, IDC_RECORD_LIST, m_list);
    DDX_Control(pDX, IDC_VSCROLL, m_vScroll);
    DDX_Control(pDX, IDC_HSCROLL, m_hScroll);
}

BOOL CDataLogDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_list.SetExtendedStyle(m_list.GetExtendedStyle() | LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    for (int i = 0; i < static_cast<int>(sizeof kColumns / sizeof kColumns[0]); ++i)
        m_list.InsertColumn(i, kColumns[i].heading, LVCFMT_LEFT, kColumns[i].width, i);
    CComboBox* rates = static_cast<CComboBox*>(GetDlgItem(IDC_RATE));
    for (const SSampleRate& rate : kSampleRates)
        rates->InsertString(-1, rate.listText);
    SetUpGraph();
    FillRecordingList();
    m_pRecords->RemoveAll();
    m_graph.DrawGraph(m_pRecords);
    return TRUE;
}

void CDataLogDlg::SetUpGraph()
{
    CRect client;
    m_graph.GetClientRect(&client);
    graph::SetUpView(m_graph, client.Width(), client.Height());
}

// Rows come from runs of equal recording numbers, so a list of no records
// has no last row to write a count into.
void CDataLogDlg::FillRecordingList()
{
    if (m_list.GetItemCount() > 0)
        m_list.DeleteAllItems();
    if (g_pLogRecords) {
        int row = 0;
        for (const SRecordingRow& r : RecordingRows(*g_pLogRecords)) {
            m_list.InsertItem(row, FormatInt(r.recordSet));
            m_list.SetItemText(row, 1, r.dateTime);
            m_list.SetItemText(row, 2, r.unit);
            m_list.SetItemText(row, 3, Format(L"%.2f", r.interval));
            m_list.SetItemText(row, 4, FormatInt(r.count));
            ++row;
        }
    }
    OnGraphScale(static_cast<WPARAM>(static_cast<uint32_t>(graph::ScaleMessageValue(m_graph.m_dYScale))),
        static_cast<LPARAM>(graph::ScaleMessageValue(m_graph.m_dYOffset)));
}

void CDataLogDlg::OnDblclkRecordList(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    CWnd* rates = GetDlgItem(IDC_RATE);
    rates->EnableWindow(TRUE);
    m_graph.m_dXMax = GRAPH_X_SPAN;
    const int item = reinterpret_cast<NMITEMACTIVATE*>(pNMHDR)->iItem;
    if (item < 0)
        return;
    const int recordSet = static_cast<int>(std::wcstol(m_list.GetItemText(item, 0), nullptr, 10));
    if (!g_pLogRecords)
        return;
    m_pRecords->RemoveAll();
    SelectRecording(*g_pLogRecords, recordSet, *m_pRecords);
    // A row can outlive its records only in a list that was not rebuilt:
    // there is nothing to count then, and the window shows an empty recording.
    if (!LoadedStatistics(*m_pRecords, &m_stat)) {
        for (int id : kStatisticsTexts)
            SetDlgItemText(id, L"");
        m_graph.DrawGraph(m_pRecords);
        return;
    }
    ShowStatistics();
    static_cast<CComboBox*>(rates)->SetCurSel(RateIndexOf(RecordAt(*m_pRecords, 0)->m_dInterval));
    rates->EnableWindow(FALSE);

    SetUpGraph();
    m_graph.m_pRecords = m_pRecords;
    m_graph.DrawGraph(m_pRecords);
    m_graph.RecalcLayout();
}

void CDataLogDlg::ShowStatistics()
{
    SetDlgItemText(IDC_AVERAGE, Format(L"%.1f", m_stat.average));
    SetDlgItemText(IDC_MAX_VALUE, Format(L"%.1f", m_stat.max));
    SetDlgItemText(IDC_MAX_TIME, m_stat.maxTime);
    SetDlgItemText(IDC_MIN_VALUE, Format(L"%.1f", m_stat.min));
    SetDlgItemText(IDC_MIN_TIME, m_stat.minTime);
    SetDlgItemText(IDC_START_TIME, m_stat.startTime);
    SetDlgItemText(IDC_DATA_COUNT, FormatInt(static_cast<int>(m_pRecords->GetSize())));
}

SGraphPanel CDataLogDlg::GraphPanel()
{
    return SGraphPanel { *this, m_graph, m_vScroll, m_hScroll, m_pRecords };
}

LRESULT CDataLogDlg::OnGraphScale(WPARAM wParam, LPARAM lParam)
{
    ShowGraphScale(GraphPanel(), wParam, lParam);
    return 1;
}

// The window has no scroll bars of its own: every scroll message is one of its bars'.
void CDataLogDlg::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    PanGraphVertically(GraphPanel(), nSBCode);
    CDialog::OnVScroll(nSBCode, nPos, pScrollBar);
}

void CDataLogDlg::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    PanGraphHorizontally(GraphPanel(), nSBCode);
    CDialog::OnHScroll(nSBCode, nPos, pScrollBar);
}

void CDataLogDlg::OnUndoZoom()
{
    m_graph.RecalcLayout();
}

// Notices for an index the shown recording does not hold change nothing.
LRESULT CDataLogDlg::OnGraphCursor(WPARAM wParam, LPARAM lParam)
{
    ShowGraphCursor(GraphPanel(), static_cast<int>(static_cast<INT_PTR>(wParam)), static_cast<int>(lParam), &m_nCursorA);
    return 1;
}

// Unlike the main view, the value is shown without its unit.
LRESULT CDataLogDlg::OnGraphHover(WPARAM, LPARAM lParam)
{
    const CObjData* record = PanelRecord(m_pRecords, static_cast<int>(lParam));
    if (!record)
        return 1;
    SetDlgItemText(IDC_HOVER_VALUE, Format(L"%.1f", record->m_dValue));
    SetDlgItemText(IDC_HOVER_TIME, record->m_strDateTime);
    return 1;
}

void CDataLogDlg::OnPaint()
{
    CPaintDC dc(this);
    m_graph.DrawGraph(m_pRecords);
}

HBRUSH CDataLogDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    const int id = pWnd ? pWnd->GetDlgCtrlID() : 0;
    ColourPanelControl(pDC, id);
    // A list view paints its own background and never asks for a colour.
    if (nCtlColor == CTLCOLOR_EDIT || nCtlColor == CTLCOLOR_SCROLLBAR || id == IDC_RECORD_LIST)
        return CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
    return m_brush;
}

void CDataLogDlg::OnClose()
{
    m_graph.m_nMode = GRAPH_MODE_NONE;
    m_graph.m_nCursorA = -1;
    m_graph.m_nCursorB = -1;
    m_graph.m_ptCursorLine = CPoint(0, 0);
    m_pRecords->RemoveAll();
    DeleteAllRecords(g_pLogRecords);
    Default();
}

void CDataLogDlg::OnImportData()
{
    CObArray read;
    if (!ReadDataFileChosen(this, read))
        return;
    CWaitCursor wait;
    ReplaceLoggedRecords(read, m_pRecords);
    FillRecordingList();
    m_graph.DrawGraph(m_pRecords);
}

void CDataLogDlg::OnSaveSelected()
{
    SaveDataFileAs(this, *m_pRecords);
}

void CDataLogDlg::OnExportExcel()
{
    if (!m_graph.m_pRecords || m_graph.m_pRecords->GetSize() == 0)
        return;
    CWaitCursor wait;
    ExportTableAs(this, *m_graph.m_pRecords, m_stat, meterfiles::EExportCopy::LoggedDataWindow);
}
