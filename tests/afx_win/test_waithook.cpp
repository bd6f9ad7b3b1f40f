// A thread's wait hook runs while it blocks in Sleep and the waits, and only there.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "win32/errors.h"
#include "win32/kernel.h"
#include "win32/threadhook.h"
#include "win32/internal.h"

namespace {

std::atomic<int> g_hookRuns{0};
std::atomic<bool> g_request{false};
std::atomic<bool> g_answered{false};

// Stands for "run what other threads sent": answers a pending request.
void Hook()
{
    ++g_hookRuns;
    if (g_request.exchange(false))
        g_answered = true;
}

struct HookGuard {
    HookGuard()
    {
        g_hookRuns = 0;
        g_request = false;
        g_answered = false;
        win32::SetThreadWaitHook(&Hook);
    }
    ~HookGuard() { win32::SetThreadWaitHook(nullptr); }
};

DWORD WINAPI AskAndWait(LPVOID)
{
    g_request = true;
    while (!g_answered)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return 7;
}

TEST(WaitHook, AThreadWaitedForCanBeAnsweredFromInsideTheWait)
{
    HookGuard guard;
    HANDLE thread = CreateThread(nullptr, 0, &AskAndWait, nullptr, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    // Without the hook this wait would never end: the thread waits for an answer.
    EXPECT_EQ(WaitForSingleObject(thread, 10000), WAIT_OBJECT_0);
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeThread(thread, &code));
    EXPECT_EQ(code, 7u);
    CloseHandle(thread);
}

TEST(WaitHook, WaitForMultipleObjectsAndSleepRunTheHook)
{
    HookGuard guard;
    HANDLE thread = CreateThread(nullptr, 0, &AskAndWait, nullptr, 0, nullptr);
    HANDLE never = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE handles[2] = {never, thread};
    EXPECT_EQ(WaitForMultipleObjects(2, handles, FALSE, 10000), WAIT_OBJECT_0 + 1);
    CloseHandle(thread);
    CloseHandle(never);

    g_hookRuns = 0;
    auto start = std::chrono::steady_clock::now();
    Sleep(100);
    auto slept = std::chrono::steady_clock::now() - start;
    EXPECT_GE(slept, std::chrono::milliseconds(100));
    EXPECT_GE(g_hookRuns.load(), 5);
}

TEST(WaitHook, ATimedOutWaitStillTimesOutAndSignalledObjectsNeedNoHook)
{
    HookGuard guard;
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(WaitForSingleObject(event, 50), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(50));
    SetEvent(event);
    EXPECT_EQ(WaitForSingleObject(event, INFINITE), WAIT_OBJECT_0);
    CloseHandle(event);
}

void NestedHook()
{
    ++g_hookRuns;
    // A hook that waits does not run itself again from inside that wait.
    Sleep(5);
}

TEST(WaitHook, TheHookDoesNotReenterItself)
{
    g_hookRuns = 0;
    win32::SetThreadWaitHook(&NestedHook);
    Sleep(30);
    win32::SetThreadWaitHook(nullptr);
    int runs = g_hookRuns.load();
    EXPECT_GE(runs, 1);
    EXPECT_LE(runs, 30);
}

TEST(WaitHook, OtherThreadsAreNotAffected)
{
    HookGuard guard;
    std::atomic<int> before{g_hookRuns.load()};
    std::thread other([] { Sleep(30); });
    other.join();
    EXPECT_EQ(g_hookRuns.load(), before.load());
}

}  // namespace
