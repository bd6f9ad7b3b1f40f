#include "downstream.h"

#include "graph/curve.h"
#include "graph/geometry.h"
#include "graph/grid.h"
#include "graph/pointer.h"
#include "graph/scales.h"
#include "graph/time_axis.h"
#include "meterdata/logged_data.h"
#include "meterdata/sample_rates.h"
#include "meterfiles/data_file.h"
#include "meterfiles/export_table.h"
#include "meterprint/print_layout.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

namespace fuzzing {

void Check(bool condition, const char* what)
{
    if (condition)
        return;
    std::fprintf(stderr, "broken: %s\n", what);
    std::abort();
}

void CheckRecord(const CObjData& record)
{
    Check(std::isfinite(record.m_dValue), "a record's level is finite");
    Check(std::isfinite(record.m_dInterval), "a record's interval is finite");
    Check(record.m_strDateTime.GetLength() <= meterfiles::kDataFileMaxDateTimeLength,
        "a record's date-time is no longer than a data file allows");
    Check(record.m_strUnit.GetLength() <= 4, "a record's unit has at most four characters");
}

namespace {

// The graph control and its owner's read-outs, as the DATALOGGER window and
// the main view drive them.
class GraphSession {
public:
    GraphSession(const CObArray& records, int width, int height)
        : m_records(records), m_count(static_cast<int>(records.GetSize())), m_width(width), m_height(height)
    {
        graph::SetUpView(m_view, width, height);
    }

    const SGraphState& View() const { return m_view; }

    // The control's DrawGraph, less the pixels.
    void Draw()
    {
        if (graph::PlotIsEmpty(m_view))
            return;
        if (m_count >= 1) {
            graph::AutoScaleOrScroll(m_view, m_count, [this] { SendScale(); });
            const graph::SVisibleSamples range = graph::VisibleSamples(m_view, m_count);
            Check(range.first >= 0 && range.end <= m_count, "the visible samples lie within the records");
            m_points.clear();
            graph::CurvePoints(m_view, m_records, range, &m_points);
            Check(m_points.size() <= static_cast<size_t>(std::max(range.end - range.first, 0)),
                "a curve has no more points than the samples it visits");
            if (graph::ShowPointMarkers(m_view.m_dXScale)) {
                for (int i = range.first; i < range.end; ++i) {
                    graph::SampleX(m_view, i);
                    graph::LevelY(m_view, RecordAt(m_records, i)->m_dValue);
                }
            }
            for (int cursor : { m_view.m_nCursorA, m_view.m_nCursorB })
                if (cursor >= 0)
                    graph::CursorX(m_view, cursor);
        }
        for (int j = 0; j < graph::kHorizontalGridLines; ++j)
            graph::GridLabel(m_view, j);
        const graph::SScreenTimeAxis axis = graph::ScreenTimeAxis(m_view, m_records);
        CheckTicks(axis.labels);
    }

    // The owner's answer to WM_GRAPH_SCALE: axis labels and scroll bars.
    void SendScale()
    {
        CString labels[graph::kAxisLabels];
        graph::AxisLabels(static_cast<unsigned int>(graph::ScaleMessageValue(m_view.m_dYScale)),
            graph::ScaleMessageValue(m_view.m_dYOffset), m_height, labels);
        const graph::SScrollBars bars = graph::ScrollBarsFor(m_view);
        m_bars = bars;
    }

    void RecalcLayout()
    {
        graph::ResetToFullRange(m_view, m_width, m_height);
        Draw();
        SendScale();
    }

