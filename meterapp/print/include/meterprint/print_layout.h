// Page arithmetic of the printed data table and graph page, in printer pixels
// (x to the right, y down, texts placed by their top-left corner). Pure
// functions of the page size, the print font's line height and what the graph
// control shows (its graph::SGraphState: scales, X start, Y offset, plot
// size); the printers in print_pages.h draw with them.
#pragma once

#include "graph/graph_state.h"
#include "graph/time_axis.h"

#include <afx/afxcore.h>
#include <afx/geometry.h>

#include <ctime>

// Both pages measure themselves in units of their own size: a row unit of
// 1/80 of the page's height, a column unit of 1/130 of its height (the table)
// or width (the graph page).
constexpr int kPageRowUnits = 80;
constexpr int kPageColumnUnits = 130;

// ---- the data table ------------------------------------------------------------

// Rows stop this many row units short of the page's bottom (the footer's room).
constexpr int kTableBottomRowUnits = 4;
// "Data Table" stands this many column units left of a quarter of the width:
// one more on the first page than on the others.
constexpr int kTableFirstTitleShift = 5;
constexpr int kTableTitleShift = 4;

// The first page holds the statistics block on rows 0 to 6; its first record
// stands on row 7. A page needs at least that many rows.
constexpr int kTableFirstRecordRow = 7;

struct SDataTableLayout {
    int pageWidth;    // H: HORZRES
    int pageHeight;   // V: VERTRES
    int rowUnit;      // J = V / 80, also the print font's height
    int columnUnit;   // K = V / 130 (from the height, although it places columns)
    int lineHeight;   // N: tmHeight + tmExternalLeading of the print font, at least 1
    int rowsPerPage;  // R = (V - 4 J) / N, at least kTableFirstRecordRow
};

// The row and column units of a page; line height and rows per page stay 0
// until the print font is known (WithLineHeight).
SDataTableLayout DataTableUnits(int pageWidth, int pageHeight);
SDataTableLayout WithLineHeight(SDataTableLayout layout, int lineHeight);

// y of row r: J + N + r N (row 0 is the first below the title line).
int DataTableRowY(const SDataTableLayout& layout, int row);

// x of the columns and of the end of the rule above a record row.
struct SDataTableColumns {
    int id, dateTime, unit, value, ruleEnd, statValue;
};
// The same in column units from the left edge.
constexpr SDataTableColumns kTableColumnUnits { 4, 11, 27, 33, 40, 15 };
SDataTableColumns DataTableColumns(const SDataTableLayout& layout);

// Where record k (1-based) stands: its running row number n = k + 6 puts it
// on page (n - 1) / R + 1, row (n - 1) % R + 1; a record on row R is the
// last of its page, and a new page with the continuation header follows it.
struct STableRecordPlace {
    int page;
    int row;
    bool lastOnPage;
};
STableRecordPlace DataTableRecordPlace(const SDataTableLayout& layout, int recordNumber);

// Pages printed for `records` (> 0) records: one more than the page breaks,
// so a last record on row R is followed by a page with only its header and
// footer.
int DataTablePageCount(const SDataTableLayout& layout, int records);

// x of "Data Table": H / 4 - 5 K on the first page, H / 4 - 4 K on the others.
int DataTableTitleX(const SDataTableLayout& layout, bool firstPage);

// The footer of every table page: the time text of `timeLength` characters
// at H / 3 - timeLength K, "Page -n-" at H / 3 + K, both at V - J.
struct SFooterPlace {
    int timeX, pageX, y;
};
SFooterPlace DataTableFooter(const SDataTableLayout& layout, int timeLength);

// "Time: %d-%d-%d  %d:%d:%d" of a local time (year, month, day, hour, minute,
// second; no leading zeros), the time line of both pages.
CString PrintTimeText(const std::tm& local);

// ---- the graph page ------------------------------------------------------------

