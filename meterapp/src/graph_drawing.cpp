// How the graph control draws itself: the whole picture is composed in a
// memory bitmap and copied to the control in one step.
#include "meterapp/graphics_btn.h"

#include "meterapp/curve_line.h"
#include "meterapp/graph_panel.h"
#include "meterdata/records.h"

#include <graph/curve.h>
#include <graph/geometry.h>
#include <graph/grid.h>
#include <graph/time_axis.h>

#include <vector>

namespace {

const COLORREF kPlotColour = RGB(0, 100, 100);
const COLORREF kMarginColour = RGB(170, 175, 195);
const COLORREF kCurveColour = RGB(255, 255, 0);
const COLORREF kMarkerColour = RGB(0, 0, 0);
const COLORREF kGridColour = RGB(255, 0, 255);
const COLORREF kAxisColour = RGB(100, 0, 100);
const COLORREF kTickColour = RGB(0, 0, 0);
const COLORREF kBandColour = RGB(0, 0, 0);

const int kMarkerPenWidth = 3;
const int kCursorPenWidth = 2;
const int kTickPenWidth = 3;
const int kAxisTickLength = 8;
const int kLabelRightEdge = 43;
const int kTimeLabelTop = 16;  // below the plot's bottom edge
const int kTimeTickHeight = 5;
// The margins around the plot: PLOT_LEFT and PLOT_TOP left of and above it,
// the rest of PLOT_MARGIN_WIDTH and PLOT_MARGIN_HEIGHT right of and below it.
const int kRightMargin = PLOT_MARGIN_WIDTH - PLOT_LEFT;
const int kBottomMargin = PLOT_MARGIN_HEIGHT - PLOT_TOP;
// The right margin's fill is the plot's height and this much more high: it
// stops 5 px short of the control's bottom.
const int kRightMarginFillBelow = 25;
// A point marker's box reaches this far each way from its sample's point.
const int kMarkerRadius = 1;
// The line that shows where a click places a cursor stops this far above the
// plot's bottom edge.
const int kCursorLineShortfall = 2;

} // namespace

void CGraphicsBtn::DrawGraph(CObArray* records)
{
    m_pRecords = records ? records : &m_ownRecords;
    if (!GetSafeHwnd())
        return;
    if (!m_bScaleSent) {
        m_bScaleSent = true;
        SendScale();
    }
    // The control's paint handler only validates and the copy below covers
    // the whole control: validating it here is what invalidating and
    // updating it at once comes to, without showing the old picture again.
    ValidateRect(nullptr);

    CRect client;
    GetClientRect(&client);
    if (client.Width() <= 0 || client.Height() <= 0)
        return;
    CClientDC screen(this);
    if (!PreparePicture(&screen, client.Size()))
        return;
    CDC& memory = m_memory;
    const int saved = memory.SaveDC();

    const int width = m_nPlotWidth;
    const int height = m_nPlotHeight;
    bool timeAxisFailed = false;
    CString badTimeText;
    if (graph::PlotIsEmpty(*this)) {
        memory.FillSolidRect(0, 0, client.Width(), client.Height(), kMarginColour);
    } else {
        memory.FillSolidRect(PLOT_LEFT, PLOT_TOP, width, height, kPlotColour);
        memory.SetBkMode(TRANSPARENT);
        if (RecordCount() >= 1)
            DrawCurve(&memory);
        // The margins cover whatever the curve, markers and cursors drew outside the plot.
        memory.FillSolidRect(0, height + PLOT_TOP, width + PLOT_MARGIN_WIDTH, kBottomMargin, kMarginColour);
        memory.FillSolidRect(0, 0, PLOT_LEFT, height + PLOT_TOP, kMarginColour);
        memory.FillSolidRect(0, 0, width + PLOT_MARGIN_WIDTH, PLOT_TOP, kMarginColour);
        memory.FillSolidRect(width + PLOT_LEFT, 0, kRightMargin, height + kRightMarginFillBelow, kMarginColour);
        DrawGrid(&memory);
        timeAxisFailed = DrawTimeAxis(&memory, &badTimeText);
        if (m_bBand) {
            CPen dotted(PS_DOT, 1, kBandColour);
            CPen* oldPen = memory.SelectObject(&dotted);
            CGdiObject* oldBrush = memory.SelectStockObject(NULL_BRUSH);
            memory.Rectangle(m_ptDragStart.x, m_ptDragStart.y, m_ptDragEnd.x, m_ptDragEnd.y);
            memory.SelectObject(oldPen);
            if (auto* brush = dynamic_cast<CBrush*>(oldBrush))
                memory.SelectObject(brush);
        }
    }

    screen.BitBlt(0, 0, client.Width(), client.Height(), &memory, 0, 0, SRCCOPY);
    memory.RestoreDC(saved);

    // After the copy, so that the graph stands behind the box.
    if (timeAxisFailed)
        ReportBadTimeText(badTimeText);
}

