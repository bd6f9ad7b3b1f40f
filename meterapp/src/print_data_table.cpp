#include "meterapp/print_pages.h"

namespace {

void TextAt(CDC& dc, int x, int y, const CString& text)
{
    dc.TextOut(x, y, text);
}

void DrawColumnHeadings(CDC& dc, const SDataTableLayout& layout, int y)
{
    const SDataTableColumns c = DataTableColumns(layout);
    TextAt(dc, c.id, y, L"ID");
    TextAt(dc, c.dateTime, y, L"DateTime");
    TextAt(dc, c.unit, y, L"Unit");
    TextAt(dc, c.value, y, L"Value");
}

// The table's pages of a started document; false when the printer refused a page.
bool PrintTablePages(CPrintRX& job, const CObArray& records, const SStatInfo& stat)
{
    CDC& dc = job.m_dc;
    SDataTableLayout layout = DataTableUnits(dc.GetDeviceCaps(HORZRES), dc.GetDeviceCaps(VERTRES));
    CFont font;
    CreatePrintFont(font, layout.rowUnit);
    CFont* oldFont = dc.SelectObject(&font);

    bool ok = job.StartPage() == 0;
    if (ok) {
        TEXTMETRIC tm {};
        dc.GetTextMetrics(&tm);
        layout = WithLineHeight(layout, tm.tmHeight + tm.tmExternalLeading);
        DrawTableFirstBlock(dc, layout, stat);
        const int count = static_cast<int>(records.GetSize());
        int page = 1;
        for (int k = 1; ok && k <= count; ++k) {
            const STableRecordPlace place = DataTableRecordPlace(layout, k);
            DrawTableRecord(dc, layout, place.row, k, *RecordAt(records, k - 1));
            if (place.lastOnPage) {
                DrawTableFooter(dc, layout, place.page);
                ok = job.EndPage() > 0 && job.StartPage() == 0;
                page = place.page + 1;
                if (ok)
                    DrawTableContinuationHeader(dc, layout);
            }
        }
        if (ok) {
            DrawTableFooter(dc, layout, page);
            ok = job.EndPage() > 0;
        }
    }
    dc.SelectObject(oldFont);
    font.DeleteObject();
    return ok;
}

} // namespace

void DrawTableFirstBlock(CDC& dc, const SDataTableLayout& layout, const SStatInfo& stat)
{
    const SDataTableColumns c = DataTableColumns(layout);
    TextAt(dc, DataTableTitleX(layout, true), layout.rowUnit, L"Data Table");
    const int x = c.id;
    TextAt(dc, x, DataTableRowY(layout, 0), L"Start Time");
    TextAt(dc, c.statValue, DataTableRowY(layout, 0), stat.startTime);
    TextAt(dc, x, DataTableRowY(layout, 1), L"MaxNUM");
    TextAt(dc, c.statValue, DataTableRowY(layout, 1), PrintNumber(L"%.2f", stat.max) + L"   " + stat.maxTime);
    TextAt(dc, x, DataTableRowY(layout, 2), L"MinNUM");
    TextAt(dc, c.statValue, DataTableRowY(layout, 2), PrintNumber(L"%.2f", stat.min) + L"   " + stat.minTime);
    TextAt(dc, x, DataTableRowY(layout, 3), L"Average");
    TextAt(dc, c.statValue, DataTableRowY(layout, 3), PrintNumber(L"%.2f", stat.average));
    TextAt(dc, x, DataTableRowY(layout, 4), L"Sample Rate");
    TextAt(dc, c.statValue, DataTableRowY(layout, 4), PrintNumber(L"%.2f", stat.interval));
    DrawColumnHeadings(dc, layout, DataTableRowY(layout, 6));
}

void DrawTableContinuationHeader(CDC& dc, const SDataTableLayout& layout)
{
    TextAt(dc, DataTableTitleX(layout, false), layout.rowUnit, L"Data Table");
    DrawColumnHeadings(dc, layout, DataTableRowY(layout, 0));
}

void DrawTableRecord(CDC& dc, const SDataTableLayout& layout, int row, int recordNumber, const CObjData& record)
{
    const SDataTableColumns c = DataTableColumns(layout);
    const int y = DataTableRowY(layout, row);
    CString number;
    number.Format(L"%d", recordNumber);
    TextAt(dc, c.id, y, number);
    TextAt(dc, c.dateTime, y, record.m_strDateTime);
    TextAt(dc, c.unit, y, record.m_strUnit);
    TextAt(dc, c.value, y, PrintNumber(L"%.2f", record.m_dValue));
    // The rule goes over the texts, so that their background cannot hide it.
    dc.MoveTo(c.id, y);
    dc.LineTo(c.ruleEnd, y);
}

void DrawTableFooter(CDC& dc, const SDataTableLayout& layout, int page)
{
    const CString time = PrintTimeNow();
    const SFooterPlace place = DataTableFooter(layout, time.GetLength());
    TextAt(dc, place.timeX, place.y, time);
    CString number;
    number.Format(L"Page -%d-", page);
    TextAt(dc, place.pageX, place.y, number);
}

void PrintDataTable(CPrintRX& job, const CObArray& records, const SStatInfo& stat)
{
    RunPrintJob(job, records, [&](CPrintRX& started) { return PrintTablePages(started, records, stat); });
}
