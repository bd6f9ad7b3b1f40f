// Messages between threads: SendMessage runs the handler on the
// user-interface thread and waits for it, also while that thread waits for the
// sender; PostMessage queues; nothing else runs inside such a wait.
#include <atomic>

#include "gui_support.h"
#include "win32/kernel.h"

namespace {

constexpr UINT WM_ADD = WM_USER + 1;
constexpr UINT WM_NOTE = WM_USER + 2;

class CTarget : public CDialog {
public:
    CTarget() : CDialog(IDD_PLAIN) {}
    std::atomic<int> m_adds{0};
    std::atomic<int> m_offThread{0};
    std::atomic<int> m_notes{0};
    std::atomic<int> m_ticks{0};

protected:
    LRESULT OnAdd(WPARAM w, LPARAM l)
    {
        if (std::this_thread::get_id() != UiThread())
            ++m_offThread;
        ++m_adds;
        return static_cast<LRESULT>(w) + l;
    }
    LRESULT OnNote(WPARAM, LPARAM)
    {
        ++m_notes;
        return 0;
    }
    void OnTimer(UINT_PTR)
    {
        ++m_ticks;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTarget, CDialog)
    ON_MESSAGE(WM_ADD, &CTarget::OnAdd)
    ON_MESSAGE(WM_NOTE, &CTarget::OnNote)
    ON_WM_TIMER()
END_MESSAGE_MAP()

struct SenderArgs {
    HWND hwnd;
    int count;
    std::atomic<long long> sum{0};
    bool postFirst = false;
};

DWORD WINAPI Sender(LPVOID p)
{
    auto* args = static_cast<SenderArgs*>(p);
    if (args->postFirst)
        PostMessage(args->hwnd, WM_NOTE, 0, 0);
    for (int i = 0; i < args->count; ++i)
        args->sum += SendMessage(args->hwnd, WM_ADD, static_cast<WPARAM>(i), 1);
    return 0;
}

TEST(SendMessage, FromAnotherThreadRunsOnTheUserInterfaceThreadAndReturnsTheResult)
{
    CTarget target;
    ASSERT_TRUE(target.Create(IDD_PLAIN));
    SenderArgs args{target.m_hWnd, 20};
    std::atomic<bool> done{false};
    std::thread sender([&] {
        Sender(&args);
        done = true;
    });
    EXPECT_TRUE(PumpUntil([&] { return done.load(); }));
    sender.join();
    EXPECT_EQ(args.sum.load(), 190 + 20);
    EXPECT_EQ(target.m_adds.load(), 20);
    EXPECT_EQ(target.m_offThread.load(), 0);
    // On its own thread it is a plain call.
    EXPECT_EQ(target.SendMessage(WM_ADD, 2, 3), 5);
    target.DestroyWindow();
}

TEST(SendMessage, DoesNotDeadlockWhileTheUserInterfaceThreadSleepsAndWaitsForTheSender)
{
    CTarget target;
    ASSERT_TRUE(target.Create(IDD_PLAIN));
    target.SetTimer(5, 1, nullptr);
    EXPECT_TRUE(PumpUntil([&] { return target.m_ticks > 0; }));

    SenderArgs args{target.m_hWnd, 50};
    args.postFirst = true;
    HANDLE thread = CreateThread(nullptr, 0, &Sender, &args, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    const int ticksBefore = target.m_ticks;
    // As a port's close does: a pause, then a wait for the reader thread.
    Sleep(200);
    EXPECT_EQ(WaitForSingleObject(thread, 20000), WAIT_OBJECT_0);
    CloseHandle(thread);
    EXPECT_EQ(target.m_adds.load(), 50);
    EXPECT_EQ(target.m_offThread.load(), 0);
    // Only sent messages ran inside the waits: no timer, no posted message.
    EXPECT_EQ(target.m_ticks.load(), ticksBefore);
    EXPECT_EQ(target.m_notes.load(), 0);
    EXPECT_TRUE(PumpUntil([&] { return target.m_notes.load() == 1 && target.m_ticks > ticksBefore; }));
    target.KillTimer(5);
    target.DestroyWindow();
}

TEST(SendMessage, ToAWindowThatIsGoneReturnsZeroAtOnce)
{
    CTarget target;
    ASSERT_TRUE(target.Create(IDD_PLAIN));
    HWND hwnd = target.m_hWnd;
    target.DestroyWindow();
    EXPECT_FALSE(AfxTestIsWindow(hwnd));
    std::atomic<LRESULT> result{-1};
    std::atomic<BOOL> posted{TRUE};
    std::thread sender([&] {
        result = SendMessage(hwnd, WM_ADD, 1, 1);
        posted = PostMessage(hwnd, WM_NOTE, 0, 0);
    });
    sender.join();
    EXPECT_EQ(result.load(), 0);
    EXPECT_FALSE(posted.load());
    AfxTestPump();
    EXPECT_EQ(target.m_adds.load(), 0);
}

TEST(PostMessage, ArrivesInOrderFromTheMessageLoop)
{
    CTarget target;
    ASSERT_TRUE(target.Create(IDD_PLAIN));
    EXPECT_TRUE(target.PostMessage(WM_NOTE));
    EXPECT_EQ(target.m_notes.load(), 0);
    std::thread poster([&] {
        for (int i = 0; i < 9; ++i)
            PostMessage(target.m_hWnd, WM_NOTE, 0, 0);
    });
    poster.join();
    EXPECT_TRUE(PumpUntil([&] { return target.m_notes.load() == 10; }));
    target.DestroyWindow();
}

TEST(MessageBox, FromAnotherThreadIsAskedOnTheUserInterfaceThread)
{
    std::thread::id askedOn;
    std::wstring caption;
    AfxTestSetModalAnswerer([&](const AfxModalRequest& r) {
        askedOn = std::this_thread::get_id();
        caption = r.caption;
        return IDNO;
    });
    std::atomic<int> answer{0};
    std::atomic<bool> done{false};
    std::thread asker([&] {
        answer = MessageBoxW(nullptr, L"Occur an error", L"error", MB_YESNO);
        done = true;
    });
    EXPECT_TRUE(PumpUntil([&] { return done.load(); }));
    asker.join();
    AfxTestSetModalAnswerer(nullptr);
    EXPECT_EQ(answer.load(), IDNO);
    EXPECT_EQ(askedOn, UiThread());
    EXPECT_EQ(caption, L"error");
}

class CSelfTimer : public CDialog {
public:
    CSelfTimer() : CDialog(IDD_PLAIN) {}
    enum Mode { KillInside, ResetInside, DestroyInside } m_mode = KillInside;
    int m_ticks = 0;

protected:
    void OnTimer(UINT_PTR id)
    {
        ++m_ticks;
        if (m_mode == KillInside)
            KillTimer(id);
        else if (m_mode == ResetInside && m_ticks < 3)
            SetTimer(id, 5, nullptr);
        else if (m_mode == ResetInside)
            KillTimer(id);
        else
            DestroyWindow();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSelfTimer, CDialog)
    ON_WM_TIMER()
END_MESSAGE_MAP()

TEST(Timers, AHandlerMayKillResetOrDestroyItsOwnTimer)
{
    for (auto mode : {CSelfTimer::KillInside, CSelfTimer::ResetInside, CSelfTimer::DestroyInside}) {
        CSelfTimer window;
        window.m_mode = mode;
        ASSERT_TRUE(window.Create(IDD_PLAIN));
        window.SetTimer(1, 5, nullptr);
        int expected = mode == CSelfTimer::ResetInside ? 3 : 1;
        EXPECT_TRUE(PumpUntil([&] { return window.m_ticks >= expected; }));
        AfxTestPumpUntil([] { return false; }, 60);
        EXPECT_EQ(window.m_ticks, expected);
        EXPECT_EQ(window.m_hWnd == nullptr, mode == CSelfTimer::DestroyInside);
    }
}

TEST(Timers, KillStopsAndSetAgainReplaces)
{
    CTarget target;
    ASSERT_TRUE(target.Create(IDD_PLAIN));
    EXPECT_EQ(target.SetTimer(3, 10, nullptr), 3u);
    EXPECT_TRUE(PumpUntil([&] { return target.m_ticks >= 2; }));
    EXPECT_TRUE(target.KillTimer(3));
    EXPECT_FALSE(target.KillTimer(3));
    AfxTestPump();
    int after = target.m_ticks;
    AfxTestPumpUntil([] { return false; }, 100);
    EXPECT_EQ(target.m_ticks.load(), after);
    target.DestroyWindow();
}

}  // namespace
