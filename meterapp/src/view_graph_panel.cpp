// The view's side of the real-time graph: axis labels and scroll bars that
// follow the graph's scales, panning, "UnDo Zoom", and the read-outs of the
// cursors and of the sample under the mouse.
#include "meterapp/decibar_view.h"

#include "resource.h"

#include <graph/geometry.h>
#include <graph/panel.h>

#include <cstdint>

namespace {

const double kBetweenMaxStart = 0.0;
const double kBetweenMinStart = 150.0;

// The cursor-B read-out and the A-to-B statistics, emptied by every cursor-A notice.
const int kEmptiedByCursorA[] = { IDC_CURSOR_B_TIME, IDC_AB_MAX_VALUE, IDC_AB_MAX_TIME, IDC_AB_MIN_TIME,
    IDC_AB_MIN_VALUE, IDC_AB_AVERAGE, IDC_CURSOR_B_VALUE, IDC_AB_QUANTITY };

CString FormatValue(const wchar_t* format, double value)
{
    CString text;
    text.Format(format, value);
    return text;
}

// The record at index of the real-time array, or null when there is none.
const CObjData* RealTimeRecord(INT_PTR index)
{
    if (!g_pRealTimeRecords || index < 0 || index >= g_pRealTimeRecords->GetSize())
        return nullptr;
    return RecordAt(*g_pRealTimeRecords, index);
}

// The message carries the thumb in 16 bits; the bar itself knows the whole
// position, which long recordings need.
int ThumbPosition(CScrollBar& bar)
{
    SCROLLINFO info {};
    info.cbSize = sizeof(info);
    info.fMask = SIF_TRACKPOS;
    bar.GetScrollInfo(&info, SIF_TRACKPOS);
    return info.nTrackPos;
}

} // namespace

void CDecibarView::SetUpGraph()
{
    CRect client;
    m_graph.GetClientRect(&client);
    graph::SetUpView(m_graph, client.Width(), client.Height());
    m_graph.DrawGraph(g_pRealTimeRecords);
}

LRESULT CDecibarView::OnGraphScale(WPARAM wParam, LPARAM lParam)
{
    CRect graphWindow;
    m_graph.GetWindowRect(&graphWindow);
    CString labels[graph::kAxisLabels];
    if (graph::AxisLabels(static_cast<uint32_t>(wParam), static_cast<int32_t>(lParam), graphWindow.Height(), labels)) {
        for (int k = 0; k < graph::kAxisLabels; ++k)
            SetDlgItemText(IDC_Y_LABEL_FIRST + k, labels[k]);
    }
    const graph::SScrollBars bars = graph::ScrollBarsFor(m_graph);
    m_vScroll.SetScrollRange(0, bars.vMax, TRUE);
    m_vScroll.SetScrollPos(bars.vPos, TRUE);
    m_hScroll.SetScrollRange(0, bars.hMax, TRUE);
    m_hScroll.SetScrollPos(bars.hPos, TRUE);
    return 1;
}

void CDecibarView::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    if (!pScrollBar || pScrollBar->GetSafeHwnd() != m_vScroll.GetSafeHwnd()) {
        Invalidate(TRUE);
        CFormView::OnVScroll(nSBCode, nPos, pScrollBar);
        return;
    }
    int pos = m_vScroll.GetScrollPos();
    if (graph::PanPosition(nSBCode, pos, graph::VerticalPanBound(m_graph), ThumbPosition(m_vScroll), &pos)) {
        m_vScroll.SetScrollPos(pos, TRUE);
        m_graph.m_dYOffset = graph::YOffsetForPosition(m_graph, pos);
        m_graph.DrawGraph(g_pRealTimeRecords);
        OnGraphScale(static_cast<WPARAM>(static_cast<uint32_t>(graph::ScaleMessageValue(m_graph.m_dYScale))),
            static_cast<LPARAM>(graph::ScaleMessageValue(m_graph.m_dYOffset)));
    }
    CFormView::OnVScroll(nSBCode, nPos, pScrollBar);
}

void CDecibarView::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    if (!pScrollBar || pScrollBar->GetSafeHwnd() != m_hScroll.GetSafeHwnd()) {
        Invalidate(TRUE);
        CFormView::OnHScroll(nSBCode, nPos, pScrollBar);
        return;
    }
    int pos = m_hScroll.GetScrollPos();
    if (graph::PanPosition(nSBCode, pos, graph::HorizontalPanBound(m_graph), ThumbPosition(m_hScroll), &pos)) {
        m_hScroll.SetScrollPos(pos, TRUE);
        m_graph.m_dXStart = pos;
        m_graph.DrawGraph(g_pRealTimeRecords);
    }
    CFormView::OnHScroll(nSBCode, nPos, pScrollBar);
}

void CDecibarView::OnUndoZoom()
{
    m_graph.RecalcLayout();
}

// The graph sends only indices of records it shows; a notice for an index the
// array does not hold (or a cursor B before cursor A) changes no read-out.
LRESULT CDecibarView::OnGraphCursor(WPARAM wParam, LPARAM lParam)
{
    const int which = static_cast<int>(static_cast<INT_PTR>(wParam));
    const int index = static_cast<int>(lParam);
    const CObjData* record = RealTimeRecord(index);
    if (!record)
        return 1;
    if (which == -1) {
        m_nCursorA = index;
        SetDlgItemText(IDC_CURSOR_A_VALUE, FormatValue(L"%.1f", record->m_dValue));
        SetDlgItemText(IDC_CURSOR_A_TIME, record->m_strDateTime);
        for (int id : kEmptiedByCursorA)
            SetDlgItemText(id, L"");
    } else if (which == -2) {
        const graph::SBetweenStats stats
            = graph::StatsBetween(*g_pRealTimeRecords, m_nCursorA, index, kBetweenMaxStart, kBetweenMinStart);
        if (stats.count == 0)
            return 1;
        SetDlgItemText(IDC_CURSOR_B_VALUE, FormatValue(L"%.1f", record->m_dValue));
        SetDlgItemText(IDC_CURSOR_B_TIME, record->m_strDateTime);
        if (stats.hasMax) {
            SetDlgItemText(IDC_AB_MAX_VALUE, FormatValue(L"%.1f", stats.max));
            SetDlgItemText(IDC_AB_MAX_TIME, RealTimeRecord(stats.maxIndex)->m_strDateTime);
        }
        if (stats.hasMin) {
            SetDlgItemText(IDC_AB_MIN_VALUE, FormatValue(L"%.1f", stats.min));
            SetDlgItemText(IDC_AB_MIN_TIME, RealTimeRecord(stats.minIndex)->m_strDateTime);
        }
        SetDlgItemText(IDC_AB_AVERAGE, FormatValue(L"%.1f", stats.average));
        CString quantity;
        quantity.Format(L"%d", stats.count);
        SetDlgItemText(IDC_AB_QUANTITY, quantity);
    }
    return 1;
}

LRESULT CDecibarView::OnGraphHover(WPARAM, LPARAM lParam)
{
    const CObjData* record = RealTimeRecord(static_cast<int>(lParam));
    if (!record)
        return 1;
    SetDlgItemText(IDC_HOVER_VALUE, FormatValue(L"%.1f", record->m_dValue) + record->m_strUnit);
    SetDlgItemText(IDC_HOVER_TIME, record->m_strDateTime);
    return 1;
}
