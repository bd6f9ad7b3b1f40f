// The real-time graph in the main window, without a meter: what it draws and
// where, the mouse's cursors and zoom, and the panel's read-outs, labels and
// scroll bars.
#include "live_fixture.h"
#include "view_test_access.h"

#include "meterapp/curve_line.h"
#include "meterapp/graphics_btn.h"
#include "meterapp/messages.h"
#include "resource.h"
#include "afx/win_codes.h"

#include <graph/curve.h>
#include <graph/geometry.h>
#include <graph/grid.h>
#include <graph/scales.h>

#include <gtest/gtest.h>
#include <wx/uiaction.h>
#include <wx/window.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <string>

namespace {

const COLORREF kPlot = RGB(0, 100, 100);
const COLORREF kMargin = RGB(170, 175, 195);
const COLORREF kCurve = RGB(255, 255, 0);
const COLORREF kCursorA = RGB(110, 30, 200);
const COLORREF kCursorB = RGB(0, 255, 0);
const COLORREF kGrid = RGB(255, 0, 255);
const COLORREF kAxis = RGB(100, 0, 100);

double Sawtooth(int i)
{
    return 40.0 + (i % 7) * 5;
}

class GraphWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        decibar = std::make_unique<DecibarInstance>();
        view = decibar->View();
        ASSERT_NE(view, nullptr);
        ASSERT_TRUE(decibar->SetViewClientSize(1024, 768));
        AfxTestPump();
    }
    void TearDown() override
    {
        if (g_pRealTimeRecords)
            DeleteAllRecords(g_pRealTimeRecords);
        decibar.reset();
    }

    // n records one second apart, odd ones in dBC.
    void AddRecords(int n, double (*level)(int) = Sawtooth)
    {
        for (int i = 0; i < n; ++i) {
            CString time;
            time.Format(L"01-02-2017,%.2d:%.2d:%.2d", 10 + i / 3600, i / 60 % 60, i % 60);
            g_pRealTimeRecords->Add(new CObjData(level(i), time, i % 2 ? L"dBC" : L"dBA", 0, 1.0));
        }
    }
    CGraphicsBtn& Graph() { return GraphOf(view); }
    void Draw() { Graph().DrawGraph(g_pRealTimeRecords); }
    COLORREF Pixel(int x, int y) { return AfxTestReadPixel(&Graph(), x, y); }
    CString Text(int id)
    {
        CString text;
        view->GetDlgItemText(id, text);
        return text;
    }
    void Mouse(UINT message, CPoint at, UINT flags = 0)
    {
        Graph().SendMessage(message, flags, MAKELPARAM(at.x, at.y));
    }
    void Click(CPoint at)
    {
        Mouse(WM_LBUTTONDOWN, at, MK_LBUTTON);
        Mouse(WM_LBUTTONUP, at);
    }
    // Windows' order for a double click.
    void DoubleClick(CPoint at)
    {
        Click(at);
        Mouse(WM_LBUTTONDBLCLK, at, MK_LBUTTON);
        Mouse(WM_LBUTTONUP, at);
    }
    void Drag(CPoint from, CPoint to)
    {
        Mouse(WM_LBUTTONDOWN, from, MK_LBUTTON);
        Mouse(WM_MOUSEMOVE, CPoint((from.x + to.x) / 2, (from.y + to.y) / 2), MK_LBUTTON);
        Mouse(WM_MOUSEMOVE, to, MK_LBUTTON);
        Mouse(WM_LBUTTONUP, to);
    }
    CPoint AtSample(int i, int y = 60) { return CPoint(graph::SampleX(Graph(), i), y); }
    int PlotBottom() { return PLOT_TOP + Graph().m_nPlotHeight; }
    // Whether a colour appears in the column x between the plot's top and bottom edges.
    bool ColumnHas(int x, COLORREF colour)
    {
        for (int y = PLOT_TOP + 1; y < PlotBottom(); ++y)
            if (Pixel(x, y) == colour)
                return true;
        return false;
    }

    // A 2-px line about x, from the plot's top to its bottom (the dotted grid may cross it).
    bool CursorLineAt(int x, COLORREF colour)
    {
        for (int column = x - 1; column <= x + 1; ++column) {
            int hits = 0;
            for (int y = PLOT_TOP + 1; y < PlotBottom(); ++y)
                hits += Pixel(column, y) == colour;
            if (hits > Graph().m_nPlotHeight / 2)
                return true;
        }
        return false;
    }

    void Wait(int ms) { AfxTestPumpUntil([] { return false; }, ms); }
    // The real pointer of the X display.
    void DragWithThePointer(CPoint from, CPoint to)
    {
        auto screen = [&](CPoint at) { return AfxTestWx(&Graph())->ClientToScreen(wxPoint(at.x, at.y)); };
        user.MouseMove(screen(from));
        Wait(60);
        user.MouseDown();
        Wait(60);
        user.MouseMove(screen(CPoint((from.x + to.x) / 2, (from.y + to.y) / 2)));
        Wait(60);
        user.MouseMove(screen(to));
        Wait(60);
        user.MouseUp();
        AfxTestPumpUntil([&] { return !Graph().m_bDragging; }, 3000);
        Wait(150);
    }
    // A click on the thumb a bar shows, which moves nothing.
    void ClickWithThePointer(CScrollBar& bar)
    {
        int first = 0, last = 0;
        ASSERT_TRUE(AfxTestShownScrollThumb(&bar, &first, &last));
        const wxRect r = AfxTestWx(&bar)->GetScreenRect();
        const int along = (first + last) / 2;
        user.MouseMove(r.width > r.height ? wxPoint(r.x + along, r.y + r.height / 2)
                                          : wxPoint(r.x + r.width / 2, r.y + along));
        Wait(60);
        user.MouseClick();
        Wait(150);
    }
    // The highest point of the curve (or its markers) in the plot.
    CPoint CurvePeak()
    {
        for (int y = PLOT_TOP + 1; y < PlotBottom(); ++y) {
            int sum = 0, n = 0;
            for (int x = PLOT_LEFT + 1; x < PLOT_LEFT + Graph().m_nPlotWidth; ++x) {
                const COLORREF c = Pixel(x, y);
                if (c == kCurve || c == RGB(0, 0, 0)) {
                    sum += x;
                    ++n;
                }
            }
            if (n > 0)
                return CPoint(sum / n, y);
        }
        return CPoint(-1, -1);
    }

    livetest::PrivatePorts ports;
    wxUIActionSimulator user;
    std::unique_ptr<DecibarInstance> decibar;
    CDecibarView* view = nullptr;
};

