// Page arithmetic of the printed data table and graph page, on an A4 page at
// 300 dpi (2480 x 3508 printer pixels) unless a test says otherwise.
#include "meterprint/print_layout.h"
#include "meterdata/records.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <tuple>

namespace {

constexpr int kA4Width = 2480;
constexpr int kA4Height = 3508;
constexpr int kLine = 44;   // a print font 43 px high with a pixel of leading

SDataTableLayout A4Table()
{
    return WithLineHeight(DataTableUnits(kA4Width, kA4Height), kLine);
}

TEST(DataTablePage, UnitsAndRowsOfAnA4PageAt300Dpi)
{
    const SDataTableLayout t = A4Table();
    EXPECT_EQ(t.rowUnit, 43);                        // V / 80
    EXPECT_EQ(t.columnUnit, 26);                     // V / 130, from the height
    EXPECT_EQ(t.rowsPerPage, (3508 - 4 * 43) / 44);  // 75
    EXPECT_EQ(DataTableRowY(t, 0), 43 + 44);         // "Start Time"
    EXPECT_EQ(DataTableRowY(t, 7), 43 + 8 * 44);     // the first record
    EXPECT_EQ(DataTableRowY(t, t.rowsPerPage), 43 + 76 * 44);
    // The last row ends above the footer line.
    EXPECT_LE(DataTableRowY(t, t.rowsPerPage) + kLine, kA4Height - t.rowUnit);
    const SDataTableColumns c = DataTableColumns(t);
    EXPECT_EQ(c.id, 4 * 26);
    EXPECT_EQ(c.dateTime, 11 * 26);
    EXPECT_EQ(c.unit, 27 * 26);
    EXPECT_EQ(c.value, 33 * 26);
    EXPECT_EQ(c.ruleEnd, 40 * 26);
    EXPECT_EQ(c.statValue, 15 * 26);
    // "Data Table" moves one column unit right after the first page.
    EXPECT_EQ(DataTableTitleX(t, true), 2480 / 4 - 5 * 26);
    EXPECT_EQ(DataTableTitleX(t, false), 2480 / 4 - 4 * 26);
}

TEST(DataTablePage, RecordsFillTheFirstPageBelowTheStatisticsThenWholePages)
{
    const SDataTableLayout t = A4Table();
    const int r = t.rowsPerPage;

    // A single record: row 7 of page 1, one page.
    STableRecordPlace one = DataTableRecordPlace(t, 1);
    EXPECT_EQ(one.page, 1);
    EXPECT_EQ(one.row, kTableFirstRecordRow);
    EXPECT_FALSE(one.lastOnPage);
    EXPECT_EQ(DataTablePageCount(t, 1), 1);

    // R - 7 records all fit on page 1; its last record stands on row R - 1.
    STableRecordPlace fits = DataTableRecordPlace(t, r - 7);
    EXPECT_EQ(fits.page, 1);
    EXPECT_EQ(fits.row, r - 1);
    EXPECT_FALSE(fits.lastOnPage);
    EXPECT_EQ(DataTablePageCount(t, r - 7), 1);

    // R - 6 records: the last takes row R and ends page 1; page 2 carries
    // only its header and footer.
    STableRecordPlace full = DataTableRecordPlace(t, r - 6);
    EXPECT_EQ(full.page, 1);
    EXPECT_EQ(full.row, r);
    EXPECT_TRUE(full.lastOnPage);
    EXPECT_EQ(DataTablePageCount(t, r - 6), 2);

    // The next record opens page 2 on row 1, and R of them fill it.
    STableRecordPlace next = DataTableRecordPlace(t, r - 5);
    EXPECT_EQ(next.page, 2);
    EXPECT_EQ(next.row, 1);
    STableRecordPlace second = DataTableRecordPlace(t, r - 6 + r);
    EXPECT_EQ(second.page, 2);
    EXPECT_EQ(second.row, r);
    EXPECT_TRUE(second.lastOnPage);
    EXPECT_EQ(DataTablePageCount(t, r - 6 + r), 3);
    EXPECT_EQ(DataTablePageCount(t, r - 6 + r - 1), 2);
}

TEST(DataTablePage, EveryRecordHasARowOfItsOwnOnAnyPageHeight)
{
    for (int height : { 3508, 7016, 1000, 400, 120, 10 }) {
        for (int line : { 44, 7, 1, 0, 900 }) {
            SCOPED_TRACE(testing::Message() << "height " << height << ", line " << line);
            const SDataTableLayout t = WithLineHeight(DataTableUnits(2480, height), line);
            ASSERT_GE(t.rowsPerPage, kTableFirstRecordRow);
            std::set<std::pair<int, int>> used;
            int lastPage = 1;
            int breaks = 0;
            const int records = 3 * t.rowsPerPage + 5;
            for (int k = 1; k <= records; ++k) {
                STableRecordPlace p = DataTableRecordPlace(t, k);
                // Never on the statistics block, never past the last row.
                EXPECT_GE(p.row, p.page == 1 ? kTableFirstRecordRow : 1);
                EXPECT_LE(p.row, t.rowsPerPage);
                EXPECT_TRUE(p.page == lastPage || p.page == lastPage + 1);
                EXPECT_TRUE(used.insert({ p.page, p.row }).second);
                EXPECT_EQ(p.lastOnPage, p.row == t.rowsPerPage);
                lastPage = p.lastOnPage ? p.page + 1 : p.page;
                breaks += p.lastOnPage ? 1 : 0;
            }
            EXPECT_EQ(DataTablePageCount(t, records), breaks + 1);
        }
    }
}

TEST(DataTablePage, FooterSitsOnTheLastRowUnitLeftAndRightOfAThird)
{
    const SDataTableLayout t = A4Table();
    const SFooterPlace f = DataTableFooter(t, 26);
    EXPECT_EQ(f.y, 3508 - 43);
    EXPECT_EQ(f.timeX, 2480 / 3 - 26 * 26);
    EXPECT_EQ(f.pageX, 2480 / 3 + 26);

    std::tm local {};
    local.tm_year = 2017 - 1900;
    local.tm_mon = 2;
    local.tm_mday = 5;
    local.tm_hour = 14;
    local.tm_min = 7;
    local.tm_sec = 9;
    EXPECT_EQ(PrintTimeText(local), CString(L"Time: 2017-3-5  14:7:9"));
}

// A graph control 890 x 330 on screen: plot 800 x 300, X 0..40 samples,
// Y 0..130 dB.
constexpr int kWindowWidth = 890;
SGraphState ScreenView()
{
    SGraphState view;
    view.m_dXScale = 40.0 / 800;
    view.m_dYScale = 130.0 / 300;
    view.m_nPlotWidth = 800;
    view.m_nPlotHeight = 300;
    return view;
}

TEST(GraphPage, RatiosAreRealNumbersSoThePlotFillsItsRectangle)
{
    const SGraphState view = ScreenView();
    const SGraphPageLayout p = GraphPageLayout(kA4Width, kA4Height, view);
    EXPECT_EQ(p.columnUnit, 2480 / 130);
    EXPECT_EQ(p.rowUnit, 3508 / 80);
    EXPECT_EQ(p.left, 8 * 19);
    EXPECT_EQ(p.top, 4 * 43);
    EXPECT_EQ(p.bottom, 1754);
    // Taken literally as integers, 800 / 2176 and 300 / 1582 would be 0.
    EXPECT_DOUBLE_EQ(p.xRatio, 800.0 / (2480 - 16 * 19));
    EXPECT_DOUBLE_EQ(p.yRatio, 300.0 / (1754 - 172));
    EXPECT_TRUE(p.plotDrawable);

    // The plot's corners: first sample at the bottom-left, the last one the
    // screen shows at the top-right, 2176 x 1582 printer pixels apart.
    CPoint bottomLeft = GraphPagePoint(p, view, 0, 0.0);
    CPoint topRight = GraphPagePoint(p, view, 40, 130.0);
    EXPECT_EQ(bottomLeft, CPoint(152, 1754));
    EXPECT_NEAR(topRight.x, 152 + 2176, 1);
    EXPECT_NEAR(topRight.y, 172, 1);

    // Zoomed and panned as on screen: the same section of the data.
    SGraphState zoomed = view;
    zoomed.m_dXScale = 10.0 / 800;
    zoomed.m_dXStart = 100.5;
    zoomed.m_dYOffset = 40;
    zoomed.m_dYScale = 30.0 / 300;
    const SGraphPageLayout z = GraphPageLayout(kA4Width, kA4Height, zoomed);
    EXPECT_NEAR(GraphPagePoint(z, zoomed, 105, 55.0).x, 152 + 2176 * 4.5 / 10, 1);
    EXPECT_NEAR(GraphPagePoint(z, zoomed, 105, 55.0).y, 172 + 1582 / 2, 1);
}

TEST(GraphPage, APlotOfNoSizeOrNoScaleIsNotDrawn)
{
    SGraphState view = ScreenView();
    view.m_nPlotWidth = 0;
    EXPECT_FALSE(GraphPageLayout(kA4Width, kA4Height, view).plotDrawable);
    view = ScreenView();
    view.m_dXScale = 0;
    EXPECT_FALSE(GraphPageLayout(kA4Width, kA4Height, view).plotDrawable);
    view = ScreenView();
    EXPECT_FALSE(GraphPageLayout(0, 0, view).plotDrawable);   // a device that reports no page

    // A zoom deep into one sample puts its neighbours far off the page, as
    // ints that stay far off instead of wrapping round.
    view.m_dXScale = 1e-12;
    view.m_dXStart = 1e6;
    const SGraphPageLayout p = GraphPageLayout(kA4Width, kA4Height, view);
    EXPECT_EQ(GraphPagePoint(p, view, 0, 50).x, -1000000000);
    EXPECT_EQ(GraphPagePoint(p, view, 2000000, 50).x, 1000000000);
    EXPECT_EQ(GraphPagePoint(p, view, 2000000, 1e300).y, -1000000000);
}

TEST(GraphPage, WhiteFillsClearAroundThePlot)
{
    const SGraphState view = ScreenView();
    const SGraphPageLayout p = GraphPageLayout(kA4Width, kA4Height, view);
    SClearRect r[4];
    GraphPageClearRects(p, kWindowWidth, r);
    const int w = static_cast<int>(kWindowWidth / p.xRatio);   // the control's width on paper
    EXPECT_EQ(w, 2420);
    EXPECT_EQ((std::tuple { r[0].x, r[0].y, r[0].width, r[0].height }), (std::tuple { 0, 0, 152 + w, 172 }));
    EXPECT_EQ((std::tuple { r[1].x, r[1].y, r[1].width, r[1].height }), (std::tuple { 0, 0, 152, 3508 }));
    EXPECT_EQ((std::tuple { r[2].x, r[2].y, r[2].width, r[2].height }), (std::tuple { 152, 1754, 152 + w, 3508 }));
    EXPECT_EQ((std::tuple { r[3].x, r[3].y, r[3].width, r[3].height }), (std::tuple { 152 + w, 0, 2480, 3508 }));
}

TEST(GraphPage, ValueGridAndTimeTicksSpanThePlot)
{
    const SGraphState view = ScreenView();
    const SGraphPageLayout p = GraphPageLayout(kA4Width, kA4Height, view);
    SValueGridLine topLine = GraphPageValueLine(p, view, 0, kLine);
    SValueGridLine bottomLine = GraphPageValueLine(p, view, 10, kLine);
    EXPECT_EQ(topLine.y, 172);
    EXPECT_EQ(topLine.label, CString(L"130.0"));
    EXPECT_EQ(bottomLine.y, 1754);
    EXPECT_EQ(bottomLine.label, CString(L"0.0"));
    EXPECT_EQ(bottomLine.labelY, 1754 - kLine / 2);
    EXPECT_EQ(bottomLine.labelX, 152 - 5 * 19);
    EXPECT_NEAR(topLine.right, 152 + 2176, 1);
    // The step between labels is a tenth of the plot height, as an integer
    // number of screen pixels: 30 px of 0.4333 dB.
    EXPECT_EQ(GraphPageValueLine(p, view, 9, kLine).label, CString(L"13.0"));

    STimeTickPlace first = GraphPageTimeTick(p, view, 0, 100, kLine);
    STimeTickPlace last = GraphPageTimeTick(p, view, 5, 100, kLine);
    EXPECT_EQ(first.x, 152);
    EXPECT_EQ(first.labelX, 152 - 50);
    EXPECT_NEAR(last.x, 152 + 2176, 1);
    EXPECT_NEAR(first.bottom, 1754, 1);
    EXPECT_EQ(first.labelY, first.bottom + kLine / 2);

    EXPECT_EQ(GraphPageTitleX(p), 1240 - 14 * 19);
    EXPECT_EQ(GraphPageTimeX(p, 26), 1240 - 13 * 19);
    EXPECT_EQ(GraphPageStatsTop(p), 1754 + 172);
}

// Records one second apart from 05-03-2017,14:07:09, every 0.5 s.
struct Recording {
    CObArray records;
    explicit Recording(int count)
    {
        for (int i = 0; i < count; ++i) {
            CString time;
            time.Format(L"05-03-2017,14:%.2d:%.2d", 7 + (9 + i) / 60, (9 + i) % 60);
            records.Add(new CObjData(50, time, L"dBA", 0, 0.5));
        }
    }
    ~Recording() { DeleteAllRecords(&records); }
};

TEST(GraphPage, TimeLabelsFollowTheScreensRuleOverAndBeyondTheRecords)
{
    // 30 records under a view of 40: ticks at samples 0, 8, 16, 24 read their
    // records; ticks 4 and 5 (32, 40) carry on the step of 8 samples.
    Recording r(30);
    graph::STimeTickLabels t = GraphPageTimeLabels(ScreenView(), r.records);
    ASSERT_FALSE(t.Failed());
    EXPECT_EQ(t.label[0], CString(L"14:07:09"));
    EXPECT_EQ(t.label[1], CString(L"14:07:17"));
    EXPECT_EQ(t.label[3], CString(L"14:07:33"));
    EXPECT_EQ(t.label[4], CString(L"14:07:41"));
    EXPECT_EQ(t.label[5], CString(L"14:07:49"));

    // Panned 10.3 samples on: tick 0 looks at record trunc(10.3 + 0.5) = 10.
    SGraphState panned = ScreenView();
    panned.m_dXStart = 10.3;
    t = GraphPageTimeLabels(panned, r.records);
    EXPECT_EQ(t.label[0], CString(L"14:07:19"));
    EXPECT_EQ(t.fullText[0], CString(L"05-03-2017,14:07:19"));

    // Panned before the first record: ticks 0 and 1 count on from its time at
    // its interval (8 samples of 0.5 s = 4 s), the rest repeat their step.
    panned.m_dXStart = -100;
    t = GraphPageTimeLabels(panned, r.records);
    EXPECT_EQ(t.label[0], CString(L"14:07:09"));
    EXPECT_EQ(t.label[1], CString(L"14:07:13"));
    EXPECT_EQ(t.label[2], CString(L"14:07:17"));

    // A start text that does not read, a year the calendar does not hold
    // included, stops the labels at the first tick that needs it.
    for (const wchar_t* text : { L"13-13-2017,25:00:00", L"31-12-2147483647,23:59:59", L"1-1--9999999999,0:0:0" }) {
        Recording bad(0);
        bad.records.Add(new CObjData(50, text, L"dBA", 0, 0.5));
        t = GraphPageTimeLabels(ScreenView(), bad.records);
        EXPECT_EQ(t.labelled, 1) << text;
        EXPECT_EQ(t.label[0], graph::TimeOfDayLabel(text));   // over the record: its own text
    }
}

} // namespace
