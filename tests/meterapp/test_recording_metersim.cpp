// A recording with the simulated meter, driven as a user drives it: the
// mouse is the real one of the X display (XTest), moved and clicked on the
// screen, so its events take the toolkit's whole way to the graph.
#include "live_fixture.h"
#include "view_test_access.h"

#include "meter_process.h"
#include "meterapp/graphics_btn.h"
#include "resource.h"

#include <graph/geometry.h>
#include <graph/grid.h>

#include <gtest/gtest.h>
#include <wx/uiaction.h>
#include <wx/window.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

using namespace livetest;
using metertest::MeterProcess;

const COLORREF kCurve = RGB(255, 255, 0);
const COLORREF kCursorA = RGB(110, 30, 200);
const COLORREF kCursorB = RGB(0, 255, 0);
const COLORREF kGrid = RGB(255, 0, 255);

class MeterRecording : public ::testing::Test {
protected:
    MeterRecording() : meter({ "--frame-ms", "100", "--seed", "11" })
    {
        std::string device;
        started = metertest::ReadPortLine(meter, number, device);
    }

    void SetUp() override
    {
        ASSERT_TRUE(started);
        decibar = std::make_unique<DecibarInstance>();
        view = decibar->View();
        ASSERT_TRUE(decibar->SetViewClientSize(1024, 768));
        ASSERT_TRUE(PumpUntil([&] { return DecibarViewTestAccess::Connected(view).load(); }, 10000));
    }
    void TearDown() override
    {
        if (view && DecibarViewTestAccess::Recording(view))
            decibar->Command(ID_REALTIME_STOP);
        decibar.reset();
    }

    CGraphicsBtn& Graph() { return GraphOf(view); }
    int Count() const { return static_cast<int>(g_pRealTimeRecords->GetSize()); }
    double Level(int i) const { return RecordAt(*g_pRealTimeRecords, i)->m_dValue; }
    CString Text(int id)
    {
        CString text;
        view->GetDlgItemText(id, text);
        return text;
    }
    void Wait(int ms) { AfxTestPumpUntil([] { return false; }, ms); }
    COLORREF Pixel(int x, int y) { return AfxTestReadPixel(&Graph(), x, y); }
    bool Near(int x, int y, COLORREF colour, int reach)
    {
        for (int dy = -reach; dy <= reach; ++dy)
            if (Pixel(x, y + dy) == colour)
                return true;
        return false;
    }
    int Hits(int x, COLORREF colour)
    {
        int hits = 0;
        for (int y = PLOT_TOP + 1; y < PLOT_TOP + Graph().m_nPlotHeight; ++y)
            hits += Pixel(x, y) == colour;
        return hits;
    }

    // The real pointer, in the graph's client coordinates.
    wxPoint Screen(CPoint at) { return AfxTestWx(&Graph())->ClientToScreen(wxPoint(at.x, at.y)); }
    void MoveTo(CPoint at)
    {
        user.MouseMove(Screen(at));
        Wait(60);
    }
    void ClickAt(CPoint at)
    {
        MoveTo(at);
        user.MouseClick();
        Wait(120);
    }
    void DoubleClickAt(CPoint at)
    {
        MoveTo(at);
        user.MouseDblClick();
        Wait(120);
    }
    void DragFromTo(CPoint from, CPoint to)
    {
        MoveTo(from);
        user.MouseDown();
        Wait(60);
        MoveTo(CPoint((from.x + to.x) / 2, (from.y + to.y) / 2));
        MoveTo(to);
        user.MouseUp();
        Wait(150);
    }
    CPoint AtSample(int i, int y = 100) { return CPoint(graph::SampleX(Graph(), i), y); }

    PrivatePorts ports;
    MeterProcess meter;
    bool started = false;
    int number = 0;
    std::unique_ptr<DecibarInstance> decibar;
    CDecibarView* view = nullptr;
    wxUIActionSimulator user;
};

