#include "meterfiles/export_table.h"

#include <afx/fixed.h>
#include <win32/text.h>

namespace meterfiles {

namespace {

// Appends a text of the records or statistics so that no spreadsheet takes a
// cell of it for a formula: a cell that would begin with = + - @ begins with
// an apostrophe instead, and so does one that would begin with a quote (a
// spreadsheet reads a quoted cell's inside, formula and all). A TAB, CR or
// LF inside the text begins a new cell. Every other byte stays.
void AppendCellText(std::string& out, const std::string& text)
{
    bool cellStart = true;
    for (const char c : text) {
        if (cellStart && (c == '=' || c == '+' || c == '-' || c == '@' || c == '"'))
            out += '\'';
        out += c;
        cellStart = c == '\t' || c == '\r' || c == '\n';
    }
}

void AppendText(std::string& out, const CString& text)
{
    AppendCellText(out, win32::Utf8FromWide(text.GetString()));
}

// "%.2f @ %s  %s" of a level, its date-time and its unit, as one text cell.
void AppendExtreme(std::string& out, double value, const CString& dateTime, const CString& unit)
{
    std::string cell;
    AfxAppendFixed(cell, value, 0, 2);
    cell += " @ ";
    cell += win32::Utf8FromWide(dateTime.GetString());
    cell += "  ";
    cell += win32::Utf8FromWide(unit.GetString());
    AppendCellText(out, cell);
}

}  // namespace

std::string FormatExportTable(const CObArray& records, const SStatInfo& stat, EExportCopy copy)
{
    std::string out;
    out.reserve(static_cast<size_t>(records.GetSize()) * 40 + 256);
    out += "StartTime\t";
    AppendText(out, stat.startTime);
    out += "\t\r\n";

    out += "Max\t";
    AppendExtreme(out, stat.max, stat.maxTime, stat.maxUnit);
    out += copy == EExportCopy::LoggedDataWindow ? " \t\r\n" : "\t\r\n";

    out += "Min\t";
    AppendExtreme(out, stat.min, stat.minTime, stat.minUnit);
    out += "\t\r\n";

    out += "Average\t";
    AfxAppendFixed(out, stat.average, 0, 2);
    out += "\t\r\n";

    out += "SampleRate\t";
    AfxAppendFixed(out, stat.interval, 0, 2);
    out += "\t\r\n";

    out += "ID\tUnit\tValue\tDateTime\t\r\n";
    for (INT_PTR i = 0; i < records.GetSize(); ++i) {
        const CObjData* record = RecordAt(records, i);
        out += std::to_string(i + 1);
        out += '\t';
        AppendText(out, record->m_strUnit);
        out += '\t';
        AfxAppendFixed(out, record->m_dValue, 0, 2);
        out += '\t';
        AppendText(out, record->m_strDateTime);
        out += "\t\r\n";
    }
    return out;
}

}  // namespace meterfiles