TEST_F(GraphWindow, AnEmptyGraphShowsPlotGridAndAxesWithLabelsFromItsHeight)
{
    Draw();
    CGraphicsBtn& g = Graph();
    ASSERT_GT(g.m_nPlotWidth, 300);
    EXPECT_EQ(Pixel(PLOT_LEFT + 3, PLOT_TOP + 3), kPlot);
    EXPECT_EQ(Pixel(10, PLOT_TOP + 40), kMargin);
    EXPECT_EQ(Pixel(PLOT_LEFT + g.m_nPlotWidth + 30, 5), kMargin);
    EXPECT_EQ(Pixel(PLOT_LEFT, PLOT_TOP + 7), kAxis);
    EXPECT_TRUE(ColumnHas(graph::GridLineX(g.m_nPlotWidth, 10), kGrid));
    EXPECT_FALSE(ColumnHas(graph::GridLineX(g.m_nPlotWidth, 10) + 3, kGrid));
    EXPECT_FALSE(ColumnHas(PLOT_LEFT + 20, kCurve));
    // The hidden labels: (control height - 15) × k / 10 × scale + offset.
    CRect window;
    g.GetWindowRect(&window);
    CString top;
    top.Format(L"%.2f", (window.Height() - 15) * 10 / 10.0 * (graph::ScaleMessageValue(g.m_dYScale) / 10000.0));
    EXPECT_EQ(Text(IDC_Y_LABEL_FIRST), CString(L"0.00"));
    EXPECT_EQ(Text(IDC_Y_LABEL_FIRST + 10), top);
    EXPECT_FALSE(view->GetDlgItem(IDC_Y_LABEL_FIRST)->IsWindowVisible());
}

TEST_F(GraphWindow, TheCurveLiesWhereItsRecordsMapAndNeverInTheMargins)
{
    AddRecords(15, [](int i) { return i < 10 ? 65.0 : 200.0; });
    Draw();
    const int y = graph::LevelY(Graph(), 65.0);
    for (int i : { 1, 4, 8 }) {
        const CPoint p = AtSample(i, y);
        EXPECT_EQ(Pixel((p.x + AtSample(i + 1).x) / 2, y), kCurve) << i;
    }
    // Levels above the plot run into the top margin, which covers them.
    const int above = (AtSample(11).x + AtSample(12).x) / 2;
    EXPECT_EQ(Pixel(above, PLOT_TOP - 3), kMargin);
    EXPECT_TRUE(ColumnHas(AtSample(9).x + 3, kCurve)); // the rise towards sample 10
    // 15 records in a 20-sample span: samples are far apart, and marked.
    EXPECT_EQ(Pixel(AtSample(5).x, y), RGB(0, 0, 0));
}

