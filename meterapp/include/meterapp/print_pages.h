// The printed pages: the data table of a record array, and the graph page.
// Both run a whole job on the user-interface thread: the print dialog, the
// wait cursor from the dialog's end to the job's end, and the pages.
#pragma once

#include "meterapp/print_layout.h"
#include "meterapp/print_rx.h"
#include "meterapp/records.h"

// The message shown when the printer fails (the job is then abandoned).
extern const wchar_t* const kPrintFailedText;

// Prints every record of `records` (CObjData*) under the statistics block of
// `stat`, in pages of ruled rows with "Time: ... Page -n-" footers. Nothing
// at all (no dialog) for an empty array; nothing and no message when the
// dialog is cancelled. A document or page the printer refuses, or a document
// it cannot take at the end, abandons the job and shows kPrintFailedText.
void PrintDataTable(CPrintRX& job, const CObArray& records, const SStatInfo& stat);

// Draws the table's parts on the current page of `dc` with the print font
// selected. `page` counts from 1.
void DrawTableFirstBlock(CDC& dc, const SDataTableLayout& layout, const SStatInfo& stat);
void DrawTableContinuationHeader(CDC& dc, const SDataTableLayout& layout);
void DrawTableRecord(CDC& dc, const SDataTableLayout& layout, int row, int recordNumber, const CObjData& record);
void DrawTableFooter(CDC& dc, const SDataTableLayout& layout, int page);

// The print font of both pages: cell height `rowUnit`, weight 200, Arial.
BOOL CreatePrintFont(CFont& font, int rowUnit);