TEST_F(MeterRecording, TheGraphGrowsAZoomScrollsAndCursorsMeasureBetweenThem)
{
    static_cast<CComboBox*>(view->GetDlgItem(IDC_RATE))->SetCurSel(0);
    decibar->Command(ID_REALTIME_RUN);
    ASSERT_TRUE(DecibarViewTestAccess::Recording(view));
    ASSERT_TRUE(PumpUntil([&] { return Count() >= 40; }, 15000));
    CString count;
    count.Format(L"%d", Count());
    EXPECT_EQ(Text(IDC_DATA_COUNT), count);
    EXPECT_GE(Graph().m_dXMax, Count() - 1); // widened by fifteenths, start still at 0
    EXPECT_EQ(Graph().m_dXStart, 0);

    // A drag over the middle of the plot zooms into it; the recording then
    // scrolls one sample per draw while its newest sample is beyond the edge.
    const CString topLabel = Text(IDC_Y_LABEL_FIRST + 10);
    const CString bottomLabel = Text(IDC_Y_LABEL_FIRST);
    const int w = Graph().m_nPlotWidth, h = Graph().m_nPlotHeight;
    DragFromTo(CPoint(PLOT_LEFT + w / 3, PLOT_TOP + h / 5), CPoint(PLOT_LEFT + w * 2 / 3, PLOT_TOP + h * 4 / 5));
    ASSERT_EQ(Graph().m_dZoomed, 1.0);
    EXPECT_NE(Text(IDC_Y_LABEL_FIRST + 10), topLabel);
    EXPECT_NE(Text(IDC_Y_LABEL_FIRST), bottomLabel);
    const double startAfterZoom = Graph().m_dXStart;
    const int countAfterZoom = Count();
    ASSERT_TRUE(PumpUntil([&] { return Count() >= countAfterZoom + 10; }, 5000));
    EXPECT_GE(Graph().m_dXStart, startAfterZoom + 5);
    EXPECT_EQ(Graph().m_dXMax, Count() - 1);

    decibar->Command(ID_REALTIME_STOP);
    AfxTestClickButton(view->GetDlgItem(IDC_UNDO_ZOOM));
    ASSERT_EQ(Graph().m_dZoomed, 0.0);
    EXPECT_EQ(Text(IDC_Y_LABEL_FIRST + 10), topLabel);
    Wait(200);

    // The curve through the samples, the grid over it.
    const int n = Count();
    int segmentsSeen = 0;
    for (int i = 2; i + 1 < n; i += 7) {
        const int x0 = graph::SampleX(Graph(), i), x1 = graph::SampleX(Graph(), i + 1);
        const int y0 = graph::LevelY(Graph(), Level(i)), y1 = graph::LevelY(Graph(), Level(i + 1));
        const int x = (x0 + x1) / 2;
        segmentsSeen += Near(x, y0 + (y1 - y0) * (x - x0) / std::max(1, x1 - x0), kCurve, 2);
    }
    EXPECT_GE(segmentsSeen, 4);
    EXPECT_GT(Hits(graph::GridLineX(w, 7), kGrid), h / 5); // dotted

    // Cursors: a double click, then A at sample 5 and B at sample 20.
    DoubleClickAt(AtSample(12));
    ASSERT_EQ(Graph().m_nMode, GRAPH_MODE_CURSOR_A);
    ClickAt(AtSample(5));
    ASSERT_EQ(Graph().m_nCursorA, 5);
    ClickAt(AtSample(20));
    ASSERT_EQ(Graph().m_nCursorB, 20);
    CString text;
    text.Format(L"%.1f", Level(5));
    EXPECT_EQ(Text(IDC_CURSOR_A_VALUE), text);
    text.Format(L"%.1f", Level(20));
    EXPECT_EQ(Text(IDC_CURSOR_B_VALUE), text);
    EXPECT_EQ(Text(IDC_AB_QUANTITY), CString(L"16"));
    double sum = 0, max = 0;
    for (int i = 5; i <= 20; ++i) {
        sum += Level(i);
        max = std::max(max, Level(i));
    }
    text.Format(L"%.1f", sum / 16);
    EXPECT_EQ(Text(IDC_AB_AVERAGE), text);
    text.Format(L"%.1f", max);
    EXPECT_EQ(Text(IDC_AB_MAX_VALUE), text);
    EXPECT_EQ(Text(IDC_CURSOR_A_TIME), RecordAt(*g_pRealTimeRecords, 5)->m_strDateTime);
    // Their lines: 2 px wide about the cursor's x.
    const int ax = graph::CursorX(Graph(), 5), bx = graph::CursorX(Graph(), 20);
    EXPECT_GT(Hits(ax - 1, kCursorA) + Hits(ax, kCursorA) + Hits(ax + 1, kCursorA), h / 2);
    EXPECT_GT(Hits(bx - 1, kCursorB) + Hits(bx, kCursorB) + Hits(bx + 1, kCursorB), h / 2);

    // Hovering shows the sample under the pointer.
    MoveTo(AtSample(9, PLOT_TOP + h / 2));
    text.Format(L"%.1f", Level(9));
    EXPECT_EQ(Text(IDC_HOVER_VALUE), text + RecordAt(*g_pRealTimeRecords, 9)->m_strUnit);

    const char* path = std::getenv("DECIBAR_RECORDING_SCREENSHOT");
    if (path) {
        // Zoomed about the cursors, the bars show where the view lies.
        DragFromTo(CPoint(AtSample(2).x, graph::LevelY(Graph(), 80)), CPoint(AtSample(30).x, graph::LevelY(Graph(), 30)));
        EXPECT_EQ(Graph().m_dZoomed, 1.0);
        Wait(300);
        const std::string file(path);
        EXPECT_TRUE(AfxTestSaveScreenshot(decibar->Frame(), std::wstring(file.begin(), file.end())));
    }
}