    // One thing the user does with the mouse or a scroll bar.
    void Act(FuzzedDataProvider& choices)
    {
        const CPoint point(choices.ConsumeIntegralInRange(-50, m_width + 50),
            choices.ConsumeIntegralInRange(-50, m_height + 50));
        switch (choices.ConsumeIntegralInRange(0, 6)) {
        case 0: {  // a press, a drag and a release
            Cursor(graph::Press(m_view, point, m_count));
            const CPoint end(choices.ConsumeIntegralInRange(-50, m_width + 50),
                choices.ConsumeIntegralInRange(-50, m_height + 50));
            if (graph::InsidePlot(m_view, end) && m_view.m_bDragging) {
                m_view.m_bBand = true;
                m_view.m_ptDragEnd = end;
                Draw();
            }
            if (graph::Release(m_view, end))
                SendScale();
            Draw();
            break;
        }
        case 1:
            graph::DoubleClick(m_view, point);
            break;
        case 2:
            graph::ClearCursors(m_view);
            Draw();
            break;
        case 3: {  // a move
            Cursor(graph::PlacingNotice(m_view, point, m_count));
            const graph::SGraphNotice hover = graph::HoverNotice(m_view, point, m_count);
            if (hover.send)
                Check(hover.index > 0 && hover.index < m_count, "a hover names a record");
            break;
        }
        case 4: {  // the vertical scroll bar
            int pos = m_bars.vPos;
            const int thumb = choices.ConsumeIntegralInRange(0, std::max(m_bars.vMax, 0));
            if (graph::PanPosition(choices.ConsumeIntegralInRange(0, 5), pos, graph::VerticalPanBound(m_view), thumb,
                    &pos)) {
                m_bars.vPos = pos;
                m_view.m_dYOffset = graph::YOffsetForPosition(m_view, pos);
                Draw();
                SendScale();
            }
            break;
        }
        case 5: {  // the horizontal scroll bar
            int pos = m_bars.hPos;
            const int thumb = choices.ConsumeIntegralInRange(0, std::max(m_bars.hMax, 0));
            if (graph::PanPosition(choices.ConsumeIntegralInRange(0, 5), pos, graph::HorizontalPanBound(m_view), thumb,
                    &pos)) {
                m_bars.hPos = pos;
                m_view.m_dXStart = pos;
                Draw();
            }
            break;
        }
        default:  // Undo Zoom
            RecalcLayout();
            break;
        }
    }

private:
    // The owner's answer to WM_GRAPH_CURSOR: read-outs, and the statistics
    // between the cursors once B is placed.
    void Cursor(const graph::SGraphNotice& notice)
    {
        if (!notice.send || notice.index < 0 || notice.index >= m_count)
            return;
        if (notice.wParam == graph::kNoticeCursorA) {
            m_cursorA = notice.index;
            return;
        }
        const graph::SBetweenStats stats = graph::StatsBetween(m_records, m_cursorA, notice.index, 0.0, 150.0);
        if (stats.count == 0)
            return;
        Check(stats.count == notice.index - m_cursorA + 1, "the statistics count the records between the cursors");
        if (stats.hasMax)
            Check(stats.maxIndex >= m_cursorA && stats.maxIndex <= notice.index, "the maximum lies between the cursors");
        if (stats.hasMin)
            Check(stats.minIndex >= m_cursorA && stats.minIndex <= notice.index, "the minimum lies between the cursors");
    }

    static void CheckTicks(const graph::STimeTickLabels& ticks)
    {
        Check(ticks.labelled >= 0 && ticks.labelled <= graph::kTimeTicks, "ticks labelled: 0 to 6");
        for (int m = ticks.labelled; m < graph::kTimeTicks; ++m)
            Check(ticks.label[m].IsEmpty(), "a tick after a failed one has no label");
    }

