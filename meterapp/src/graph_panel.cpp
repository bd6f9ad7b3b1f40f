#include "meterapp/graph_panel.h"

#include "resource.h"

#include <graph/geometry.h>
#include <graph/pointer.h>
#include <graph/scales.h>

#include <cstdint>

namespace {

const double kBetweenMaxStart = 0.0;
const double kBetweenMinStart = 150.0;

// The cursor-B read-out and the A-to-B statistics, emptied by every cursor-A notice.
const int kEmptiedByCursorA[] = { IDC_CURSOR_B_TIME, IDC_AB_MAX_VALUE, IDC_AB_MAX_TIME, IDC_AB_MIN_TIME,
    IDC_AB_MIN_VALUE, IDC_AB_AVERAGE, IDC_CURSOR_B_VALUE, IDC_AB_QUANTITY };

CString Tenths(double value)
{
    CString text;
    text.Format(L"%.1f", value);
    return text;
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

void ColourPanelControl(CDC* dc, int id)
{
    dc->SetBkColor(kFormColour);
    if (id == IDC_CURSOR_A_LABEL)
        dc->SetTextColor(kCursorAColour);
    else if (id == IDC_CURSOR_B_LABEL)
        dc->SetTextColor(kCursorBColour);
    else if (id == IDC_RATE)
        dc->SetBkColor(kRateListColour);
}

const CObjData* PanelRecord(const CObArray* records, INT_PTR index)
{
    if (!records || index < 0 || index >= records->GetSize())
        return nullptr;
    return RecordAt(*records, index);
}

void ShowGraphScale(const SGraphPanel& panel, WPARAM wParam, LPARAM lParam)
{
    CRect graphWindow;
    panel.graph.GetWindowRect(&graphWindow);
    CString labels[graph::kAxisLabels];
    if (graph::AxisLabels(static_cast<uint32_t>(wParam), static_cast<int32_t>(lParam), graphWindow.Height(), labels)) {
        for (int k = 0; k < graph::kAxisLabels; ++k)
            panel.window.SetDlgItemText(IDC_Y_LABEL_FIRST + k, labels[k]);
    }
    const graph::SScrollBars bars = graph::ScrollBarsFor(panel.graph);
    panel.vScroll.SetScrollRange(0, bars.vMax, TRUE);
    panel.vScroll.SetScrollPos(bars.vPos, TRUE);
    panel.hScroll.SetScrollRange(0, bars.hMax, TRUE);
    panel.hScroll.SetScrollPos(bars.hPos, TRUE);
}

void PanGraphVertically(const SGraphPanel& panel, UINT code)
{
    int pos = panel.vScroll.GetScrollPos();
    if (!graph::PanPosition(code, pos, graph::VerticalPanBound(panel.graph), ThumbPosition(panel.vScroll), &pos))
        return;
    panel.vScroll.SetScrollPos(pos, TRUE);
    panel.graph.m_dYOffset = graph::YOffsetForPosition(panel.graph, pos);
    panel.graph.DrawGraph(panel.records);
    ShowGraphScale(panel, static_cast<WPARAM>(static_cast<uint32_t>(graph::ScaleMessageValue(panel.graph.m_dYScale))),
        static_cast<LPARAM>(graph::ScaleMessageValue(panel.graph.m_dYOffset)));
}

void PanGraphHorizontally(const SGraphPanel& panel, UINT code)
{
    int pos = panel.hScroll.GetScrollPos();
    if (!graph::PanPosition(code, pos, graph::HorizontalPanBound(panel.graph), ThumbPosition(panel.hScroll), &pos))
        return;
    panel.hScroll.SetScrollPos(pos, TRUE);
    panel.graph.m_dXStart = pos;
    panel.graph.DrawGraph(panel.records);
}

void ShowGraphCursor(const SGraphPanel& panel, int which, int index, int* cursorA)
{
    const CObjData* record = PanelRecord(panel.records, index);
    if (!record)
        return;
    CWnd& w = panel.window;
    if (which == -1) {
        *cursorA = index;
        w.SetDlgItemText(IDC_CURSOR_A_VALUE, Tenths(record->m_dValue));
        w.SetDlgItemText(IDC_CURSOR_A_TIME, record->m_strDateTime);
        for (int id : kEmptiedByCursorA)
            w.SetDlgItemText(id, L"");
    } else if (which == -2) {
        const graph::SBetweenStats stats
            = graph::StatsBetween(*panel.records, *cursorA, index, kBetweenMaxStart, kBetweenMinStart);
        if (stats.count == 0)
            return;
        w.SetDlgItemText(IDC_CURSOR_B_VALUE, Tenths(record->m_dValue));
        w.SetDlgItemText(IDC_CURSOR_B_TIME, record->m_strDateTime);
        if (stats.hasMax) {
            w.SetDlgItemText(IDC_AB_MAX_VALUE, Tenths(stats.max));
            w.SetDlgItemText(IDC_AB_MAX_TIME, PanelRecord(panel.records, stats.maxIndex)->m_strDateTime);
        }
        if (stats.hasMin) {
            w.SetDlgItemText(IDC_AB_MIN_VALUE, Tenths(stats.min));
            w.SetDlgItemText(IDC_AB_MIN_TIME, PanelRecord(panel.records, stats.minIndex)->m_strDateTime);
        }
        w.SetDlgItemText(IDC_AB_AVERAGE, Tenths(stats.average));
        CString quantity;
        quantity.Format(L"%d", stats.count);
        w.SetDlgItemText(IDC_AB_QUANTITY, quantity);
    }
}
