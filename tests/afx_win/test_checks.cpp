// The layer's checks, on in the sanitizer runs (and debug builds), where this
// test is built. A window touched from another thread without the layer's
// hand-off is caught: the layer stops the program at its choke points, naming
// the call, and ThreadSanitizer reports a race with a handler that the wx event
// loop runs. A call the layer cannot carry out as Win32 would stops the
// program naming the call, instead of doing nothing.
#include <atomic>
#include <cstdlib>

#include "gui_support.h"

namespace {

// A window whose timer handler reads a level that a worker writes without
// handing it to the user-interface thread: the fault the checks must see.
class CTouched : public CDialog {
public:
    CTouched() : CDialog(IDD_PLAIN) {}
    int m_level = 0;
    int m_shown = 0;
    std::atomic<int> m_ticks{0};

protected:
    void OnTimer(UINT_PTR)
    {
        m_shown = m_level;
        ++m_ticks;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTouched, CDialog)
    ON_WM_TIMER()
END_MESSAGE_MAP()

template <class F> void OnWorker(F&& f)
{
    std::thread worker(std::forward<F>(f));
    worker.join();
}

}  // namespace

class LayerChecksDeathTest : public ::testing::Test {
protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

TEST_F(LayerChecksDeathTest, AWorkerThatReachesForTheWxWindowOrTheWindowObjectIsStopped)
{
    EXPECT_DEATH(
        {
            CTouched window;
            window.Create(IDD_PLAIN);
            OnWorker([&] { AfxTestWx(&window); });
        },
        "CWnd::GetWx called off the user-interface thread");
    EXPECT_DEATH(
        {
            CTouched window;
            window.Create(IDD_PLAIN);
            const HWND hwnd = window.m_hWnd;
            OnWorker([hwnd] { CWnd::FromHandle(hwnd); });
        },
        "FromHandle called off the user-interface thread");
}

TEST_F(LayerChecksDeathTest, TheSameCallsHandedOverByTheLayerRunOnTheUserInterfaceThread)
{
    CTouched window;
    ASSERT_TRUE(window.Create(IDD_PLAIN));
    CString caption;
    std::atomic<bool> done{false};
    std::thread worker([&] {
        window.SetWindowText(L"from the worker");
        caption = AfxTestWindowText(&window);
        done = true;
    });
    EXPECT_TRUE(PumpUntil([&] { return done.load(); }));
    worker.join();
    EXPECT_EQ(CString(L"from the worker"), caption);
}

TEST_F(LayerChecksDeathTest, ADrawingModeOrTimerCallbackTheLayerDoesNotOfferStopsTheProgram)
{
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    EXPECT_EQ(dc.SetMapMode(MM_TEXT), MM_TEXT);
    EXPECT_DEATH(dc.SetMapMode(MM_TEXT + 1), "CDC::SetMapMode: only MM_TEXT");
    const DWORD andSource = 0x008800C6u;   // SRCAND
    EXPECT_DEATH(dc.BitBlt(0, 0, 1, 1, &dc, 0, 0, andSource), "CDC::BitBlt");
    CTouched window;
    ASSERT_TRUE(window.Create(IDD_PLAIN));
    EXPECT_DEATH(window.SetTimer(1, 10, [](HWND, UINT, UINT_PTR, DWORD) {}), "CWnd::SetTimer");
}

#if defined(__SANITIZE_THREAD__)
TEST_F(LayerChecksDeathTest, ARaceWithAHandlerThatTheEventLoopRunsIsReported)
{
    EXPECT_EXIT(
        {
            CTouched window;
            window.Create(IDD_PLAIN);
            window.SetTimer(1, 2, nullptr);
            std::atomic<bool> stop{false};
            std::thread worker([&] {
                while (!stop)
                    ++window.m_level;
            });
            PumpUntil([&] { return window.m_ticks >= 20; }, 5000);
            stop = true;
            worker.join();
            std::exit(0);
        },
        ::testing::ExitedWithCode(66), "ThreadSanitizer: data race");
}
#endif
