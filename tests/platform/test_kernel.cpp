#include "win32/errors.h"
#include "win32/kernel.h"
#include "win32/internal.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

long MillisecondsSince(Clock::time_point start)
{
    return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

struct EventHandles {
    HANDLE h[3];
    explicit EventHandles(BOOL manual)
    {
        for (HANDLE& e : h)
            e = CreateEventW(nullptr, manual, FALSE, nullptr);
    }
    ~EventHandles()
    {
        for (HANDLE e : h)
            CloseHandle(e);
    }
};

}  // namespace

TEST(Events, ManualResetStaysSignalledAutoResetReleasesOneWait)
{
    HANDLE manual = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE autoReset = CreateEventW(nullptr, FALSE, TRUE, nullptr);
    ASSERT_NE(manual, nullptr);
    ASSERT_NE(autoReset, nullptr);

    EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_TIMEOUT);
    ASSERT_TRUE(SetEvent(manual));
    EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_OBJECT_0);
    ASSERT_TRUE(ResetEvent(manual));
    EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_TIMEOUT);

    // Created signalled: one wait takes the signal.
    EXPECT_EQ(WaitForSingleObject(autoReset, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(autoReset, 0), WAIT_TIMEOUT);

    EXPECT_TRUE(CloseHandle(manual));
    EXPECT_TRUE(CloseHandle(autoReset));
}