// The picture is kept from draw to draw and made anew only when the control's
// size changes: a bitmap of the control's size made and freed for every draw
// (every tick of a recording, every mouse move of a drag) costs time and
// leaves the freed memory with the allocator.
bool CGraphicsBtn::PreparePicture(CDC* screen, CSize size)
{
    if (m_memory.GetSafeHdc() && m_pictureSize == size)
        return true;
    if (m_memory.GetSafeHdc()) {
        m_memory.SelectObject(m_pOldPicture);
        m_picture.DeleteObject();
        m_memory.DeleteDC();
    }
    m_pictureSize = CSize();
    if (!m_memory.CreateCompatibleDC(screen))
        return false;
    if (!m_picture.CreateCompatibleBitmap(screen, size.cx, size.cy)) {
        m_memory.DeleteDC();
        return false;
    }
    m_pOldPicture = m_memory.SelectObject(&m_picture);
    m_pictureSize = size;
    return true;
}

void CGraphicsBtn::DrawCurve(CDC* dc)
{
    graph::AutoScaleOrScroll(*this, RecordCount(), [this] { SendScale(); });

    // The segments from sample i to i + 1 for every i of the range, as one line.
    const graph::SVisibleSamples range = graph::VisibleSamples(*this, RecordCount());
    std::vector<POINT>& points = m_curvePoints;
    graph::CurvePoints(*this, *m_pRecords, range, &points);

    if (points.size() >= 2) {
        CPen curve(PS_SOLID, 1, kCurveColour);
        CPen* old = dc->SelectObject(&curve);
        DrawLineInPieces(dc, points.data(), static_cast<int>(points.size()));
        dc->SelectObject(old);
    }

    // Markers need samples more than 3 px apart, so no two share a column
    // and every sample of the range has its point.
    if (graph::ShowPointMarkers(m_dXScale) && points.size() >= 2) {
        CPen marker(PS_SOLID, kMarkerPenWidth, kMarkerColour);
        CPen* old = dc->SelectObject(&marker);
        for (const POINT& p : points)
            dc->Ellipse(p.x - kMarkerRadius, p.y - kMarkerRadius, p.x + kMarkerRadius, p.y + kMarkerRadius);
        dc->SelectObject(old);
    }

    const int top = PLOT_TOP;
    const int bottom = PLOT_TOP + m_nPlotHeight;
    const struct {
        int index;
        COLORREF colour;
    } cursors[] = { { m_nCursorA, kCursorAColour }, { m_nCursorB, kCursorBColour } };
    for (const auto& cursor : cursors) {
        if (cursor.index == -1)
            continue;
        CPen pen(PS_SOLID, kCursorPenWidth, cursor.colour);
        CPen* old = dc->SelectObject(&pen);
        const int x = graph::CursorX(*this, cursor.index);
        dc->MoveTo(x, top);
        dc->LineTo(x, bottom);
        dc->SelectObject(old);
    }
}

void CGraphicsBtn::DrawGrid(CDC* dc)
{
    const int width = m_nPlotWidth;
    const int height = m_nPlotHeight;
    {
        CPen dotted(PS_DOT, 1, kGridColour);
        CPen* old = dc->SelectObject(&dotted);
        for (int i = 0; i < graph::kVerticalGridLines; ++i) {
            const int x = graph::GridLineX(width, i);
            dc->MoveTo(x, PLOT_TOP);
            dc->LineTo(x, height + PLOT_TOP);
        }
        for (int j = 0; j < graph::kHorizontalGridLines; ++j) {
            const int y = graph::GridLineY(height, j);
            dc->MoveTo(PLOT_LEFT, y);
            dc->LineTo(width + PLOT_LEFT, y);
        }
        dc->SelectObject(old);
        DrawLevelLabels(dc);
    }
    {
        CPen axis(PS_SOLID, 1, kAxisColour);
        CPen* old = dc->SelectObject(&axis);
        dc->MoveTo(PLOT_LEFT, PLOT_TOP);
        dc->LineTo(PLOT_LEFT, height + PLOT_TOP);
        for (int k = graph::kHorizontalGridLines - 1; k >= 0; --k) {
            const int y = graph::AxisTickY(height, k);
            dc->MoveTo(PLOT_LEFT, y);
            dc->LineTo(PLOT_LEFT + kAxisTickLength, y);
        }
        dc->SelectObject(old);
    }
    const CPoint line = m_ptCursorLine;
    if (m_nMode > GRAPH_MODE_NONE && line.x > 0 && line.x < width + PLOT_LEFT && line.y > 0
        && line.y < height + PLOT_TOP) {
        CPen pen(PS_SOLID, kCursorPenWidth, m_nMode == GRAPH_MODE_CURSOR_A ? kCursorAColour : kCursorBColour);
        CPen* old = dc->SelectObject(&pen);
        dc->MoveTo(line.x, PLOT_TOP);
        dc->LineTo(line.x, height + PLOT_TOP - kCursorLineShortfall);
        dc->SelectObject(old);
    }
}

