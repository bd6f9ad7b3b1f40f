#include "meterapp/print_pages.h"

#include "graph/geometry.h"

namespace {

const COLORREF kCurveColour = RGB(0, 0, 255);
const COLORREF kMarkerColour = RGB(0, 0, 0);
const COLORREF kPaperColour = RGB(255, 255, 255);
const wchar_t kGraphTitle[] = L"Veldmark KV415 RealTime Graph";
static_assert(sizeof kGraphTitle / sizeof kGraphTitle[0] - 1 == kGraphPageTitleLength);
const int kMarkerPenWidth = 4;
// A point marker's box reaches this far each way from its sample's point.
const int kMarkerRadius = 2;

void Line(CDC& dc, int x1, int y1, int x2, int y2)
{
    dc.MoveTo(x1, y1);
    dc.LineTo(x2, y2);
}

void DrawCurveAndMarkers(CDC& dc, const CObArray& records, const SGraphState& view, const SGraphPageLayout& page)
{
    const graph::SVisibleSamples range = graph::VisibleSamples(view, static_cast<int>(records.GetSize()));
    auto point = [&](int i) { return GraphPagePoint(page, view, i, RecordAt(records, i)->m_dValue); };

    CPen curve(PS_SOLID, 1, kCurveColour);
    CPen* oldPen = dc.SelectObject(&curve);
    for (int i = range.first; i + 1 < range.end; ++i) {
        dc.MoveTo(point(i));
        dc.LineTo(point(i + 1));
    }
    dc.SelectObject(oldPen);
    curve.DeleteObject();

    // The same threshold as the screen's: markers once samples lie more than 3 screen pixels apart.
    if (!graph::ShowPointMarkers(view.m_dXScale))
        return;
    CPen marker(PS_SOLID, kMarkerPenWidth, kMarkerColour);
    oldPen = dc.SelectObject(&marker);
    for (int i = range.first; i < range.end; ++i) {
        const CPoint p = point(i);
        dc.Ellipse(p.x - kMarkerRadius, p.y - kMarkerRadius, p.x + kMarkerRadius, p.y + kMarkerRadius);
    }
    dc.SelectObject(oldPen);
    marker.DeleteObject();
}

void DrawGridAndLabels(CDC& dc, const CObArray& records, const SGraphState& view, const SGraphPageLayout& page,
    int lineHeight)
{
    for (int i = kGraphPageValueSteps; i >= 0; --i) {
        const SValueGridLine line = GraphPageValueLine(page, view, i, lineHeight);
        Line(dc, page.left, line.y, line.right, line.y);
        dc.TextOut(line.labelX, line.labelY, line.label);
    }
    const STimeTickPlace axis = GraphPageTimeTick(page, view, 0, 0, lineHeight);
    Line(dc, page.left, page.top, page.left, axis.bottom);

    const graph::STimeTickLabels labels = GraphPageTimeLabels(view, records);
    // As on screen, a tick whose time does not read keeps its line but no
    // label, and the ticks after it are not drawn.
    for (int m = 0; m < graph::kTimeTicks && m <= labels.labelled; ++m) {
        const int width = m < labels.labelled ? dc.GetTextExtent(labels.label[m]).cx : 0;
        const STimeTickPlace tick = GraphPageTimeTick(page, view, m, width, lineHeight);
        Line(dc, tick.x, page.top, tick.x, tick.bottom);
        if (m < labels.labelled)
            dc.TextOut(tick.labelX, tick.labelY, labels.label[m]);
    }
}

void DrawStatistics(CDC& dc, const SGraphPageLayout& page, int lineHeight, const SStatInfo& stat, int count)
{
    const int left = page.left;
    const int value = left + kGraphPageStatValueColumn * page.columnUnit;
    const int time = left + kGraphPageStatTimeColumn * page.columnUnit;
    const int y0 = GraphPageStatsTop(page);
    const int n = lineHeight;
    dc.TextOut(left, y0, CString(L"Start Time:"));
    dc.TextOut(value, y0, stat.startTime);
    dc.TextOut(left, y0 + n, CString(L"Maxnum:"));
    dc.TextOut(value, y0 + n, PrintNumber(L"%.2f", stat.max));
    dc.TextOut(time, y0 + n, stat.maxTime);
    dc.TextOut(left, y0 + 2 * n, CString(L"Minnum:"));
    dc.TextOut(value, y0 + 2 * n, PrintNumber(L"%.2f", stat.min));
    dc.TextOut(time, y0 + 2 * n, stat.minTime);
    dc.TextOut(left, y0 + 3 * n, CString(L"Sample Rate:"));
    dc.TextOut(left + kGraphPageStatRateColumn * page.columnUnit, y0 + 3 * n, PrintNumber(L"%.2f", stat.interval));
    dc.TextOut(left, y0 + 4 * n, CString(L"Average:"));
    dc.TextOut(value, y0 + 4 * n, PrintNumber(L"%.2f", stat.average));
    CString records;
    records.Format(L"%d", count);
    dc.TextOut(left, y0 + 5 * n, CString(L"Data No.:"));
    dc.TextOut(left + kGraphPageStatCountColumn * page.columnUnit, y0 + 5 * n, records);
}

} // namespace

void DrawGraphPage(CDC& dc, const CObArray& records, const SGraphState& view, int windowWidth, int left, int top,
    double xRatio, const SStatInfo& stat)
{
    if (records.GetSize() == 0)
        return;
    SGraphPageLayout page = GraphPageLayout(dc.GetDeviceCaps(HORZRES), dc.GetDeviceCaps(VERTRES), view);
    page.left = left;
    page.top = top;
    page.xRatio = xRatio;
    page.plotDrawable = page.plotDrawable && xRatio > 0;

    if (page.plotDrawable) {
        DrawCurveAndMarkers(dc, records, view, page);
        // The curve is cut at the plot's edges by clearing the paper around it.
        SClearRect clear[4];
        GraphPageClearRects(page, windowWidth, clear);
        for (const SClearRect& r : clear)
            dc.FillSolidRect(r.x, r.y, r.width, r.height, kPaperColour);
    }

    CFont font;
    CreatePrintFont(font, page.rowUnit);
    CFont* oldFont = dc.SelectObject(&font);
    TEXTMETRIC tm {};
    dc.GetTextMetrics(&tm);
    const int lineHeight = tm.tmHeight + tm.tmExternalLeading;

    if (page.plotDrawable)
        DrawGridAndLabels(dc, records, view, page, lineHeight);
    dc.TextOut(GraphPageTitleX(page), page.rowUnit, CString(kGraphTitle));
    const CString time = PrintTimeNow();
    dc.TextOut(GraphPageTimeX(page, time.GetLength()), 2 * page.rowUnit, time);
    DrawStatistics(dc, page, lineHeight, stat, static_cast<int>(records.GetSize()));

    dc.SelectObject(oldFont);
    font.DeleteObject();
}

void PrintGraphPage(CPrintRX& job, const CObArray& records, const SGraphState& view, const GraphPageDrawer& drawPage)
{
    RunPrintJob(job, records, [&](CPrintRX& started) {
        CDC& dc = started.m_dc;
        const SGraphPageLayout page = GraphPageLayout(dc.GetDeviceCaps(HORZRES), dc.GetDeviceCaps(VERTRES), view);
        if (started.StartPage() != 0)
            return false;
        drawPage(dc, page.left, page.top, page.xRatio);
        return started.EndPage() > 0;
    });
}
