#include "meterapp/print_layout.h"

#include <algorithm>
#include <cmath>

SDataTableLayout DataTableUnits(int pageWidth, int pageHeight)
{
    return SDataTableLayout { pageWidth, pageHeight, pageHeight / 80, pageHeight / 130, 0, 0 };
}

SDataTableLayout WithLineHeight(SDataTableLayout layout, int lineHeight)
{
    layout.lineHeight = std::max(1, lineHeight);
    // A page too short for the statistics block and one record still gets
    // that many rows (running past its bottom) rather than rows over the
    // block or a division by zero.
    layout.rowsPerPage
        = std::max(kTableFirstRecordRow, (layout.pageHeight - 4 * layout.rowUnit) / layout.lineHeight);
    return layout;
}

int DataTableRowY(const SDataTableLayout& layout, int row)
{
    return layout.rowUnit + layout.lineHeight + row * layout.lineHeight;
}

SDataTableColumns DataTableColumns(const SDataTableLayout& layout)
{
    const int k = layout.columnUnit;
    return SDataTableColumns { 4 * k, 11 * k, 27 * k, 33 * k, 40 * k, 15 * k };
}

STableRecordPlace DataTableRecordPlace(const SDataTableLayout& layout, int recordNumber)
{
    const int n = recordNumber + kTableFirstRecordRow - 1;
    const int r = layout.rowsPerPage;
    return STableRecordPlace { (n - 1) / r + 1, (n - 1) % r + 1, n % r == 0 };
}

int DataTablePageCount(const SDataTableLayout& layout, int records)
{
    return (records + kTableFirstRecordRow - 1) / layout.rowsPerPage + 1;
}

int DataTableTitleX(const SDataTableLayout& layout, bool firstPage)
{
    return layout.pageWidth / 4 - (firstPage ? 5 : 4) * layout.columnUnit;
}

SFooterPlace DataTableFooter(const SDataTableLayout& layout, int timeLength)
{
    const int third = layout.pageWidth / 3;
    return SFooterPlace { third - timeLength * layout.columnUnit, third + layout.columnUnit,
        layout.pageHeight - layout.rowUnit };
}

CString PrintTimeText(const std::tm& local)
{
    CString text;
    text.Format(L"Time: %d-%d-%d  %d:%d:%d", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
        local.tm_min, local.tm_sec);
    return text;
}

int TruncToInt(double value)
{
    const double limit = 1e9;
    if (std::isnan(value))
        return 0;
    return static_cast<int>(std::clamp(value, -limit, limit));
}

SGraphPageLayout GraphPageLayout(int pageWidth, int pageHeight, const SGraphView& view)
{
    SGraphPageLayout page {};
    page.pageWidth = pageWidth;
    page.pageHeight = pageHeight;
    page.rowUnit = pageHeight / 80;
    page.columnUnit = pageWidth / 130;
    page.left = 8 * page.columnUnit;
    page.top = 4 * page.rowUnit;
    page.bottom = pageHeight / 2;
    const int printedWidth = pageWidth - 16 * page.columnUnit;
    const int printedHeight = pageHeight / 2 - page.top;
    page.xRatio = printedWidth > 0 ? static_cast<double>(view.plotWidth) / printedWidth : 0.0;
    page.yRatio = printedHeight > 0 ? static_cast<double>(view.plotHeight) / printedHeight : 0.0;
    page.plotDrawable = page.xRatio > 0 && page.yRatio > 0 && view.xScale > 0 && view.yScale > 0;
    return page;
}

CPoint GraphPagePoint(const SGraphPageLayout& page, const SGraphView& view, int index, double level)
{
    const double x = (index - (view.xStart - view.xMin)) / view.xScale / page.xRatio;
    const double y = (view.plotHeight - (level - view.yOffset) / view.yScale) / page.yRatio;
    return CPoint(page.left + TruncToInt(x), page.top + TruncToInt(y));
}

SIndexRange GraphPageIndexRange(const SGraphView& view, int count)
{
    const int end = std::min(count, TruncToInt(view.plotWidth * view.xScale + view.xStart + 2.0));
    return SIndexRange { std::max(0, TruncToInt(view.xStart)), end };
}

void GraphPageClearRects(const SGraphPageLayout& page, const SGraphView& view, SClearRect out[4])
{
    const int w = page.xRatio > 0 ? TruncToInt(view.windowWidth / page.xRatio) : 0;
    const int left = page.left;
    const int top = page.top;
    const int v = page.pageHeight;
    out[0] = SClearRect { 0, 0, left + w, top };
    out[1] = SClearRect { 0, 0, left, v };
    out[2] = SClearRect { left, page.bottom, left + w, v };
    out[3] = SClearRect { left + w, 0, page.pageWidth, v };
}

SValueGridLine GraphPageValueLine(const SGraphPageLayout& page, const SGraphView& view, int i, int lineHeight)
{
    const int rise = view.plotHeight * i / 10;
    SValueGridLine line;
    line.y = page.top + TruncToInt(rise / page.yRatio);
    line.right = page.left + TruncToInt(view.plotWidth / page.xRatio);
    line.labelX = page.left - 5 * page.columnUnit;
    line.labelY = page.top + TruncToInt(rise / page.yRatio - lineHeight / 2);
    line.label.Format(L"%.1f", (view.plotHeight * (10 - i) / 10) * view.yScale + view.yOffset);
    return line;
}

STimeTickPlace GraphPageTimeTick(const SGraphPageLayout& page, const SGraphView& view, int m, int labelWidth,
    int lineHeight)
{
    const double across = (m * view.plotWidth / 5) / page.xRatio;
    const double bottom = page.top + view.plotHeight / page.yRatio;
    return STimeTickPlace { TruncToInt(page.left + across), TruncToInt(bottom),
        TruncToInt(page.left + across - labelWidth / 2), TruncToInt(bottom + lineHeight / 2) };
}

int GraphPageTitleX(const SGraphPageLayout& page)
{
    return page.pageWidth / 2 - (29 / 2) * page.columnUnit;
}

int GraphPageTimeX(const SGraphPageLayout& page, int timeLength)
{
    return page.pageWidth / 2 - (timeLength / 2) * page.columnUnit;
}

int GraphPageStatsTop(const SGraphPageLayout& page)
{
    return page.pageHeight / 2 + page.top;
}
