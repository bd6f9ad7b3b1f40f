// Real-time recording in the main window, with a meter played on a
// pseudo-terminal: Run, Stop, Clear Data, Setup, the sampling tick and what
// ends a recording.
#include "file_dialogs.h"
#include "view_test_access.h"
#include "live_fixture.h"

#include "meterapp/graphics_btn.h"
#include "meterapp/rt_setup_dlg.h"
#include "resource.h"
#include "afx/win_codes.h"

#include <graph/geometry.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

namespace {

using namespace livetest;
using Clock = std::chrono::steady_clock;

constexpr int kPort = 3;

// A meter that sends a frame every 50 ms with the level and weighting the
// test sets, 0xFF bytes instead while it holds, and nothing while silent.
class Meter {
public:
    explicit Meter(FakeMeterLine& line) : m_line(line)
    {
        m_thread = std::thread([this] {
            while (m_running) {
                if (m_hold) {
                    m_line.Write({ 0xFF });
                } else if (!m_silent) {
                    const Shown shown = m_shown;
                    Bytes frame = LiveFrame(shown.tenths);
                    frame[7] = shown.weightingA ? 0x1B : 0x1C;
                    m_line.Write(frame);
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
        });
    }
    ~Meter()
    {
        m_running = false;
        m_thread.join();
    }
    // Level and weighting change together, as one frame shows them.
    struct Shown {
        int tenths;
        bool weightingA;
    };
    std::atomic<Shown> m_shown { Shown { 653, true } };
    std::atomic<bool> m_hold { false };
    std::atomic<bool> m_silent { false };

private:
    FakeMeterLine& m_line;
    std::atomic<bool> m_running { true };
    std::thread m_thread;
};

class Recording : public ::testing::Test {
protected:
    Recording() : line(ports.Dir(), kPort, BridgeName(kPort)), meter(line) {}

    void SetUp() override
    {
        decibar = std::make_unique<DecibarInstance>();
        view = decibar->View();
        ASSERT_NE(view, nullptr);
        ASSERT_TRUE(PumpUntil([&] { return DecibarViewTestAccess::Connected(view).load(); }, 10000));
    }
    void TearDown() override
    {
        // Whatever a test answered, closing answers as the instance does.
        AnswerFileDialogs(*decibar, [](const CFileDialog&) { return std::wstring(); });
        decibar->modal.messageBoxAnswer = IDNO;
        if (view && DecibarViewTestAccess::Recording(view))
            decibar->Command(ID_REALTIME_STOP);
        meter.m_hold = false;
        meter.m_silent = false;
        decibar.reset();
    }

    int Count() const { return static_cast<int>(g_pRealTimeRecords->GetSize()); }
    CString Text(int id)
    {
        CString text;
        view->GetDlgItemText(id, text);
        return text;
    }
    CComboBox* Rates() { return static_cast<CComboBox*>(view->GetDlgItem(IDC_RATE)); }
    void RunAt(int rateIndex)
    {
        Rates()->SetCurSel(rateIndex);
        decibar->Command(ID_REALTIME_RUN);
    }
    // The Real Time menu's item at a position is enabled.
    bool ItemEnabled(int position)
    {
        CMenu* realTime = decibar->Frame()->GetMenu()->GetSubMenu(1);
        return (AfxTestMenuState(realTime, static_cast<UINT>(position), MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED)) == 0;
    }
    void Wait(int ms)
    {
        AfxTestPumpUntil([] { return false; }, ms);
    }
    void AddOldRecords(int n)
    {
        for (int i = 0; i < n; ++i)
            g_pRealTimeRecords->Add(new CObjData(50 + i, L"01-02-2017,10:00:00", L"dBA", 0, 0.5));
    }

    PrivatePorts ports;
    FakeMeterLine line;
    Meter meter;
    std::unique_ptr<DecibarInstance> decibar;
    CDecibarView* view = nullptr;
};

TEST_F(Recording, SamplesAtTheChosenIntervalWithTheStatisticsOfEverySample)
{
    RunAt(0); // 0.1 s
    ASSERT_TRUE(DecibarViewTestAccess::Recording(view));
    EXPECT_TRUE(GraphOf(view).m_bRunning);
    EXPECT_DOUBLE_EQ(DecibarViewTestAccess::Stat(view).interval, 0.1);
    EXPECT_FALSE(AfxTestWindowEnabled(Rates()));
    for (int position : { 0, 2, 3 })
        EXPECT_FALSE(ItemEnabled(position)) << position;
    EXPECT_TRUE(ItemEnabled(1));

    ASSERT_TRUE(PumpUntil([&] { return Count() >= 8; }, 5000));
    meter.m_shown = Meter::Shown { 800, false };
    ASSERT_TRUE(PumpUntil([&] { return Count() >= 12 && RecordAt(*g_pRealTimeRecords, Count() - 1)->m_dValue == 80.0; }, 5000));
    meter.m_shown = Meter::Shown { 300, false };
    ASSERT_TRUE(PumpUntil([&] { return Count() >= 30 && RecordAt(*g_pRealTimeRecords, Count() - 1)->m_dValue == 30.0; }, 8000));
    const auto started = Clock::now();
    const int before = Count();
    Wait(1000);
    const int taken = Count() - before;
    const double seconds = std::chrono::duration<double>(Clock::now() - started).count();
    EXPECT_GE(taken, 5);
    EXPECT_LE(taken, seconds * 10 + 1);

    decibar->Command(ID_REALTIME_STOP);
    EXPECT_FALSE(DecibarViewTestAccess::Recording(view));
    EXPECT_TRUE(AfxTestWindowEnabled(Rates()));
    for (int position : { 0, 2, 3 })
        EXPECT_TRUE(ItemEnabled(position)) << position;
    const int stopped = Count();
    Wait(400);
    EXPECT_EQ(Count(), stopped);

    // The texts and the statistics follow every sample, with the strict rules.
    double max = 0, min = 150, sum = 0;
    CString maxTime, minTime;
    for (int i = 0; i < stopped; ++i) {
        const CObjData* r = RecordAt(*g_pRealTimeRecords, i);
        if (r->m_dValue > max) {
            max = r->m_dValue;
            maxTime = r->m_strDateTime;
        }
        if (r->m_dValue < min) {
            min = r->m_dValue;
            minTime = r->m_strDateTime;
        }
        sum += r->m_dValue;
        // Level and weighting of one and the same frame.
        EXPECT_EQ(r->m_strUnit, CString(r->m_dValue == 65.3 ? L"dBA" : L"dBC")) << i;
        EXPECT_DOUBLE_EQ(r->m_dInterval, 0.1);
    }
    CString text;
    text.Format(L"%d", stopped);
    EXPECT_EQ(Text(IDC_DATA_COUNT), text);
    EXPECT_EQ(Text(IDC_START_TIME), RecordAt(*g_pRealTimeRecords, 0)->m_strDateTime);
    EXPECT_EQ(Text(IDC_MAX_VALUE), CString(L"80.0"));
    EXPECT_EQ(Text(IDC_MAX_TIME), maxTime);
    EXPECT_EQ(Text(IDC_MIN_VALUE), CString(L"30.0"));
    EXPECT_EQ(Text(IDC_MIN_TIME), minTime);
    text.Format(L"%.2f", sum / stopped);
    EXPECT_EQ(Text(IDC_AVERAGE), text);
    EXPECT_EQ(DecibarViewTestAccess::Stat(view).maxUnit, CString(L"dBC"));
    // The unzoomed graph widened to keep the whole recording in view.
    EXPECT_GE(GraphOf(view).m_dXMax, stopped - 1);
}

TEST_F(Recording, HoldOnTheMeterEndsTheRecordingWithEveryRecordKept)
{
    RunAt(0);
    ASSERT_TRUE(PumpUntil([&] { return Count() >= 5; }, 5000));
    meter.m_hold = true;
    ASSERT_TRUE(PumpUntil([&] { return !DecibarViewTestAccess::Recording(view); }, 5000));
    const int kept = Count();
    EXPECT_GE(kept, 5);
    Wait(500);
    EXPECT_EQ(Count(), kept);
    EXPECT_TRUE(AfxTestWindowEnabled(Rates()));
    EXPECT_TRUE(ItemEnabled(3));
    meter.m_hold = false;
}

TEST_F(Recording, ALostLinkEndsTheRecordingWithEveryRecordKept)
{
    RunAt(0);
    ASSERT_TRUE(PumpUntil([&] { return Count() >= 5; }, 5000));
    meter.m_silent = true;
    const auto silentFrom = Clock::now();
    ASSERT_TRUE(PumpUntil([&] { return !DecibarViewTestAccess::Recording(view); }, 6000));
    EXPECT_LT(std::chrono::duration<double>(Clock::now() - silentFrom).count(), 4.5);
    EXPECT_FALSE(DecibarViewTestAccess::Connected(view));
    const int kept = Count();
    EXPECT_GE(kept, 5);
    Wait(1500); // more watchdog ticks of the same silence: no message
    EXPECT_EQ(Count(), kept);
    EXPECT_TRUE(decibar->modal.requests.empty());
    meter.m_silent = false;
}

TEST_F(Recording, SetupStartsARecordingThatEndsWithExactlyItsDataPoints)
{
    AfxTestSetModalAnswerer([&](const AfxModalRequest& request) {
        decibar->modal.requests.push_back(request);
        if (request.kind != AfxModalRequest::Dialog)
            return static_cast<int>(IDOK);
        CDialog* dialog = request.dialog;
        AfxTestTypeText(dialog->GetDlgItem(IDC_DATA_POINTS), L"7");
        AfxTestChooseItem(dialog->GetDlgItem(IDC_RATE), 0);
        dialog->SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return AfxTestModalRunning(dialog) ? static_cast<int>(IDCANCEL) : static_cast<int>(IDOK);
    });
    decibar->Command(ID_REALTIME_SETUP);
    ASSERT_EQ(decibar->modal.requests.size(), 1u);
    EXPECT_EQ(DecibarViewTestAccess::MaxSamples(view), 7);
    EXPECT_EQ(Rates()->GetCurSel(), 0);
    ASSERT_TRUE(DecibarViewTestAccess::Recording(view));
    ASSERT_TRUE(PumpUntil([&] { return !DecibarViewTestAccess::Recording(view); }, 5000));
    EXPECT_EQ(Count(), 7);
    EXPECT_EQ(Text(IDC_DATA_COUNT), CString(L"7"));
    Wait(300);
    EXPECT_EQ(Count(), 7);
}

TEST_F(Recording, SetupCancelledChangesNothing)
{
    AfxTestSetModalAnswerer([&](const AfxModalRequest& request) {
        decibar->modal.requests.push_back(request);
        if (request.kind == AfxModalRequest::Dialog) {
            AfxTestTypeText(request.dialog->GetDlgItem(IDC_DATA_POINTS), L"12");
            AfxTestChooseItem(request.dialog->GetDlgItem(IDC_RATE), 9);
        }
        return static_cast<int>(IDCANCEL);
    });
    decibar->Command(ID_REALTIME_SETUP);
    EXPECT_EQ(decibar->modal.requests.size(), 1u);
    EXPECT_EQ(DecibarViewTestAccess::MaxSamples(view), 40000);
    EXPECT_EQ(Rates()->GetCurSel(), 2);
    EXPECT_FALSE(DecibarViewTestAccess::Recording(view));
}

TEST_F(Recording, RunAndSetupDoNothingWithoutALink)
{
    meter.m_silent = true;
    ASSERT_TRUE(PumpUntil([&] { return !DecibarViewTestAccess::Connected(view); }, 6000));
    AddOldRecords(3);
    decibar->Command(ID_REALTIME_RUN);
    decibar->Command(ID_REALTIME_SETUP);
    EXPECT_FALSE(DecibarViewTestAccess::Recording(view));
    EXPECT_TRUE(decibar->modal.requests.empty());
    EXPECT_EQ(Count(), 3);
    meter.m_silent = false;
}

TEST_F(Recording, RunAfterASaveThatDidNotWriteKeepsTheRecordsAndStartsNothing)
{
    AddOldRecords(4);
    AnswerFileDialogs(*decibar, [](const CFileDialog&) { return std::wstring(); }); // cancels
    decibar->modal.messageBoxAnswer = IDYES;
    RunAt(0);
    ASSERT_FALSE(decibar->modal.requests.empty());
    EXPECT_EQ(decibar->modal.requests[0].text, L"Save Current Data?");
    EXPECT_EQ(decibar->modal.requests[0].caption, L"Tip");
    EXPECT_FALSE(DecibarViewTestAccess::Recording(view));
    EXPECT_EQ(Count(), 4);

    // A save into a folder that does not exist fails the same way.
    testutil::TempDir dir;
    const std::string nowhere = dir.path() + "/missing/data.txt";
    AnswerFileDialogs(*decibar, [&](const CFileDialog&) { return std::wstring(nowhere.begin(), nowhere.end()); });
    RunAt(0);
    EXPECT_FALSE(DecibarViewTestAccess::Recording(view));
    EXPECT_EQ(Count(), 4);

    // Written: the old records go and the recording starts afresh.
    const std::string saved = dir.path() + "/data.txt";
    AnswerFileDialogs(*decibar, [&](const CFileDialog&) { return std::wstring(saved.begin(), saved.end()); });
    RunAt(0);
    EXPECT_TRUE(std::filesystem::exists(saved));
    EXPECT_TRUE(DecibarViewTestAccess::Recording(view));
    EXPECT_LE(Count(), 1);
    ASSERT_TRUE(PumpUntil([&] { return Count() >= 1; }, 3000));
    EXPECT_DOUBLE_EQ(RecordAt(*g_pRealTimeRecords, 0)->m_dValue, 65.3);
}

TEST_F(Recording, RunAnsweredNoDropsTheRecordsAndStartsAtOne)
{
    AddOldRecords(4);
    DecibarViewTestAccess::Stat(view).max = 99;
    decibar->modal.messageBoxAnswer = IDNO;
    RunAt(2);
    ASSERT_EQ(decibar->modal.requests.size(), 1u);
    EXPECT_TRUE(DecibarViewTestAccess::Recording(view));
    EXPECT_EQ(Count(), 0);
    EXPECT_DOUBLE_EQ(DecibarViewTestAccess::Stat(view).max, 0);
    EXPECT_TRUE(Text(IDC_DATA_COUNT).IsEmpty());
    ASSERT_TRUE(PumpUntil([&] { return Count() == 1; }, 3000));
    EXPECT_EQ(Text(IDC_DATA_COUNT), CString(L"1"));
    EXPECT_EQ(Text(IDC_AVERAGE), CString(L"65.30"));
    EXPECT_EQ(GraphOf(view).m_dXMax, 20);
}

TEST_F(Recording, ClearDataAsksAndEmptiesTheRecordsTheCountAndTheZoomedGraph)
{
    CGraphicsBtn& graph = GraphOf(view);
    const CString unzoomedTop = Text(IDC_Y_LABEL_FIRST + 10);
    auto curveShown = [&] {
        for (int y = PLOT_TOP + 1; y < PLOT_TOP + graph.m_nPlotHeight; ++y)
            for (int x = PLOT_LEFT + 1; x < PLOT_LEFT + graph.m_nPlotWidth; ++x)
                if (AfxTestReadPixel(&graph, x, y) == RGB(255, 255, 0))
                    return true;
        return false;
    };
    RunAt(0);
    ASSERT_TRUE(PumpUntil([&] { return Count() >= 3; }, 5000));
    decibar->Command(ID_REALTIME_STOP);
    const int kept = Count();
    // Zoomed into the recording's first samples.
    const CPoint from(PLOT_LEFT + 2, graph::LevelY(graph, 90)), to(graph::SampleX(graph, 2), graph::LevelY(graph, 40));
    graph.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
    graph.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
    graph.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
    ASSERT_EQ(graph.m_dZoomed, 1.0);
    ASSERT_TRUE(curveShown());
    decibar->modal.messageBoxAnswer = IDCANCEL;
    decibar->Command(ID_REALTIME_CLEAR);
    ASSERT_EQ(decibar->modal.requests.size(), 1u);
    EXPECT_EQ(decibar->modal.requests[0].text, L"Clear data?");
    EXPECT_EQ(decibar->modal.requests[0].caption, L"Tips");
    EXPECT_EQ(Count(), kept);
    decibar->modal.messageBoxAnswer = IDOK;
    decibar->Command(ID_REALTIME_CLEAR);
    EXPECT_EQ(Count(), 0);
    EXPECT_TRUE(Text(IDC_DATA_COUNT).IsEmpty());
    EXPECT_FALSE(Text(IDC_AVERAGE).IsEmpty()); // the other texts stay until the next sample
    EXPECT_DOUBLE_EQ(DecibarViewTestAccess::Stat(view).min, 150);
    // The graph is laid out anew: no curve, no zoom.
    EXPECT_FALSE(curveShown());
    EXPECT_EQ(graph.m_dZoomed, 0.0);
    EXPECT_EQ(graph.m_dXStart, 0.0);
    EXPECT_EQ(graph.m_dYOffset, 0.0);
    EXPECT_EQ(Text(IDC_Y_LABEL_FIRST + 10), unzoomedTop);
}

TEST_F(Recording, RunAndStopFollowTheUpdateHandlersWhileTheOtherItemsStayGrayed)
{
    CMainFrame* frame = decibar->Frame();
    RunAt(0);
    AfxTestUpdateMenuPopup(frame, 1); // what opening the menu does
    EXPECT_FALSE(ItemEnabled(0));
    EXPECT_TRUE(ItemEnabled(1));
    EXPECT_FALSE(ItemEnabled(2));
    EXPECT_FALSE(ItemEnabled(3));
    AfxTestUpdateButtons(AfxTestToolBar(frame));
    EXPECT_FALSE(AfxTestButtonEnabled(AfxTestToolBar(frame), ID_REALTIME_RUN));
    EXPECT_TRUE(AfxTestButtonEnabled(AfxTestToolBar(frame), ID_REALTIME_STOP));
    decibar->Command(ID_REALTIME_STOP);
    AfxTestUpdateMenuPopup(frame, 1);
    EXPECT_TRUE(ItemEnabled(0));
    EXPECT_FALSE(ItemEnabled(1));
    EXPECT_TRUE(ItemEnabled(2));
    EXPECT_TRUE(ItemEnabled(3));
}

TEST_F(Recording, ResizingTheWindowDuringARecordingKeepsEverySampleInView)
{
    RunAt(0);
    ASSERT_TRUE(PumpUntil([&] { return Count() >= 25; }, 6000));
    ASSERT_TRUE(decibar->SetViewClientSize(900, 650));
    const int atResize = Count();
    ASSERT_TRUE(PumpUntil([&] { return Count() >= atResize + 10; }, 6000));
    ASSERT_TRUE(decibar->SetViewClientSize(1200, 900));
    ASSERT_TRUE(PumpUntil([&] { return Count() >= atResize + 20; }, 6000));
    CGraphicsBtn& graph = GraphOf(view);
    CRect window;
    graph.GetWindowRect(&window);
    EXPECT_EQ(graph.m_nPlotWidth, window.Width() - PLOT_MARGIN_WIDTH);
    EXPECT_EQ(graph.m_dZoomed, 0.0);
    EXPECT_GE(graph.m_dXMax, Count() - 1);
    EXPECT_TRUE(DecibarViewTestAccess::Recording(view));
}

// The reader thread sends Stop and waits for it while the user-interface
// thread closes the port, which waits for the reader thread: the layer runs
// the sent Stop inside that wait.
TEST_F(Recording, HoldWhileThePortIsReopenedNeitherHangsNorLosesTheStop)
{
    for (int round = 0; round < 6; ++round) {
        SCOPED_TRACE(round);
        meter.m_hold = false;
        ASSERT_TRUE(PumpUntil([&] { return DecibarViewTestAccess::Connected(view) && DecibarViewTestAccess::ReadingNow(view).hold == 0; }, 6000));
        decibar->modal.messageBoxAnswer = IDNO;
        RunAt(0);
        ASSERT_TRUE(DecibarViewTestAccess::Recording(view));
        meter.m_hold = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(round * 9));
        const auto reopenAt = Clock::now();
        EXPECT_TRUE(DecibarViewTestAccess::OpenMeterPort(view, kPort));
        EXPECT_LT(std::chrono::duration<double>(Clock::now() - reopenAt).count(), 3.0);
        ASSERT_TRUE(PumpUntil([&] { return !DecibarViewTestAccess::Recording(view); }, 6000));
        EXPECT_TRUE(AfxTestWindowEnabled(Rates()));
    }
    meter.m_hold = false;
    EXPECT_TRUE(PumpUntil([&] { return DecibarViewTestAccess::Connected(view) && DecibarViewTestAccess::ReadingNow(view).hold == 0; }, 6000));
}

TEST_F(Recording, ManualReopenDuringAHeldRecording)
{
    RunAt(0);
    ASSERT_TRUE(PumpUntil([&] { return Count() >= 2; }, 5000));
    AfxTestSetModalAnswerer([&](const AfxModalRequest& request) {
        if (request.kind == AfxModalRequest::Dialog) {
            meter.m_hold = true; // the meter holds while the user picks the port
            AfxTestTypeText(request.dialog->GetDlgItem(IDC_PORT_NUMBER), L"3");
            std::this_thread::sleep_for(std::chrono::milliseconds(120));
        }
        return static_cast<int>(IDOK);
    });
    decibar->Command(ID_COMPORT_MANUAL);
    ASSERT_TRUE(PumpUntil([&] { return !DecibarViewTestAccess::Recording(view); }, 6000));
    meter.m_hold = false;
    EXPECT_TRUE(PumpUntil([&] { return DecibarViewTestAccess::Connected(view) && DecibarViewTestAccess::ReadingNow(view).hold == 0; }, 6000));
    EXPECT_GE(Count(), 2);
}

} // namespace