TEST_F(GraphWindow, ClicksPlaceTheCursorsAndFillTheReadOutsBetweenThem)
{
    AddRecords(12, [](int i) {
        const double levels[] = { 50, 61, 40, 70, 55, 70, 40, 65, 60, 99, 30, 45 };
        return levels[i];
    });
    Draw();
    Mouse(WM_MOUSEMOVE, AtSample(4));
    EXPECT_EQ(Text(IDC_HOVER_VALUE), CString(L"55.0dBA"));
    DoubleClick(AtSample(5));
    EXPECT_EQ(Graph().m_nMode, GRAPH_MODE_CURSOR_A);
    Mouse(WM_MOUSEMOVE, AtSample(2));
    EXPECT_EQ(Text(IDC_CURSOR_A_VALUE), CString(L"40.0")); // follows the mouse
    Click(AtSample(3));
    EXPECT_EQ(Graph().m_nCursorA, 3);
    EXPECT_EQ(DecibarViewTestAccess::CursorA(view), 3);
    EXPECT_EQ(Text(IDC_CURSOR_A_VALUE), CString(L"70.0"));
    EXPECT_EQ(Text(IDC_CURSOR_A_TIME), CString(L"01-02-2017,10:00:03"));
    Click(AtSample(3)); // B on A's own sample is refused
    Click(AtSample(1));
    EXPECT_EQ(Graph().m_nMode, GRAPH_MODE_CURSOR_B);
    EXPECT_TRUE(Text(IDC_CURSOR_B_VALUE).IsEmpty());
    Click(AtSample(7));
    EXPECT_EQ(Graph().m_nCursorB, 7);
    EXPECT_EQ(Text(IDC_CURSOR_B_VALUE), CString(L"65.0"));
    EXPECT_EQ(Text(IDC_CURSOR_B_TIME), CString(L"01-02-2017,10:00:07"));
    EXPECT_EQ(Text(IDC_AB_QUANTITY), CString(L"5"));
    EXPECT_EQ(Text(IDC_AB_AVERAGE), CString(L"60.0"));
    EXPECT_EQ(Text(IDC_AB_MAX_VALUE), CString(L"70.0"));
    EXPECT_EQ(Text(IDC_AB_MAX_TIME), CString(L"01-02-2017,10:00:03")); // the earlier of the two 70s
    EXPECT_EQ(Text(IDC_AB_MIN_VALUE), CString(L"40.0"));
    EXPECT_EQ(Text(IDC_AB_MIN_TIME), CString(L"01-02-2017,10:00:06"));
    // Cursor notices leave the hover read-out of the last move.
    EXPECT_EQ(Text(IDC_HOVER_VALUE), CString(L"40.0dBA"));

    Draw();
    EXPECT_TRUE(CursorLineAt(graph::CursorX(Graph(), 3), kCursorA));
    EXPECT_TRUE(CursorLineAt(graph::CursorX(Graph(), 7), kCursorB));

    // A new cursor A empties cursor B and everything between them.
    DoubleClick(AtSample(9));
    Click(AtSample(9));
    EXPECT_EQ(Text(IDC_CURSOR_A_VALUE), CString(L"99.0"));
    for (int id : { IDC_CURSOR_B_VALUE, IDC_CURSOR_B_TIME, IDC_AB_MAX_VALUE, IDC_AB_MAX_TIME, IDC_AB_MIN_VALUE,
             IDC_AB_MIN_TIME, IDC_AB_AVERAGE, IDC_AB_QUANTITY })
        EXPECT_TRUE(Text(id).IsEmpty()) << id;
    // A right click clears the cursors and their lines, not the read-outs.
    Mouse(WM_RBUTTONUP, AtSample(2));
    EXPECT_EQ(Graph().m_nCursorA, -1);
    EXPECT_FALSE(CursorLineAt(graph::CursorX(Graph(), 3), kCursorA));
    EXPECT_EQ(Text(IDC_CURSOR_A_VALUE), CString(L"99.0"));
}