// The labels stand in the left margin, on its plain colour, left of the
// plot: they are drawn once into a strip of that margin and copied from it
// while they stay the same (a recording redraws the graph ten times a second,
// and its levels seldom change their scale).
void CGraphicsBtn::DrawLevelLabels(CDC* dc)
{
    const int height = m_nPlotHeight;
    CString key;
    CString labels[graph::kHorizontalGridLines];
    for (int j = 0; j < graph::kHorizontalGridLines; ++j) {
        labels[j] = graph::GridLabel(*this, j);
        key += labels[j] + L"|";
    }
    key.AppendFormat(L"%d", height);
    if (!m_labels.GetSafeHdc() || key != m_labelsKey) {
        m_labelsKey.Empty();
        if (m_labels.GetSafeHdc()) {
            m_labels.SelectObject(m_pOldLabelsPicture);
            m_labelsPicture.DeleteObject();
            m_labels.DeleteDC();
        }
        if (!m_labels.CreateCompatibleDC(dc))
            return;
        TEXTMETRIC metrics {};
        m_labels.GetTextMetrics(&metrics);
        const int lineHeight = metrics.tmHeight + metrics.tmExternalLeading;
        m_labelsSize = CSize(PLOT_LEFT, height + PLOT_TOP + lineHeight);
        m_labelsPicture.CreateCompatibleBitmap(dc, m_labelsSize.cx, m_labelsSize.cy);
        m_pOldLabelsPicture = m_labels.SelectObject(&m_labelsPicture);
        m_labels.FillSolidRect(0, 0, m_labelsSize.cx, m_labelsSize.cy, kMarginColour);
        m_labels.SetBkMode(TRANSPARENT);
        for (int j = 0; j < graph::kHorizontalGridLines; ++j) {
            const CSize extent = m_labels.GetTextExtent(labels[j]);
            m_labels.TextOut(kLabelRightEdge - extent.cx, graph::GridLineY(height, j) - lineHeight / 2, labels[j]);
        }
        m_labelsKey = key;
    }
    dc->BitBlt(0, 0, m_labelsSize.cx, m_labelsSize.cy, &m_labels, 0, 0, SRCCOPY);
}

bool CGraphicsBtn::DrawTimeAxis(CDC* dc, CString* badText)
{
    const int width = m_nPlotWidth;
    const int bottom = m_nPlotHeight + PLOT_TOP;
    dc->MoveTo(PLOT_LEFT, bottom);
    dc->LineTo(width + PLOT_LEFT, bottom);

    const graph::SScreenTimeAxis axis = graph::ScreenTimeAxis(*this, *m_pRecords);
    CPen tickPen(PS_SOLID, kTickPenWidth, kTickColour);
    CPen* old = dc->SelectObject(&tickPen);
    // The tick that met a text that does not read keeps its mark; later ones are not drawn.
    const int marked = axis.labels.Failed() ? axis.labels.labelled + 1 : graph::kTimeTicks;
    for (int m = 0; m < marked; ++m) {
        dc->MoveTo(axis.x[m], bottom);
        dc->LineTo(axis.x[m], bottom - kTimeTickHeight);
        if (m < axis.labels.labelled) {
            const CString& label = axis.labels.label[m];
            const CSize extent = dc->GetTextExtent(label);
            dc->TextOut(axis.x[m] - extent.cx / 2, m_nPlotHeight + kTimeLabelTop, label);
        }
    }
    dc->SelectObject(old);
    *badText = axis.labels.failedText;
    return axis.labels.Failed();
}

// Drawing runs from paint, timers and mouse moves, and a box's modal loop runs
// them again: each text is reported once, and never from a draw that runs
// while the box is up.
void CGraphicsBtn::ReportBadTimeText(const CString& text)
{
    if (m_bReportingTime || !m_reportedTimeTexts.insert(std::wstring(static_cast<LPCWSTR>(text))).second)
        return;
    m_bReportingTime = true;
    MessageBox(L"Time Format is wrong!", AfxGetAppName(), MB_OK);
    m_bReportingTime = false;
}
