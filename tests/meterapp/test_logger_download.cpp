// The logger download in a real window over a pseudo-terminal meter: the
// request, the wait box, the records, and every way a download can end.
#include "live_fixture.h"
#include "view_test_access.h"
#include "logger_meter.h"

#include "meterapp/datalog_dlg.h"
#include "meterapp/messages.h"
#include "resource.h"
#include "afx/win_codes.h"

#include <gtest/gtest.h>

#include <atomic>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <thread>

namespace {

using namespace livetest;
using namespace std::chrono_literals;

class LoggerDownload : public ::testing::Test {
protected:
    LoggerDownload() : line(ports.Dir(), 6, BridgeName(6)), meter(line) {}

    void SetUp() override
    {
        decibar = std::make_unique<DecibarInstance>();
        view = decibar->View();
        viewWindow = view->GetSafeHwnd();
        // The wait box stays up until the program closes it.
        AfxTestSetModalAnswerer([this](const AfxModalRequest& request) {
            std::lock_guard<std::mutex> lock(boxesLock);
            boxes.push_back(request);
            if (request.kind == AfxModalRequest::MessageBox)
                return static_cast<int>(IDOK);
            if (request.dialog && AfxTestTemplateId(request.dialog) == IDD_LOGSTATE) {
                waitBox = request.dialog->GetSafeHwnd();
                std::this_thread::sleep_for(busyWhenTheBoxShows);
                return 0;
            }
            return static_cast<int>(IDCANCEL);
        });
        ASSERT_TRUE(PumpUntil([&] { return DecibarViewTestAccess::Connected(view).load(); }, 10000));
    }

    void TearDown() override { decibar.reset(); }

    int Count(AfxModalRequest::Kind kind, const std::wstring& text = std::wstring())
    {
        std::lock_guard<std::mutex> lock(boxesLock);
        int n = 0;
        for (const AfxModalRequest& r : boxes)
            if (r.kind == kind && (text.empty() || r.text == text))
                ++n;
        return n;
    }

    int WaitBoxes()
    {
        std::lock_guard<std::mutex> lock(boxesLock);
        int n = 0;
        for (const AfxModalRequest& r : boxes)
            if (r.kind == AfxModalRequest::Dialog && r.dialog && AfxTestTemplateId(r.dialog) == IDD_LOGSTATE)
                ++n;
        return n;
    }

    CObjData* Logged(INT_PTR i) { return RecordAt(*g_pLogRecords, i); }

    // The DATALOGGER window is up, listing no recording and drawing none.
    void ExpectEmptyLoggedDataWindow()
    {
        CDataLogDlg* window = DecibarViewTestAccess::LoggedDataWindow(view);
        ASSERT_NE(window, nullptr);
        ASSERT_NE(window->GetSafeHwnd(), nullptr);
        EXPECT_TRUE(window->IsWindowVisible());
        EXPECT_EQ(window->m_list.GetItemCount(), 0);
        EXPECT_EQ(window->m_pRecords->GetSize(), 0);
    }