TEST_F(GraphWindow, HoverShowsValueWithUnitAndNeverTheFirstRecord)
{
    AddRecords(10);
    Graph().m_dXStart = 0.4; // so that the plot's first pixels lie on record 0
    Draw();
    Mouse(WM_MOUSEMOVE, CPoint(PLOT_LEFT + 1, 60));
    EXPECT_TRUE(Text(IDC_HOVER_VALUE).IsEmpty());
    Mouse(WM_MOUSEMOVE, AtSample(3));
    EXPECT_EQ(Text(IDC_HOVER_VALUE), CString(L"55.0dBC"));
    EXPECT_EQ(Text(IDC_HOVER_TIME), CString(L"01-02-2017,10:00:03"));
    Mouse(WM_MOUSEMOVE, AtSample(12)); // past the records
    EXPECT_EQ(Text(IDC_HOVER_VALUE), CString(L"55.0dBC"));
}

TEST_F(GraphWindow, ADragZoomsLabelsAndScrollBarsFollowAndUnDoZoomReturns)
{
    AddRecords(60);
    Draw();
    const CString topLabel = Text(IDC_Y_LABEL_FIRST + 10);
    const int w = Graph().m_nPlotWidth;
    const int h = Graph().m_nPlotHeight;
    // While dragging, the dotted rectangle is drawn.
    Mouse(WM_LBUTTONDOWN, CPoint(PLOT_LEFT + w / 4, PLOT_TOP + h / 4), MK_LBUTTON);
    Mouse(WM_MOUSEMOVE, CPoint(PLOT_LEFT + w / 2, PLOT_TOP + h / 2), MK_LBUTTON);
    EXPECT_TRUE(Graph().m_bBand);
    bool dotted = false;
    for (int x = PLOT_LEFT + w / 4; x < PLOT_LEFT + w / 2 && !dotted; ++x)
        dotted = Pixel(x, PLOT_TOP + h / 4) == RGB(0, 0, 0);
    EXPECT_TRUE(dotted);
    Mouse(WM_LBUTTONUP, CPoint(PLOT_LEFT + w / 2, PLOT_TOP + h / 2));
    EXPECT_EQ(Graph().m_dZoomed, 1.0);
    EXPECT_FALSE(Graph().m_bBand);
    EXPECT_NE(Text(IDC_Y_LABEL_FIRST + 10), topLabel);
    EXPECT_NE(Text(IDC_Y_LABEL_FIRST), CString(L"0.00"));
    int low = 0, high = 0;
    AfxTestScrollRange(&ScrollBarOf(view, IDC_VSCROLL), &low, &high);
    EXPECT_GT(high, 0);
    AfxTestScrollRange(&ScrollBarOf(view, IDC_HSCROLL), &low, &high);
    EXPECT_GT(high, 0);
    EXPECT_EQ(ScrollBarOf(view, IDC_HSCROLL).GetScrollPos(), graph::TruncToInt(Graph().m_dXStart));

    AfxTestClickButton(view->GetDlgItem(IDC_UNDO_ZOOM));
    EXPECT_EQ(Graph().m_dZoomed, 0.0);
    EXPECT_EQ(Graph().m_dXStart, 0);
    EXPECT_EQ(Text(IDC_Y_LABEL_FIRST + 10), topLabel);
    AfxTestScrollRange(&ScrollBarOf(view, IDC_VSCROLL), &low, &high);
    EXPECT_EQ(high, 0);

    // In a cursor mode a drag places a cursor and draws no rectangle.
    DoubleClick(AtSample(5));
    Mouse(WM_LBUTTONDOWN, AtSample(5), MK_LBUTTON);
    Mouse(WM_MOUSEMOVE, CPoint(PLOT_LEFT + w / 2, PLOT_TOP + h / 2), MK_LBUTTON);
    EXPECT_FALSE(Graph().m_bBand);
    Mouse(WM_LBUTTONUP, CPoint(PLOT_LEFT + w / 2, PLOT_TOP + h / 2));
    EXPECT_EQ(Graph().m_dZoomed, 0.0);
    EXPECT_EQ(Graph().m_nCursorA, 5);
}

// The labels left of the plot are kept as a picture while they stay the same.
TEST_F(GraphWindow, TheLevelLabelsFollowAZoomAndComeBackWithUnDoZoom)
{
    AddRecords(40);
    Draw();
    auto strip = [&] {
        std::vector<COLORREF> pixels;
        for (int y = 0; y < PlotBottom(); y += 2)
            for (int x = 0; x < PLOT_LEFT; x += 2)
                pixels.push_back(Pixel(x, y));
        return pixels;
    };
    const std::vector<COLORREF> full = strip();
    Drag(AtSample(5, 40), AtSample(20, 200));
    ASSERT_EQ(Graph().m_dZoomed, 1.0);
    EXPECT_NE(strip(), full);
    AfxTestClickButton(view->GetDlgItem(IDC_UNDO_ZOOM));
    EXPECT_EQ(strip(), full);
}

