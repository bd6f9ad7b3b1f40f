// The printed pages: the data table of a record array, and the graph page.
// Both run a whole job on the user-interface thread: the print dialog, the
// wait cursor from the dialog's end to the job's end, and the pages.
#pragma once

#include "meterapp/print_rx.h"
#include "meterdata/records.h"
#include "meterprint/print_layout.h"

#include <functional>

// The message shown when the printer fails (the job is then abandoned).
extern const wchar_t* const kPrintFailedText;

// One printout of `records`: nothing at all (no dialog) for an empty array;
// the print dialog; nothing and no message when it is cancelled. Otherwise,
// under the wait cursor, the document starts (text mapping), `pages` prints
// its pages on job.m_dc and the job ends. A document the printer refuses,
// pages that return false (a page it refused) or a document it cannot take
// at the end abandon the job and show kPrintFailedText.
void RunPrintJob(CPrintRX& job, const CObArray& records, const std::function<bool(CPrintRX& job)>& pages);

// Prints every record of `records` (CObjData*) under the statistics block of
// `stat`, in pages of ruled rows with "Time: ... Page -n-" footers, as a
// RunPrintJob.
void PrintDataTable(CPrintRX& job, const CObArray& records, const SStatInfo& stat);

// Prints the graph page of a graph whose state is `view`, as a RunPrintJob:
// one page, on which `drawPage` draws with the plot's left and top edges and
// x ratio of that page.
using GraphPageDrawer = std::function<void(CDC& dc, int left, int top, double xRatio)>;
void PrintGraphPage(CPrintRX& job, const CObArray& records, const SGraphState& view, const GraphPageDrawer& drawPage);

// Draws the whole graph page on the current page of `dc`: the curve of
// `records` as a graph control whose state is `view` shows it (same zoom and
// scroll position; the control is `windowWidth` pixels wide on screen), its
// grid, value and time labels, the title, the time and the statistics block
// of `stat`, with the plot's left and top edges and x ratio that
// PrintGraphPage hands on. A date-time text that does not read where a time
// label needs one ends the time labels there, as on screen (without the
// screen's message); the rest of the page is drawn.
void DrawGraphPage(CDC& dc, const CObArray& records, const SGraphState& view, int windowWidth, int left, int top,
    double xRatio, const SStatInfo& stat);

// Draws the table's parts on the current page of `dc` with the print font
// selected. `page` counts from 1.
void DrawTableFirstBlock(CDC& dc, const SDataTableLayout& layout, const SStatInfo& stat);
void DrawTableContinuationHeader(CDC& dc, const SDataTableLayout& layout);
void DrawTableRecord(CDC& dc, const SDataTableLayout& layout, int row, int recordNumber, const CObjData& record);
void DrawTableFooter(CDC& dc, const SDataTableLayout& layout, int page);

// The print font of both pages: cell height `rowUnit`, weight 200, Arial.
BOOL CreatePrintFont(CFont& font, int rowUnit);
// The time line of both pages, "Time: ..." of the local time now.
CString PrintTimeNow();
// A number as `format` ("%.2f", "%.1f") writes it.
CString PrintNumber(LPCWSTR format, double value);