TEST_F(MeterRecording, ALostLinkAndHoldEndARecordingWithEveryRecordKept)
{
    static_cast<CComboBox*>(view->GetDlgItem(IDC_RATE))->SetCurSel(0);
    decibar->Command(ID_REALTIME_RUN);
    ASSERT_TRUE(PumpUntil([&] { return Count() >= 10; }, 10000));
    meter.Send("silent on");
    ASSERT_TRUE(PumpUntil([&] { return !DecibarViewTestAccess::Recording(view); }, 8000));
    const int kept = Count();
    Wait(500);
    EXPECT_EQ(Count(), kept);
    meter.Send("silent off");
    ASSERT_TRUE(PumpUntil([&] { return DecibarViewTestAccess::Connected(view).load(); }, 8000));

    decibar->modal.messageBoxAnswer = IDNO; // "Save Current Data?"
    decibar->Command(ID_REALTIME_RUN);
    ASSERT_TRUE(DecibarViewTestAccess::Recording(view));
    ASSERT_TRUE(PumpUntil([&] { return Count() >= 10; }, 10000));
    // The meter's Stop key puts it on HOLD: it sends 0xFF and the recording ends.
    AfxTestClickButton(&KeyOf(view, IDC_KEY_STOP));
    ASSERT_TRUE(PumpUntil([&] { return !DecibarViewTestAccess::Recording(view); }, 8000));
    EXPECT_TRUE(PumpUntil([&] { return DecibarViewTestAccess::ReadingNow(view).hold == 1; }, 3000));
    const int held = Count();
    EXPECT_GE(held, 10);
    Wait(500);
    EXPECT_EQ(Count(), held);
}

// A window busy for 5 s, as a long print keeps it, dispatching nothing: the
// reader goes on counting the meter's bytes meanwhile, so afterwards the link
// is up, the recording runs and the face shows the reading again at once.
// The frames that came meanwhile ask for one redraw, not one each.
TEST_F(MeterRecording, AWindowBusyForFiveSecondsKeepsTheLinkAndTheRecording)
{
    static_cast<CComboBox*>(view->GetDlgItem(IDC_RATE))->SetCurSel(0);
    decibar->Command(ID_REALTIME_RUN);
    ASSERT_TRUE(PumpUntil([&] { return Count() >= 10; }, 10000));

    const auto before = DecibarViewTestAccess::LiveCounts(view);
    std::this_thread::sleep_for(std::chrono::seconds(5));
    const auto busy = DecibarViewTestAccess::LiveCounts(view);
    const int counted = Count();
    EXPECT_GE(busy.chunks - before.chunks, 20u) << "the reader waited for the window";

    EXPECT_TRUE(PumpUntil([&] {
        return DecibarViewTestAccess::LiveCounts(view).drawings > busy.drawings && DecibarViewTestAccess::FaceIsCurrent(view);
    }, 1000));
    Wait(1500); // the watchdog's tick has judged the link
    EXPECT_TRUE(DecibarViewTestAccess::Connected(view).load());
    EXPECT_TRUE(DecibarViewTestAccess::Recording(view).load());
    EXPECT_TRUE(PumpUntil([&] { return Count() >= counted + 10; }, 5000)) << Count() - counted;
    EXPECT_TRUE(DecibarViewTestAccess::Recording(view).load());
    const auto after = DecibarViewTestAccess::LiveCounts(view);
    RecordProperty("chunks_while_busy", std::to_string(busy.chunks - before.chunks));
    RecordProperty("chunks_after", std::to_string(after.chunks - busy.chunks));
    RecordProperty("redraws_after", std::to_string(after.redrawsAsked - busy.redrawsAsked));
    RecordProperty("records_after", std::to_string(Count() - counted));
    EXPECT_LE(after.redrawsAsked - busy.redrawsAsked, static_cast<int>(after.chunks - busy.chunks) + 2);
}

} // namespace