TEST_F(GraphWindow, AScaleMessageWithANegativeOffsetSetsTheScrollBarsButNoLabel)
{
    Draw();
    view->SetDlgItemText(IDC_Y_LABEL_FIRST + 4, L"kept");
    Graph().m_dYScale = 0.1;
    Graph().m_dYOffset = -5;
    view->SendMessage(WM_GRAPH_SCALE, 1000, static_cast<LPARAM>(-50000));
    EXPECT_EQ(Text(IDC_Y_LABEL_FIRST + 4), CString(L"kept"));
    int low = 0, high = 0;
    AfxTestScrollRange(&ScrollBarOf(view, IDC_VSCROLL), &low, &high);
    EXPECT_EQ(high, graph::ScrollBarsFor(Graph()).vMax);
    EXPECT_GT(high, 0);
    view->SendMessage(WM_GRAPH_SCALE, 1000, 50000); // scale 0.1, offset 5
    CRect window;
    Graph().GetWindowRect(&window);
    CString expected;
    expected.Format(L"%.2f", (window.Height() - 15) * 4 / 10.0 * 0.1 + 5.0);
    EXPECT_EQ(Text(IDC_Y_LABEL_FIRST + 4), expected);
}

TEST_F(GraphWindow, ScrollBarsPanByLinesAndToTheReleasedThumbOfALongRecording)
{
    AddRecords(40000, [](int i) { return 40.0 + i % 50; });
    Draw();
    const int w = Graph().m_nPlotWidth;
    const int h = Graph().m_nPlotHeight;
    Drag(CPoint(PLOT_LEFT + 20, PLOT_TOP + 20), CPoint(PLOT_LEFT + 60, PLOT_TOP + h - 20));
    ASSERT_EQ(Graph().m_dZoomed, 1.0);
    (void)w;

    int low = 0, high = 0;
    AfxTestScrollRange(&ScrollBarOf(view, IDC_HSCROLL), &low, &high);
    const int far = high - 10; // beyond a 16-bit position
    ASSERT_GT(far, 32767);
    AfxTestScroll(&ScrollBarOf(view, IDC_HSCROLL), SB_THUMBPOSITION, far);
    EXPECT_EQ(ScrollBarOf(view, IDC_HSCROLL).GetScrollPos(), far);
    EXPECT_EQ(Graph().m_dXStart, far);
    EXPECT_GE(graph::IndexUnderX(Graph(), PLOT_LEFT + 1), far);
    // Dragging the thumb changes nothing until it is released.
    AfxTestScroll(&ScrollBarOf(view, IDC_HSCROLL), SB_THUMBTRACK, 100);
    EXPECT_EQ(Graph().m_dXStart, far);
    AfxTestScroll(&ScrollBarOf(view, IDC_HSCROLL), SB_LINEDOWN, 0);
    EXPECT_EQ(Graph().m_dXStart, far + 1);
    AfxTestScroll(&ScrollBarOf(view, IDC_HSCROLL), SB_THUMBPOSITION, 0);
    AfxTestScroll(&ScrollBarOf(view, IDC_HSCROLL), SB_LINEUP, 0);
    EXPECT_EQ(ScrollBarOf(view, IDC_HSCROLL).GetScrollPos(), 0);
    EXPECT_EQ(Graph().m_dXStart, 0);

    // Vertically: position 0 shows the top of the range; a line down at the
    // bound stays, but the offset is set again and the labels rewritten.
    AfxTestScrollRange(&ScrollBarOf(view, IDC_VSCROLL), &low, &high);
    ASSERT_GT(high, 0);
    AfxTestScroll(&ScrollBarOf(view, IDC_VSCROLL), SB_THUMBPOSITION, high);
    EXPECT_DOUBLE_EQ(Graph().m_dYOffset, graph::VerticalPanBound(Graph()) - high);
    view->SetDlgItemText(IDC_Y_LABEL_FIRST, L"stale");
    AfxTestScroll(&ScrollBarOf(view, IDC_VSCROLL), SB_LINEDOWN, 0);
    EXPECT_EQ(ScrollBarOf(view, IDC_VSCROLL).GetScrollPos(), high);
    EXPECT_NE(Text(IDC_Y_LABEL_FIRST), CString(L"stale"));
    AfxTestScroll(&ScrollBarOf(view, IDC_VSCROLL), SB_THUMBPOSITION, 0);
    EXPECT_DOUBLE_EQ(Graph().m_dYOffset, graph::VerticalPanBound(Graph()));
}