    const CObArray& m_records;
    const int m_count;
    const int m_width;
    const int m_height;
    SGraphState m_view;
    graph::SScrollBars m_bars {};
    int m_cursorA = -1;
    std::vector<POINT> m_points;
};

// No cell of the export starts a formula; a cell starting with '-' is a number.
void CheckExport(const std::string& bytes, INT_PTR records)
{
    Check(bytes.compare(0, 10, "StartTime\t") == 0, "the export starts with its StartTime line");
    size_t cellStart = 0;
    for (size_t i = 0; i <= bytes.size(); ++i) {
        if (i < bytes.size() && bytes[i] != '\t' && bytes[i] != '\r' && bytes[i] != '\n')
            continue;
        if (i > cellStart) {
            const char first = bytes[cellStart];
            Check(first != '=' && first != '+' && first != '@' && first != '"', "no export cell starts a formula");
            if (first == '-') {
                const std::string cell = bytes.substr(cellStart, i - cellStart);
                char* end = nullptr;
                std::strtod(cell.c_str(), &end);
                Check(end == cell.c_str() + cell.size(), "an export cell starting with '-' is a number");
            }
        }
        cellStart = i + 1;
    }
    const std::string last = "\r\n" + std::to_string(records) + "\t";
    Check(records == 0 || bytes.find(last) != std::string::npos, "the export numbers every record");
}

bool WellFormed(const CObjData& record)
{
    const CString date(record.m_strDateTime.GetString());
    int commas = 0;
    for (int i = 0; i < date.GetLength(); ++i) {
        if (date[i] < L' ')
            return false;
        commas += date[i] == L',';
    }
    return commas == 1 && (record.m_strUnit == L"dBA" || record.m_strUnit == L"dBC");
}

// A save read back as Open reads it: every record comes back, and those in the
// form the program writes come back with their date-time and unit.
void CheckSaveReadBack(const CObArray& records)
{
    const std::string bytes = meterfiles::FormatDataFile(records);
    Check(records.GetSize() > 0 || bytes.empty(), "no records write no file");
    if (records.GetSize() == 0)
        return;
    bool allWellFormed = true;
    bool allDatesHaveComma = true;
    for (INT_PTR i = 0; i < records.GetSize(); ++i) {
        const CObjData* record = RecordAt(records, i);
        allWellFormed = allWellFormed && WellFormed(*record);
        allDatesHaveComma = allDatesHaveComma && std::wcschr(record->m_strDateTime.GetString(), L',') != nullptr;
    }
    CObArray again;
    const meterfiles::EDataFileRead result = meterfiles::ParseDataFile(bytes.data(), bytes.size(), again);
    Check(result != meterfiles::EDataFileRead::Failed, "a saved file never fails to read");
    if (allDatesHaveComma && records.GetSize() <= static_cast<INT_PTR>(meterfiles::kDataFileMaxRecords))
        Check(result == meterfiles::EDataFileRead::Read, "a saved file of date-times with their comma reads again");
    if (result == meterfiles::EDataFileRead::Read) {
        Check(again.GetSize() == records.GetSize(), "a saved file reads back every record");
        for (INT_PTR i = 0; allWellFormed && i < records.GetSize(); ++i) {
            const CObjData* before = RecordAt(records, i);
            const CObjData* after = RecordAt(again, i);
            // What a save writes of a text ends at a NUL character, as what the list shows does.
            Check(after->m_strDateTime == CString(before->m_strDateTime.GetString()),
                "a saved date-time reads back as it was");
            Check(after->m_strUnit == CString(before->m_strUnit.GetString()), "a saved unit reads back as it was");
            Check(std::fabs(after->m_dValue - before->m_dValue) <= 0.005 + std::fabs(before->m_dValue) * 1e-12,
                "a saved level reads back to its two decimals");
        }
    }
    DeleteAllRecords(&again);
}

void CheckDataTablePages(const CObArray& records, FuzzedDataProvider& choices)
{
    const int count = static_cast<int>(records.GetSize());
    if (count == 0)
        return;
    SDataTableLayout layout
        = DataTableUnits(choices.ConsumeIntegralInRange(1, 20000), choices.ConsumeIntegralInRange(1, 30000));
    layout = WithLineHeight(layout, choices.ConsumeIntegralInRange(-10, 2000));
    const int pages = DataTablePageCount(layout, count);
    Check(pages >= 1, "a data table has a page");
    int page = 1;
    int row = kTableFirstRecordRow - 1;
    for (int k = 1; k <= count; ++k) {
        const STableRecordPlace place = DataTableRecordPlace(layout, k);
        Check(place.page <= pages, "every record lies on a printed page");
        Check(place.row >= 1 && place.row <= layout.rowsPerPage, "a record's row lies on its page");
        Check(place.page == page ? place.row == row + 1 : place.page == page + 1 && place.row == 1,
            "a record stands on the row after the one before, or first on the next page");
        Check(place.lastOnPage == (place.row == layout.rowsPerPage), "the last record of a page is on its last row");
        page = place.page;
        row = place.row;
        DataTableRowY(layout, place.row);
    }
    DataTableFooter(layout, 40);
    DataTableTitleX(layout, true);
}

void CheckGraphPage(const CObArray& records, const SGraphState& view, int windowWidth, FuzzedDataProvider& choices)
{
    const SGraphPageLayout page
        = GraphPageLayout(choices.ConsumeIntegralInRange(1, 20000), choices.ConsumeIntegralInRange(1, 30000), view);
    const int lineHeight = choices.ConsumeIntegralInRange(0, 2000);
    const int count = static_cast<int>(records.GetSize());
    if (page.plotDrawable && count > 0) {
        const graph::SVisibleSamples range = graph::VisibleSamples(view, count);
        for (int i = range.first; i < range.end; ++i)
            GraphPagePoint(page, view, i, RecordAt(records, i)->m_dValue);
        SClearRect clear[4];
        GraphPageClearRects(page, windowWidth, clear);
        for (int i = 0; i <= 10; ++i)
            GraphPageValueLine(page, view, i, lineHeight);
        for (int m = 0; m < graph::kTimeTicks; ++m)
            GraphPageTimeTick(page, view, m, choices.ConsumeIntegralInRange(0, 5000), lineHeight);
        GraphPageTimeLabels(view, records);
    }
    GraphPageStatsTop(page);
}

}  // namespace

void RecordsDownstream(const CObArray& all, FuzzedDataProvider& choices)
{
    for (INT_PTR i = 0; i < all.GetSize(); ++i)
        CheckRecord(*RecordAt(all, i));

    // The list of recordings; a double click on one of its rows.
    const std::vector<SRecordingRow> rows = RecordingRows(all);
    INT_PTR listed = 0;
    for (const SRecordingRow& row : rows)
        listed += row.count;
    Check(listed == all.GetSize(), "the list's rows count every record once");
    CObArray shown;
    SStatInfo stat;
    if (!rows.empty()) {
        const SRecordingRow& row = rows[choices.ConsumeIntegralInRange<size_t>(0, rows.size() - 1)];
        SelectRecording(all, row.recordSet, shown);
        Check(shown.GetSize() >= row.count, "a recording holds its row's records");
        Check(LoadedStatistics(shown, &stat), "a recording of records has statistics");
        Check(stat.min <= 130.0 && stat.max >= 0.0, "the statistics start from 0 and 130");
        const int rate = RateIndexOf(RecordAt(shown, 0)->m_dInterval);
        Check(rate >= -1 && rate < 10, "a rate is one of the list's or none");
    }

    // Its graph, and what the user does with it.
    const int width = choices.ConsumeIntegralInRange(0, 4000);
    const int height = choices.ConsumeIntegralInRange(0, 3000);
    GraphSession graph(shown, width, height);
    graph.Draw();
    graph.RecalcLayout();
    for (int actions = choices.ConsumeIntegralInRange(0, 12); actions > 0; --actions)
        graph.Act(choices);

    // Export, save, print.
    for (meterfiles::EExportCopy copy : { meterfiles::EExportCopy::MainView, meterfiles::EExportCopy::LoggedDataWindow })
        if (shown.GetSize() > 0)
            CheckExport(meterfiles::FormatExportTable(shown, stat, copy), shown.GetSize());
    CheckSaveReadBack(shown);
    CheckDataTablePages(shown, choices);
    CheckGraphPage(shown, graph.View(), width, choices);
}

}  // namespace fuzzing
