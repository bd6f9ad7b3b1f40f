#include "graph/pointer.h"

#include "graph/geometry.h"
#include "meterdata/records.h"

#include <algorithm>
#include <cstdlib>

namespace graph {

bool DoubleClick(SGraphState& s, CPoint point)
{
    if (!InsidePlot(s, point))
        return false;
    s.m_nCursorA = -1;
    s.m_nCursorB = -1;
    s.m_ptCursorLine = CPoint(0, 0);
    s.m_nMode = GRAPH_MODE_CURSOR_A;
    return true;
}

SGraphNotice PlacingNotice(const SGraphState& s, CPoint point, int count)
{
    SGraphNotice notice;
    if (!InsidePlot(s, point))
        return notice;
    const int index = IndexUnderX(s, point.x);
    // The index is never negative for a plot starting at a sample >= 0; a
    // negative one would designate no record.
    if (s.m_nMode == GRAPH_MODE_CURSOR_A && index >= 0 && index < count)
        notice = { true, kNoticeCursorA, index };
    else if (s.m_nMode == GRAPH_MODE_CURSOR_B && index < count && index > s.m_nCursorA && index >= 0)
        notice = { true, kNoticeCursorB, index };
    return notice;
}

SGraphNotice Press(SGraphState& s, CPoint point, int count)
{
    if (!InsidePlot(s, point))
        return SGraphNotice();
    s.m_ptDragStart = point;
    s.m_ptDragEnd = point;
    s.m_bDragging = true;
    const SGraphNotice notice = PlacingNotice(s, point, count);
    if (notice.send && notice.wParam == kNoticeCursorA) {
        s.m_nCursorA = notice.index;
        s.m_nMode = GRAPH_MODE_CURSOR_B;
    } else if (notice.send && notice.wParam == kNoticeCursorB) {
        s.m_nCursorB = notice.index;
        s.m_nMode = GRAPH_MODE_NONE;
    }
    return notice;
}

SGraphNotice HoverNotice(const SGraphState& s, CPoint point, int count)
{
    SGraphNotice notice;
    if (!InsidePlot(s, point))
        return notice;
    const int index = IndexUnderX(s, point.x);
    if (index > 0 && index < count)
        notice = { true, kNoticeHover, index };
    return notice;
}

void ClearCursors(SGraphState& s)
{
    s.m_nMode = GRAPH_MODE_NONE;
    s.m_nCursorA = -1;
    s.m_nCursorB = -1;
    s.m_ptCursorLine = CPoint(0, 0);
}

bool Release(SGraphState& s, CPoint point)
{
    const int sx = s.m_ptDragStart.x;
    const int sy = s.m_ptDragStart.y;
    const bool zoom = s.m_bDragging && std::abs(point.x - sx) > ZOOM_MIN_DRAG
        && std::abs(point.y - sy) > ZOOM_MIN_DRAG && s.m_nMode == GRAPH_MODE_NONE;
    if (zoom) {
        // A plot that lost its size since the press has nothing to zoom into.
        if (s.m_dXScale > ZOOM_MIN_SCALE && s.m_nPlotWidth > 0) {
            const int x = std::clamp<int>(point.x, PLOT_LEFT, PLOT_LEFT + s.m_nPlotWidth);
            if (sx < x)
                s.m_dXStart += s.m_dXScale * (sx - PLOT_LEFT);
            else
                s.m_dXStart += s.m_dXScale * (x - PLOT_LEFT) + 0.5;
            s.m_dXScale = std::abs(x - sx) * s.m_dXScale / s.m_nPlotWidth;
        }
        if (s.m_dYScale > ZOOM_MIN_SCALE && s.m_nPlotHeight > 0) {
            const int y = std::clamp<int>(point.y, PLOT_TOP, PLOT_TOP + s.m_nPlotHeight);
            s.m_dYOffset += s.m_dYScale * (s.m_nPlotHeight + PLOT_TOP - std::max(sy, y));
            s.m_dYScale = std::abs(y - sy) * s.m_dYScale / s.m_nPlotHeight;
        }
        s.m_dZoomed = 1.0;
    }
    s.m_bDragging = false;
    s.m_bBand = false;
    s.m_ptDragStart = CPoint(0, 0);
    s.m_ptDragEnd = CPoint(0, 0);
    return zoom;
}

SBetweenStats StatsBetween(const CObArray& records, int a, int b, double maxStart, double minStart)
{
    SBetweenStats stats;
    if (a < 0 || b < a || b >= records.GetSize())
        return stats;
    double max = maxStart;
    double min = minStart;
    for (int i = a; i <= b; ++i) {
        const double value = RecordAt(records, i)->m_dValue;
        if (value > max) {
            max = value;
            stats.hasMax = true;
            stats.max = value;
            stats.maxIndex = i;
        }
        if (value < min) {
            min = value;
            stats.hasMin = true;
            stats.min = value;
            stats.minIndex = i;
        }
        stats.sum += value;
    }
    stats.count = b - a + 1;
    stats.average = stats.sum / stats.count;
    return stats;
}

} // namespace graph