// The bars as the screen shows them after a zoom made with the real pointer,
// and the graph after a wheel notch or an arrow key on a bar.
TEST_F(GraphWindow, AfterARealDragZoomTheBarsShowTheirThumbsAndTheWheelAndArrowKeysPanAStepAtATime)
{
    AddRecords(300, [](int i) { return i == 60 ? 80.0 : 50.0; });
    Draw();
    CScrollBar& across = ScrollBarOf(view, IDC_HSCROLL);
    CScrollBar& upright = ScrollBarOf(view, IDC_VSCROLL);
    CScrollBar* bars[] = { &across, &upright };
    // Unzoomed, each thumb fills its trough, which gives the trough's ends.
    Wait(200);
    int troughFirst[2], troughLast[2];
    for (int b = 0; b < 2; ++b) {
        ASSERT_TRUE(AfxTestShownScrollThumb(bars[b], &troughFirst[b], &troughLast[b]));
        const wxSize size = AfxTestWx(bars[b])->GetSize();
        EXPECT_GT(troughLast[b] - troughFirst[b], std::max(size.x, size.y) - 12) << b;
    }
    // Where the trough puts the thumb of the bar's position, and its length.
    auto expectThumbShown = [&](int b) {
        int first = 0, last = 0, low = 0, high = 0;
        ASSERT_TRUE(AfxTestShownScrollThumb(bars[b], &first, &last)) << b;
        AfxTestScrollRange(bars[b], &low, &high);
        ASSERT_GT(high, 0) << b;
        const int trough = troughLast[b] - troughFirst[b] + 1;
        EXPECT_LT(last - first + 1, trough / 3) << b;
        const double travel = trough - (last - first + 1);
        EXPECT_NEAR(first, troughFirst[b] + travel * bars[b]->GetScrollPos() / high, 2) << b;
    };

    const int w = Graph().m_nPlotWidth;
    DragWithThePointer(AtSample(30, graph::LevelY(Graph(), 95)), AtSample(90, graph::LevelY(Graph(), 20)));
    ASSERT_EQ(Graph().m_dZoomed, 1.0);
    Wait(300);
    expectThumbShown(0);
    expectThumbShown(1);

    // Three notches down over the bar: three line steps, which the graph
    // shows (the zoom left its start between two samples).
    const CPoint peak = CurvePeak();
    ASSERT_GT(peak.x, PLOT_LEFT + w / 4);
    const double sample = 1 / Graph().m_dXScale;
    const double zoomStart = Graph().m_dXStart;
    const int start = across.GetScrollPos();
    auto peakAfterPan = [&] { return peak.x - (Graph().m_dXStart - zoomStart) * sample; };
    AfxTestTurnWheel(&across, 3);
    AfxTestPumpUntil([&] { return across.GetScrollPos() >= start + 3; }, 3000);
    Wait(100);
    EXPECT_EQ(across.GetScrollPos(), start + 3);
    EXPECT_EQ(AfxTestScrollThumb(&across), start + 3);
    EXPECT_EQ(Graph().m_dXStart, start + 3);
    EXPECT_NEAR(CurvePeak().x, peakAfterPan(), 2);
    expectThumbShown(0);
    AfxTestTurnWheel(&across, -1);
    AfxTestPumpUntil([&] { return across.GetScrollPos() <= start + 2; }, 3000);
    Wait(100);
    EXPECT_EQ(Graph().m_dXStart, start + 2);
    EXPECT_NEAR(CurvePeak().x, peakAfterPan(), 2);

    // A bar the user clicked takes the arrow keys: a sample, or a decibel.
    ClickWithThePointer(across);
    user.Char(WXK_LEFT);
    AfxTestPumpUntil([&] { return across.GetScrollPos() <= start + 1; }, 3000);
    Wait(100);
    EXPECT_EQ(Graph().m_dXStart, start + 1);
    EXPECT_NEAR(CurvePeak().x, peakAfterPan(), 2);
    expectThumbShown(0);
    const CPoint before = CurvePeak();
    const double offset = Graph().m_dYOffset;
    const int level = upright.GetScrollPos();
    ClickWithThePointer(upright);
    user.Char(WXK_DOWN);
    AfxTestPumpUntil([&] { return upright.GetScrollPos() >= level + 1; }, 3000);
    Wait(100);
    EXPECT_EQ(upright.GetScrollPos(), level + 1);
    EXPECT_DOUBLE_EQ(Graph().m_dYOffset, graph::VerticalPanBound(Graph()) - (level + 1));
    EXPECT_NEAR(CurvePeak().y, before.y - (offset - Graph().m_dYOffset) / Graph().m_dYScale, 2);
    expectThumbShown(1);
}

