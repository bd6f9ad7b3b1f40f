#include "meterprint/print_layout.h"

#include "graph/geometry.h"
#include "meterdata/records.h"

#include <algorithm>
#include <cmath>

SDataTableLayout DataTableUnits(int pageWidth, int pageHeight)
{
    return SDataTableLayout { pageWidth, pageHeight, pageHeight / kPageRowUnits, pageHeight / kPageColumnUnits, 0, 0 };
}

SDataTableLayout WithLineHeight(SDataTableLayout layout, int lineHeight)
{
    layout.lineHeight = std::max(1, lineHeight);
    // A page too short for the statistics block and one record still gets
    // that many rows (running past its bottom) rather than rows over the
    // block or a division by zero.
    layout.rowsPerPage
        = std::max(kTableFirstRecordRow,
            (layout.pageHeight - kTableBottomRowUnits * layout.rowUnit) / layout.lineHeight);
    return layout;
}

int DataTableRowY(const SDataTableLayout& layout, int row)
{
    return layout.rowUnit + layout.lineHeight + row * layout.lineHeight;
}

SDataTableColumns DataTableColumns(const SDataTableLayout& layout)
{
    const int k = layout.columnUnit;
    const SDataTableColumns& units = kTableColumnUnits;
    return SDataTableColumns { units.id * k, units.dateTime * k, units.unit * k, units.value * k, units.ruleEnd * k,
        units.statValue * k };
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
    return layout.pageWidth / 4 - (firstPage ? kTableFirstTitleShift : kTableTitleShift) * layout.columnUnit;
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

namespace {

// origin + trunc(offset), held to +-1e9 so that a point far off the page stays
// an int far off the page.
int Offset(int origin, double offset)
{
    const long long limit = 1000000000;
    return static_cast<int>(std::clamp(origin + static_cast<long long>(graph::TruncToInt(offset)), -limit, limit));
}

} // namespace

SGraphPageLayout GraphPageLayout(int pageWidth, int pageHeight, const SGraphState& view)
{
    SGraphPageLayout page {};
    page.pageWidth = pageWidth;
    page.pageHeight = pageHeight;
    page.rowUnit = pageHeight / kPageRowUnits;
    page.columnUnit = pageWidth / kPageColumnUnits;
    page.left = kGraphPageLeftColumns * page.columnUnit;
    page.top = kGraphPageTopRows * page.rowUnit;
    page.bottom = pageHeight / 2;
    const int printedWidth = pageWidth - 2 * page.left;
    const int printedHeight = pageHeight / 2 - page.top;
    page.xRatio = printedWidth > 0 ? static_cast<double>(view.m_nPlotWidth) / printedWidth : 0.0;
    page.yRatio = printedHeight > 0 ? static_cast<double>(view.m_nPlotHeight) / printedHeight : 0.0;
    page.plotDrawable = page.xRatio > 0 && page.yRatio > 0 && view.m_dXScale > 0 && view.m_dYScale > 0;
    return page;
}

CPoint GraphPagePoint(const SGraphPageLayout& page, const SGraphState& view, int index, double level)
{
    const double x = (index - (view.m_dXStart - view.m_dXMin)) / view.m_dXScale / page.xRatio;
    const double y = (view.m_nPlotHeight - (level - view.m_dYOffset) / view.m_dYScale) / page.yRatio;
    return CPoint(Offset(page.left, x), Offset(page.top, y));
}

void GraphPageClearRects(const SGraphPageLayout& page, int windowWidth, SClearRect out[4])
{
    const int w = page.xRatio > 0 ? Offset(0, windowWidth / page.xRatio) : 0;
    const int left = page.left;
    const int top = page.top;
    const int v = page.pageHeight;
    out[0] = SClearRect { 0, 0, left + w, top };
    out[1] = SClearRect { 0, 0, left, v };
    out[2] = SClearRect { left, page.bottom, left + w, v };
    out[3] = SClearRect { left + w, 0, page.pageWidth, v };
}

SValueGridLine GraphPageValueLine(const SGraphPageLayout& page, const SGraphState& view, int i, int lineHeight)
{
    const int rise = view.m_nPlotHeight * i / kGraphPageValueSteps;
    SValueGridLine line;
    line.y = Offset(page.top, rise / page.yRatio);
    line.right = Offset(page.left, view.m_nPlotWidth / page.xRatio);
    line.labelX = page.left - kGraphPageValueLabelColumns * page.columnUnit;
    line.labelY = Offset(page.top, rise / page.yRatio - lineHeight / 2);
    line.label.Format(L"%.1f",
        (view.m_nPlotHeight * (kGraphPageValueSteps - i) / kGraphPageValueSteps) * view.m_dYScale + view.m_dYOffset);
    return line;
}

STimeTickPlace GraphPageTimeTick(const SGraphPageLayout& page, const SGraphState& view, int m, int labelWidth,
    int lineHeight)
{
    const double across = (m * view.m_nPlotWidth / kGraphPageTimeSteps) / page.xRatio;
    const double down = view.m_nPlotHeight / page.yRatio;
    return STimeTickPlace { Offset(page.left, across), Offset(page.top, down),
        Offset(page.left, across - labelWidth / 2), Offset(page.top, down + lineHeight / 2) };
}

graph::STimeTickLabels GraphPageTimeLabels(const SGraphState& view, const CObArray& records)
{
    const CObjData* first = RecordAt(records, 0);
    int tickIndex[graph::kTimeTicks];
    long long startOffset[2];
    for (int m = 0; m < graph::kTimeTicks; ++m) {
        const double across = std::trunc(view.m_nPlotWidth * m / static_cast<double>(kGraphPageTimeSteps));
        tickIndex[m] = graph::TruncToInt(across * view.m_dXScale + view.m_dXStart - view.m_dXMin + 0.5);
        if (m < 2)
            startOffset[m] = graph::TruncToInt(
                view.m_nPlotWidth * view.m_dXScale * m / static_cast<double>(kGraphPageTimeSteps) * first->m_dInterval);
    }
    return graph::LabelTimeTicks(records, first->m_strDateTime, tickIndex, startOffset);
}

int GraphPageTitleX(const SGraphPageLayout& page)
{
    return page.pageWidth / 2 - (kGraphPageTitleLength / 2) * page.columnUnit;
}

int GraphPageTimeX(const SGraphPageLayout& page, int timeLength)
{
    return page.pageWidth / 2 - (timeLength / 2) * page.columnUnit;
}

int GraphPageStatsTop(const SGraphPageLayout& page)
{
    return page.pageHeight / 2 + page.top;
}
