// The printed pages: the data table of a record array, and the graph page.
// Both run a whole job on the user-interface thread: the print dialog, the
// wait cursor from the dialog's end to the job's end, and the pages.
#pragma once

#include "meterprint/print_layout.h"
#include "meterapp/print_rx.h"
#include "meterdata/records.h"

// The message shown when the printer fails (the job is then abandoned).
extern const wchar_t* const kPrintFailedText;

// Ends a job whose printing has started: EndPrinting, or AbortPrinting when
// `pagesPrinted` is false; true when the document was printed.
bool FinishPrintJob(CPrintRX& job, bool pagesPrinted);
// Shows kPrintFailedText.
void ReportPrintFailure();

// Prints every record of `records` (CObjData*) under the statistics block of
// `stat`, in pages of ruled rows with "Time: ... Page -n-" footers. Nothing
// at all (no dialog) for an empty array; nothing and no message when the
// dialog is cancelled. A document or page the printer refuses, or a document
// it cannot take at the end, abandons the job and shows kPrintFailedText.
void PrintDataTable(CPrintRX& job, const CObArray& records, const SStatInfo& stat);

// Prints the graph page: the curve of `records` as the graph control whose
// state is `view` shows it (same zoom and scroll position; the control is
// `windowWidth` pixels wide on screen), its grid, value and time labels, the
// title, the time and the statistics block of `stat`. Empty array, cancel and
// printer failures as PrintDataTable.
void PrintGraphPage(CPrintRX& job, const CObArray& records, const SGraphState& view, int windowWidth,
    const SStatInfo& stat);

// Draws the whole graph page on the current page of `dc`, with the plot's
// left and top edges and x ratio that PrintGraphPage computes. A date-time
// text that does not read where a time label needs one ends the time labels
// there, as on screen (without the screen's message); the rest of the page is
// drawn.
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