// The plot's left edge in column units (the right margin is as wide) and its
// top edge in row units; it ends at half the page's height.
constexpr int kGraphPageLeftColumns = 8;
constexpr int kGraphPageTopRows = 4;
// Value labels stand this many column units left of the plot.
constexpr int kGraphPageValueLabelColumns = 5;
// The value grid's steps (11 lines) and the time axis's (6 ticks).
constexpr int kGraphPageValueSteps = 10;
constexpr int kGraphPageTimeSteps = 5;
// The title is centred by its length, "Veldmark KV415 RealTime Graph", in
// column units.
constexpr int kGraphPageTitleLength = 29;
// The statistics block's values, in column units right of the plot's left
// edge: most values, the times of the maximum and the minimum, the sample
// rate and the record count.
constexpr int kGraphPageStatValueColumn = 11;
constexpr int kGraphPageStatTimeColumn = 17;
constexpr int kGraphPageStatRateColumn = 13;
constexpr int kGraphPageStatCountColumn = 12;

struct SGraphPageLayout {
    int pageWidth;    // H
    int pageHeight;   // V
    int rowUnit;      // j = V / 80
    int columnUnit;   // k = H / 130
    int left;         // 8 k
    int top;          // 4 j
    int bottom;       // V / 2
    // Screen pixels per printer pixel, computed in floating point: an integer
    // quotient of a screen size by a printer size is 0 on any real printer.
    double xRatio;    // m_nPlotWidth / (H - 16 k)
    double yRatio;    // m_nPlotHeight / (V / 2 - top)
    // The plot can be drawn: both ratios and both scales are positive. When
    // not, the page has its title, time and statistics but no plot.
    bool plotDrawable;
};
SGraphPageLayout GraphPageLayout(int pageWidth, int pageHeight, const SGraphState& view);

// The printer point of record i with level `level`: left + trunc((i - (X
// start - X min)) / X scale / x ratio), top + trunc((plot height - (level - Y
// offset) / Y scale) / y ratio). Far points stay far (held to +-1e9).
CPoint GraphPagePoint(const SGraphPageLayout& page, const SGraphState& view, int index, double level);

// The white rectangles (x, y, width, height) that clear the page around the
// plot: above, left, below, right; `windowWidth` is the control's width on
// screen.
struct SClearRect {
    int x, y, width, height;
};
void GraphPageClearRects(const SGraphPageLayout& page, int windowWidth, SClearRect out[4]);

// Value grid line i (0 top .. 10 bottom): its y, the x where it ends, and
// its label's text ("%.1f" of the level) and top.
struct SValueGridLine {
    int y;
    int right;
    int labelX;
    int labelY;
    CString label;
};
SValueGridLine GraphPageValueLine(const SGraphPageLayout& page, const SGraphState& view, int i, int lineHeight);

// Time tick m (0..5): its x; labelX for a label `labelWidth` wide; the y where
// the tick line ends (the plot's bottom) and the label's top.
struct STimeTickPlace {
    int x;
    int bottom;
    int labelX;
    int labelY;
};
STimeTickPlace GraphPageTimeTick(const SGraphPageLayout& page, const SGraphState& view, int m, int labelWidth,
    int lineHeight);

// The labels of the six time ticks by the screen's labelling rule: tick m
// looks at record trunc(trunc(m plot width / 5.0) X scale + X start - X min +
// 0.5); beyond the records ticks 0 and 1 count on from the first record's
// time by trunc(plot width X scale m / 5.0 interval) seconds. `records` must
// not be empty.
graph::STimeTickLabels GraphPageTimeLabels(const SGraphState& view, const CObArray& records);

// x of the title and of the time line (L characters long).
int GraphPageTitleX(const SGraphPageLayout& page);
int GraphPageTimeX(const SGraphPageLayout& page, int timeLength);
// Top of the statistics block: V / 2 + top.
int GraphPageStatsTop(const SGraphPageLayout& page);