TEST_F(GraphWindow, ATimeTextThatDoesNotReadIsReportedOnceAndNeverFromANestedDraw)
{
    // Ticks 0 and 1 lie over the records; tick 2 reads their texts.
    for (int i = 0; i < 5; ++i)
        g_pRealTimeRecords->Add(new CObjData(50, L"05-13-2011,10:00:00", L"dBA", 0, 1.0));
    int boxes = 0;
    AfxTestSetModalAnswerer([&](const AfxModalRequest& request) {
        if (request.kind == AfxModalRequest::MessageBox && request.text == L"Time Format is wrong!")
            ++boxes;
        // Timers and paint go on while a box is up: they draw again.
        Draw();
        Draw();
        return static_cast<int>(IDOK);
    });
    Draw();
    EXPECT_EQ(boxes, 1);
    Draw();
    view->Invalidate();
    view->UpdateWindow();
    EXPECT_EQ(boxes, 1);
    g_pRealTimeRecords->Add(new CObjData(50, L"garbage", L"dBA", 0, 1.0));
    DeleteAllRecords(g_pRealTimeRecords);
    g_pRealTimeRecords->Add(new CObjData(50, L"01-02-1800,10:00:00", L"dBA", 0, 1.0));
    Draw();
    EXPECT_EQ(boxes, 2);
    AfxTestSetModalAnswerer({});
    // The graph is still drawn, up to the failing tick.
    EXPECT_EQ(Pixel(PLOT_LEFT + 3, PLOT_TOP + 3), kPlot);
}

TEST_F(GraphWindow, ResizingClearsTheZoomAndKeepsEveryRecordInView)
{
    AddRecords(300);
    Draw();
    Drag(AtSample(30, 40), AtSample(90, 120));
    ASSERT_EQ(Graph().m_dZoomed, 1.0);
    const double xMax = Graph().m_dXMax;
    ASSERT_TRUE(decibar->SetViewClientSize(1200, 850));
    EXPECT_EQ(Graph().m_dZoomed, 0.0);
    EXPECT_EQ(Graph().m_dXStart, 0);
    EXPECT_DOUBLE_EQ(Graph().m_dXMax, xMax);
    CRect window;
    Graph().GetWindowRect(&window);
    EXPECT_EQ(Graph().m_nPlotWidth, window.Width() - PLOT_MARGIN_WIDTH);
    EXPECT_GE(graph::IndexUnderX(Graph(), PLOT_LEFT + Graph().m_nPlotWidth - 1), 299);
}

TEST_F(GraphWindow, AControlTooSmallForAPlotShowsItsMarginColourAndTakesNoClicks)
{
    AddRecords(30);
    Graph().MoveWindow(300, 300, 80, 25);
    EXPECT_TRUE(graph::PlotIsEmpty(Graph()));
    Draw();
    EXPECT_EQ(Pixel(40, 12), kMargin);
    DoubleClick(CPoint(50, 15));
    Drag(CPoint(46, 11), CPoint(70, 20));
    EXPECT_EQ(Graph().m_nMode, GRAPH_MODE_NONE);
    EXPECT_EQ(Graph().m_dZoomed, 0.0);
    ASSERT_TRUE(decibar->SetViewClientSize(1100, 800)); // laid out again by the view
    EXPECT_FALSE(graph::PlotIsEmpty(Graph()));
}

TEST_F(GraphWindow, NoticesForIndicesTheArrayDoesNotHoldChangeNothing)
{
    AddRecords(5);
    view->SendMessage(WM_GRAPH_CURSOR, static_cast<WPARAM>(-2), 3); // B before any A
    view->SendMessage(WM_GRAPH_CURSOR, static_cast<WPARAM>(-1), 9);
    view->SendMessage(WM_GRAPH_HOVER, static_cast<WPARAM>(-2), 5);
    view->SendMessage(WM_GRAPH_HOVER, static_cast<WPARAM>(-2), -1);
    view->SendMessage(WM_GRAPH_CURSOR, static_cast<WPARAM>(-7), 2);
    for (int id : { IDC_CURSOR_A_VALUE, IDC_CURSOR_B_VALUE, IDC_AB_QUANTITY, IDC_HOVER_VALUE })
        EXPECT_TRUE(Text(id).IsEmpty()) << id;
    EXPECT_EQ(DecibarViewTestAccess::CursorA(view), -1);
    view->SendMessage(WM_GRAPH_CURSOR, static_cast<WPARAM>(-1), 3);
    view->SendMessage(WM_GRAPH_CURSOR, static_cast<WPARAM>(-2), 1); // left of A
    EXPECT_TRUE(Text(IDC_AB_QUANTITY).IsEmpty());
    view->SendMessage(WM_GRAPH_CURSOR, static_cast<WPARAM>(-2), 4);
    EXPECT_EQ(Text(IDC_AB_QUANTITY), CString(L"2"));
}

