// The view's side of the real-time graph: axis labels and scroll bars that
// follow the graph's scales, panning, "UnDo Zoom", and the read-outs of the
// cursors and of the sample under the mouse.
#include "meterapp/decibar_view.h"
#include "meterapp/graph_panel.h"

#include "resource.h"

#include <graph/geometry.h>
#include <graph/scales.h>

SGraphPanel CDecibarView::GraphPanel()
{
    return SGraphPanel { *this, m_graph, m_vScroll, m_hScroll, g_pRealTimeRecords };
}

void CDecibarView::SetUpGraph()
{
    CRect client;
    m_graph.GetClientRect(&client);
    graph::SetUpView(m_graph, client.Width(), client.Height());
    m_graph.DrawGraph(g_pRealTimeRecords);
}

LRESULT CDecibarView::OnGraphScale(WPARAM wParam, LPARAM lParam)
{
    ShowGraphScale(GraphPanel(), wParam, lParam);
    return 1;
}

void CDecibarView::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    if (!pScrollBar || pScrollBar->GetSafeHwnd() != m_vScroll.GetSafeHwnd()) {
        Invalidate(TRUE);
        CFormView::OnVScroll(nSBCode, nPos, pScrollBar);
        return;
    }
    PanGraphVertically(GraphPanel(), nSBCode);
    CFormView::OnVScroll(nSBCode, nPos, pScrollBar);
}

void CDecibarView::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    if (!pScrollBar || pScrollBar->GetSafeHwnd() != m_hScroll.GetSafeHwnd()) {
        Invalidate(TRUE);
        CFormView::OnHScroll(nSBCode, nPos, pScrollBar);
        return;
    }
    PanGraphHorizontally(GraphPanel(), nSBCode);
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
    ShowGraphCursor(GraphPanel(), static_cast<int>(static_cast<INT_PTR>(wParam)), static_cast<int>(lParam), &m_nCursorA);
    return 1;
}

LRESULT CDecibarView::OnGraphHover(WPARAM, LPARAM lParam)
{
    const CObjData* record = PanelRecord(g_pRealTimeRecords, static_cast<int>(lParam));
    if (!record)
        return 1;
    CString value;
    value.Format(L"%.1f", record->m_dValue);
    SetDlgItemText(IDC_HOVER_VALUE, value + record->m_strUnit);
    SetDlgItemText(IDC_HOVER_TIME, record->m_strDateTime);
    return 1;
}