    PrivatePorts ports;
    FakeMeterLine line;
    LoggerMeter meter;
    std::unique_ptr<DecibarInstance> decibar;
    CDecibarView* view = nullptr;
    // Windows the meter's thread reaches: handles taken on the user-interface thread.
    std::atomic<HWND> viewWindow { nullptr };
    std::atomic<HWND> waitBox { nullptr };
    std::mutex boxesLock;
    std::vector<AfxModalRequest> boxes;
    // The window is busy for so long, dispatching nothing, as the box comes up.
    std::chrono::milliseconds busyWhenTheBoxShows { 0 };
};

TEST_F(LoggerDownload, RequestsUntilTheReplyAndKeepsTheRecordsOfItsBlocks)
{
    g_pLogRecords->Add(new CObjData(1, L"from an earlier file", L"dBA", 0, 1));
    // The rest of the reply waits until the program has seen its header and
    // the requests written before have passed: from then on the line is quiet.
    // Every wait ends well within the 2 s of silence after which the link
    // counts as lost.
    std::atomic<bool> headerSeen { false };
    std::atomic<int> requestsAfterHeader { -2 };
    std::atomic<bool> hookDone { false };
    meter.Reply({ { Slice(kExampleReply, 0, 1), 0ms, {} }, { Slice(kExampleReply, 1, 9), 30ms, {} },
        { Slice(kExampleReply, 9, 17), 30ms, [&] {
             for (int i = 0; i < 100 && DecibarViewTestAccess::LogMode(view) && !DecibarViewTestAccess::LogReplySeen(view); ++i)
                 std::this_thread::sleep_for(10ms);
             headerSeen = DecibarViewTestAccess::LogReplySeen(view);
             requestsAfterHeader = meter.RequestsAfterQuiet(100ms, 1s, 300ms);
             hookDone = true;
         } } });
    decibar->Command(ID_DATALOGGER);
    ASSERT_TRUE(PumpUntil([&] { return hookDone.load(); }, 10000));

    EXPECT_GE(meter.requestsSeen.load(), 1);
    EXPECT_TRUE(headerSeen);
    EXPECT_EQ(requestsAfterHeader.load(), 0) << "-1: the requests went on after the header";
    EXPECT_EQ(WaitBoxes(), 1);
    EXPECT_EQ(Count(AfxModalRequest::MessageBox), 0);
    EXPECT_FALSE(DecibarViewTestAccess::LogMode(view));
    ASSERT_EQ(g_pLogRecords->GetSize(), 2);
    EXPECT_DOUBLE_EQ(Logged(0)->m_dValue, 65.3);
    EXPECT_EQ(Logged(0)->m_strDateTime, L"15-06-2011,13:30:00");
    EXPECT_DOUBLE_EQ(Logged(1)->m_dValue, 70.1);
    EXPECT_EQ(Logged(1)->m_strDateTime, L"15-06-2011,13:30:02");
    EXPECT_EQ(Logged(1)->m_strUnit, L"dBA");
    EXPECT_EQ(Logged(1)->m_nRecordSet, 1);
    EXPECT_DOUBLE_EQ(Logged(1)->m_dInterval, 2.0);

    // The frames that follow the reply are live again.
    AfxTestPumpUntil([] { return false; }, 300);
    EXPECT_TRUE(DecibarViewTestAccess::Connected(view));
}

TEST_F(LoggerDownload, AnEmptyLoggerEndsAtOnceWithoutRecordsInAnEmptyWindow)
{
    g_pLogRecords->Add(new CObjData(1, L"old", L"dBA", 1, 1));
    meter.Reply({ { { 0xBB, 0x00, 0x64, 0xDD }, 0ms, {} } });
    decibar->Command(ID_DATALOGGER);
    EXPECT_EQ(g_pLogRecords->GetSize(), 0);
    EXPECT_EQ(Count(AfxModalRequest::MessageBox), 0);
    EXPECT_FALSE(DecibarViewTestAccess::LogMode(view));
    ExpectEmptyLoggedDataWindow();
}

TEST_F(LoggerDownload, AStalledDownloadIsEndedByTheWatchdogWithOneErrorAndLiveReadingReturns)
{
    meter.Reply({ { Slice(kExampleReply, 0, 12), 0ms, {} } }, /*silentAfter=*/true);
    const auto start = std::chrono::steady_clock::now();
    decibar->Command(ID_DATALOGGER);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
    EXPECT_EQ(Count(AfxModalRequest::MessageBox, L"Occur an error"), 1);
    EXPECT_EQ(g_pLogRecords->GetSize(), 0);
    EXPECT_FALSE(DecibarViewTestAccess::LogMode(view));

    meter.silent = false;
    ASSERT_TRUE(PumpUntil([&] { return DecibarViewTestAccess::Connected(view).load(); }, 5000));
    AfxTestPumpUntil([] { return false; }, 3000);
    EXPECT_EQ(Count(AfxModalRequest::MessageBox), 1) << "the error is shown once";
}

// The reply arrives while the window is busy for 3 s: the reader goes on
// taking its bytes, so the link stays up and the download keeps its records.
TEST_F(LoggerDownload, AWindowBusyWhileTheReplyArrivesEndsTheDownloadWithItsRecords)
{
    std::vector<LoggerMeter::Piece> pieces { { Slice(kExampleReply, 0, 3), 0ms, {} } };
    for (size_t at = 3; at < kExampleReply.size(); ++at)
        pieces.push_back({ Slice(kExampleReply, at, at + 1), 250ms, {} });
    meter.Reply(pieces);
    busyWhenTheBoxShows = 3s;
    decibar->Command(ID_DATALOGGER);
    EXPECT_EQ(Count(AfxModalRequest::MessageBox), 0);
    EXPECT_EQ(g_pLogRecords->GetSize(), 2);
    EXPECT_TRUE(DecibarViewTestAccess::Connected(view));
}

TEST_F(LoggerDownload, EscAbandonsTheDownloadForAnEmptyWindowAndItsLaterBytesAreLiveData)
{
    // What Esc does in the box.
    meter.Reply({ { Slice(kExampleReply, 0, 12), 0ms, {} },
        { {}, 100ms, [this] {
             for (int i = 0; i < 500 && !waitBox; ++i)
                 std::this_thread::sleep_for(10ms);
             ::SendMessage(waitBox, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
         } },
        { Slice(kExampleReply, 12, 17), 50ms, {} } });
    decibar->Command(ID_DATALOGGER);
    EXPECT_FALSE(DecibarViewTestAccess::LogMode(view));
    EXPECT_EQ(g_pLogRecords->GetSize(), 0);
    EXPECT_EQ(Count(AfxModalRequest::MessageBox), 0);
    ExpectEmptyLoggedDataWindow();
    AfxTestPumpUntil([] { return false; }, 500);
    EXPECT_EQ(g_pLogRecords->GetSize(), 0) << "a download's end after Esc keeps nothing";
    EXPECT_TRUE(DecibarViewTestAccess::Connected(view));
}

TEST_F(LoggerDownload, TheTimeOutEndsADownloadOnceAndItsLaterExpiryShowsNothing)
{
    meter.Reply({ { Slice(kExampleReply, 0, 12), 0ms, {} },
        { {}, 100ms, [this] { ::SendMessage(viewWindow, WM_TIMER, CDecibarView::TIMER_LOG_TIMEOUT, 0); } } });
    decibar->Command(ID_DATALOGGER);
    EXPECT_EQ(Count(AfxModalRequest::MessageBox, L"Occur an error"), 1);
    view->SendMessage(WM_TIMER, CDecibarView::TIMER_LOG_TIMEOUT, 0);
    EXPECT_EQ(Count(AfxModalRequest::MessageBox), 1);
}

TEST_F(LoggerDownload, AReplyLongerThanAnyLoggerHoldsFailsWithoutGrowing)
{
    meter.Reply({ { { 0xBB, 0xFF, 0xFF }, 0ms, {} }, { Bytes(70000, 0x11), 0ms, {} } });
    decibar->Command(ID_DATALOGGER);
    EXPECT_EQ(Count(AfxModalRequest::MessageBox, L"Occur an error"), 1);
    EXPECT_EQ(g_pLogRecords->GetSize(), 0);
}

TEST_F(LoggerDownload, NothingHappensWhileRecordingOrWithoutAMeter)
{
    DecibarViewTestAccess::Recording(view) = true;
    decibar->Command(ID_DATALOGGER);
    DecibarViewTestAccess::Recording(view) = false;
    EXPECT_EQ(Count(AfxModalRequest::MessageBox, L"Please stop the Real Time Runing!"), 1);
    EXPECT_EQ(WaitBoxes(), 0);
    AfxTestPumpUntil([] { return false; }, 200);
    EXPECT_EQ(meter.requestsSeen.load(), 0);
}

TEST_F(LoggerDownload, ADownloadWhileTheWindowIsOpenMakesItAnewWithTheNewRecords)
{
    meter.Reply({ { kExampleReply, 0ms, {} } });
    decibar->Command(ID_DATALOGGER);
    ASSERT_NE(DecibarViewTestAccess::LoggedDataWindow(view), nullptr);
    CDataLogDlg* window = DecibarViewTestAccess::LoggedDataWindow(view);
    ASSERT_TRUE(window->IsWindowVisible());
    ASSERT_EQ(window->m_list.GetItemCount(), 1);
    AfxTestActivateListItem(&window->m_list, 0);
    AfxTestPump();
    ASSERT_EQ(window->m_pRecords->GetSize(), 2);
    const HWND first = window->GetSafeHwnd();

    // Two blocks, the second of dBC: two rows now, and nothing loaded.
    Bytes twoBlocks = Slice(kExampleReply, 0, 16);
    twoBlocks[2] = 0x7D;
    for (BYTE b : { 0x55, 0x26, 0x01, 0x02, 0x12, 0x00, 0x00, 0x05, 0xAC, 0x04, 0x00, 0xDD })
        twoBlocks.push_back(b);
    meter.Reply({ { twoBlocks, 0ms, {} } });
    decibar->Command(ID_DATALOGGER);
    EXPECT_EQ(DecibarViewTestAccess::LoggedDataWindow(view), window);
    EXPECT_NE(window->GetSafeHwnd(), first);
    EXPECT_TRUE(window->IsWindowVisible());
    ASSERT_EQ(window->m_list.GetItemCount(), 2);
    EXPECT_EQ(window->m_list.GetItemText(1, 0), L"2");
    EXPECT_EQ(window->m_list.GetItemText(1, 1), L"02-01-2026,12:00:00");
    EXPECT_EQ(window->m_list.GetItemText(1, 2), L"dBC");
    EXPECT_EQ(window->m_pRecords->GetSize(), 0);
    EXPECT_EQ(g_pLogRecords->GetSize(), 3);
}

TEST_F(LoggerDownload, ScreenshotOfTheProgress)
{
    const char* path = std::getenv("DECIBAR_DOWNLOAD_SCREENSHOT");
    if (!path)
        GTEST_SKIP() << "set DECIBAR_DOWNLOAD_SCREENSHOT to a PNG path to save the wait box part-way";
    // A reply of 600 samples, sent in pieces so that the bar moves.
    Bytes reply = { 0xBB, 0x04, 0xE1, 0xAA, 0x26, 0x02, 0x03, 0x09, 0x05, 0x00, 0x01, 0xAC };
    for (int i = 0; i < 600; ++i) {
        reply.push_back(0x06);
        reply.push_back(static_cast<uint8_t>((i % 10) << 4));
    }
    reply.push_back(0xDD);
    std::vector<LoggerMeter::Piece> pieces;
    for (size_t at = 0; at < reply.size(); at += 40)
        pieces.push_back({ Slice(reply, at, std::min(reply.size(), at + 40)), 40ms, {} });
    meter.Reply(pieces);
    bool saved = false;
    AfxTestSetModalAnswerer([&](const AfxModalRequest& request) {
        if (!request.dialog || AfxTestTemplateId(request.dialog) != IDD_LOGSTATE)
            return static_cast<int>(IDOK);
        CProgressCtrl& bar = DecibarViewTestAccess::WaitBox(view).m_progress;
        PumpUntil([&] {
            int low = 0, high = 0;
            AfxTestProgressRange(&bar, low, high);
            return high > 0 && AfxTestProgressPos(&bar) * 5 >= high * 2;
        }, 20000);
        const std::string text(path);
        saved = AfxTestSaveScreenshot(&DecibarViewTestAccess::WaitBox(view), std::wstring(text.begin(), text.end()));
        return 0;
    });
    decibar->Command(ID_DATALOGGER);
    EXPECT_TRUE(saved);
    EXPECT_EQ(g_pLogRecords->GetSize(), 600);
}

}  // namespace