// The curve is drawn through a few points per pixel column and in pieces.
// Drawn as one line through every sample it shows the same pixels, but for
// the few where the toolkit fills a long line that turns back on itself
// differently from the same line in pieces: under 1 % of them here, where a
// reduction that lost a column's extremes or their order differs in over 9 %.
TEST_F(GraphWindow, TheReducedCurveDrawsTheSamePixelsAsALineThroughEverySample)
{
    std::mt19937 random(7);
    // A lively level: it wanders by up to 6 dB from sample to sample.
    std::uniform_real_distribution<double> step(-6.0, 6.0);
    static std::vector<double> levels;
    levels.clear();
    double now = 55;
    for (int i = 0; i < 30000; ++i) {
        now = std::min(110.0, std::max(30.0, now + step(random)));
        levels.push_back(now);
    }
    AddRecords(30000, [](int i) { return levels[static_cast<size_t>(i)]; });
    SGraphState s = Graph();
    s.m_dXScale = 30000.0 / s.m_nPlotWidth;
    const graph::SVisibleSamples range = graph::VisibleSamples(s, 30000);
    std::vector<POINT> reduced, all;
    graph::CurvePoints(s, *g_pRealTimeRecords, range, &reduced);
    for (int i = range.first; i < range.end; ++i)
        all.push_back({ graph::SampleX(s, i), graph::LevelY(s, levels[static_cast<size_t>(i)]) });
    ASSERT_LT(reduced.size() * 3, all.size());

    CClientDC screen(&Graph());
    CRect client;
    Graph().GetClientRect(&client);
    auto render = [&](const std::vector<POINT>& points, CDC& dc, CBitmap& bitmap, bool inPieces) {
        dc.CreateCompatibleDC(&screen);
        bitmap.CreateCompatibleBitmap(&screen, client.Width(), client.Height());
        dc.SelectObject(&bitmap);
        dc.FillSolidRect(0, 0, client.Width(), client.Height(), RGB(0, 0, 0));
        CPen pen(PS_SOLID, 1, kCurve);
        CPen* old = dc.SelectObject(&pen);
        if (inPieces)
            DrawLineInPieces(&dc, points.data(), static_cast<int>(points.size()));
        else
            dc.Polyline(points.data(), static_cast<int>(points.size()));
        dc.SelectObject(old);
    };
    CDC fewDC, allDC;
    CBitmap fewBitmap, allBitmap;
    ASSERT_GT(reduced.size(), static_cast<size_t>(3 * kCurvePieceLength));
    render(reduced, fewDC, fewBitmap, true);
    render(all, allDC, allBitmap, false);
    int differing = 0, lit = 0;
    for (int x = PLOT_LEFT; x < PLOT_LEFT + s.m_nPlotWidth; ++x)
        for (int y = PLOT_TOP; y <= PlotBottom(); ++y) {
            const COLORREF expected = AfxTestDCPixel(allDC, x, y);
            lit += expected != RGB(0, 0, 0);
            differing += AfxTestDCPixel(fewDC, x, y) != expected;
        }
    EXPECT_GT(lit, s.m_nPlotWidth * 10);
    EXPECT_LE(differing, lit / 100) << differing << " of " << lit << " pixels differ";
}

TEST_F(GraphWindow, Screenshot)
{
    const char* path = std::getenv("DECIBAR_GRAPH_SCREENSHOT");
    if (!path)
        GTEST_SKIP() << "set DECIBAR_GRAPH_SCREENSHOT to a PNG path";
    AddRecords(60);
    Draw();
    DoubleClick(AtSample(10));
    Click(AtSample(12));
    Click(AtSample(40));
    Mouse(WM_MOUSEMOVE, AtSample(25));
    AfxTestPumpUntil([] { return false; }, 300);
    const std::string text(path);
    EXPECT_TRUE(AfxTestSaveScreenshot(decibar->Frame(), std::wstring(text.begin(), text.end())));
}

} // namespace