TEST(Events, BadHandlesFail)
{
    HANDLE e = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_TRUE(CloseHandle(e));
    SetLastError(0);
    EXPECT_FALSE(CloseHandle(e));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(SetEvent(e));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    SetLastError(0);
    EXPECT_EQ(WaitForSingleObject(e, 0), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(WaitForSingleObject(nullptr, 10), WAIT_FAILED);
    EXPECT_EQ(WaitForSingleObject(INVALID_HANDLE_VALUE, 10), WAIT_FAILED);

    HANDLE good = CreateEventW(nullptr, TRUE, TRUE, nullptr);
    HANDLE mixed[2] = {good, e};
    EXPECT_EQ(WaitForMultipleObjects(2, mixed, FALSE, 0), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(WaitForMultipleObjects(0, mixed, FALSE, 0), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(CreateEventW(nullptr, TRUE, FALSE, L"named"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    CloseHandle(good);
}

TEST(Waits, WaitAnyReturnsLowestSignalledIndex)
{
    EventHandles events(TRUE);
    EXPECT_EQ(WaitForMultipleObjects(3, events.h, FALSE, 0), WAIT_TIMEOUT);
    SetEvent(events.h[2]);
    EXPECT_EQ(WaitForMultipleObjects(3, events.h, FALSE, 0), WAIT_OBJECT_0 + 2);
    SetEvent(events.h[1]);
    EXPECT_EQ(WaitForMultipleObjects(3, events.h, FALSE, INFINITE), WAIT_OBJECT_0 + 1);
    EXPECT_EQ(WaitForMultipleObjects(3, events.h, TRUE, 0), WAIT_TIMEOUT);
    SetEvent(events.h[0]);
    EXPECT_EQ(WaitForMultipleObjects(3, events.h, TRUE, 0), WAIT_OBJECT_0);
}

TEST(Waits, AutoResetOnlyTheReturnedIndexIsConsumed)
{
    EventHandles events(FALSE);
    SetEvent(events.h[0]);
    SetEvent(events.h[1]);
    EXPECT_EQ(WaitForMultipleObjects(3, events.h, FALSE, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForMultipleObjects(3, events.h, FALSE, 0), WAIT_OBJECT_0 + 1);
    EXPECT_EQ(WaitForMultipleObjects(3, events.h, FALSE, 0), WAIT_TIMEOUT);
}

TEST(Waits, TimeOutAndWakeFromAnotherThread)
{
    EventHandles events(FALSE);
    Clock::time_point start = Clock::now();
    EXPECT_EQ(WaitForMultipleObjects(3, events.h, FALSE, 120), WAIT_TIMEOUT);
    long waited = MillisecondsSince(start);
    EXPECT_GE(waited, 115);
    EXPECT_LT(waited, 2000);

    std::thread setter([&] {
        Sleep(50);
        SetEvent(events.h[1]);
    });
    start = Clock::now();
    EXPECT_EQ(WaitForMultipleObjects(3, events.h, FALSE, 10000), WAIT_OBJECT_0 + 1);
    EXPECT_LT(MillisecondsSince(start), 5000);
    setter.join();
}

TEST(Waits, ClosingAHandleWhileAnotherThreadWaitsIsSafe)
{
    HANDLE e = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::atomic<DWORD> result{12345};
    std::thread waiter([&] { result = WaitForSingleObject(e, 300); });
    Sleep(50);
    EXPECT_TRUE(CloseHandle(e));
    waiter.join();
    // The waiter held the object; it times out as if nothing happened.
    EXPECT_EQ(result.load(), WAIT_TIMEOUT);
}

namespace {

std::atomic<int> g_runs{0};

DWORD WINAPI CountAndReturn(LPVOID parameter)
{
    ++g_runs;
    auto* seenId = static_cast<std::atomic<DWORD>*>(parameter);
    seenId->store(GetCurrentThreadId());
    return 42;
}

DWORD WINAPI BlockOnEvent(LPVOID parameter)
{
    WaitForSingleObject(static_cast<HANDLE>(parameter), INFINITE);
    return 7;
}

}  // namespace

TEST(Threads, SuspendedThreadRunsOnlyAfterResume)
{
    g_runs = 0;
    std::atomic<DWORD> seenId{0};
    DWORD id = 0;
    HANDLE thread = CreateThread(nullptr, 0, CountAndReturn, &seenId, CREATE_SUSPENDED, &id);
    ASSERT_NE(thread, nullptr);
    EXPECT_NE(id, 0u);
    EXPECT_NE(id, GetCurrentThreadId());
    EXPECT_TRUE(SetThreadPriority(thread, THREAD_PRIORITY_HIGHEST));
    EXPECT_EQ(GetThreadPriority(thread), THREAD_PRIORITY_HIGHEST);
    EXPECT_FALSE(SetThreadPriority(thread, 7));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);

    EXPECT_EQ(WaitForSingleObject(thread, 150), WAIT_TIMEOUT);
    EXPECT_EQ(g_runs.load(), 0);
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeThread(thread, &code));
    EXPECT_EQ(code, STILL_ACTIVE);

    EXPECT_EQ(ResumeThread(thread), 1u);
    EXPECT_EQ(WaitForSingleObject(thread, 10000), WAIT_OBJECT_0);
    EXPECT_EQ(g_runs.load(), 1);
    EXPECT_EQ(seenId.load(), id);
    EXPECT_TRUE(GetExitCodeThread(thread, &code));
    EXPECT_EQ(code, 42u);
    // A finished thread stays signalled.
    EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_OBJECT_0);
    EXPECT_EQ(ResumeThread(thread), 0u);
    EXPECT_TRUE(CloseHandle(thread));
    EXPECT_EQ(ResumeThread(thread), static_cast<DWORD>(-1));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST(Threads, HandleClosedWhileRunningAndWaitOnStopAndThread)
{
    HANDLE stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE thread = CreateThread(nullptr, 64 * 1024, BlockOnEvent, stop, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    HANDLE both[2] = {stop, thread};
    EXPECT_EQ(WaitForMultipleObjects(2, both, FALSE, 50), WAIT_TIMEOUT);
    SetEvent(stop);
    EXPECT_EQ(WaitForSingleObject(thread, 10000), WAIT_OBJECT_0);
    EXPECT_TRUE(CloseHandle(thread));

    // A thread whose handle is gone still runs to its end.
    ResetEvent(stop);
    thread = CreateThread(nullptr, 0, BlockOnEvent, stop, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    EXPECT_TRUE(CloseHandle(thread));
    SetEvent(stop);
    CloseHandle(stop);
}

TEST(Sleep, SleepsAboutAsLongAsAsked)
{
    Clock::time_point start = Clock::now();
    Sleep(60);
    long slept = MillisecondsSince(start);
    EXPECT_GE(slept, 59);
    EXPECT_LT(slept, 2000);
}
