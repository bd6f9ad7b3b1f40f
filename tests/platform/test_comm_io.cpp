#include "comm_testline.h"
#include "support/receivelog.h"
#include "win32/errors.h"
#include "win32/internal.h"

#include <gtest/gtest.h>

#include <cstring>
#include <thread>

using testline::Clock;
using testline::MillisecondsSince;
using testline::Overlapped;
using testline::PseudoLine;
using testline::Queued;
using testline::WaitUntilQueued;
using testutil::Pattern;

namespace {

// A test with COM7 opened overlapped. The test closes the handle itself, before
// the records of operations still pending go out of scope.
class OpenLine : public ::testing::Test {
protected:
    void SetUp() override
    {
        h = line.Open();
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
    }

    // Starts a read of size bytes into buf that has to stay pending: nothing is queued.
    void StartPendingRead(Overlapped& ov, char* buf, DWORD size)
    {
        ASSERT_FALSE(ReadFile(h, buf, size, nullptr, ov.get()));
        ASSERT_EQ(GetLastError(), ERROR_IO_PENDING);
    }

    PseudoLine line;
    HANDLE h = INVALID_HANDLE_VALUE;
};

using CommRead = OpenLine;
using CommEvents = OpenLine;
using CommQueue = OpenLine;
using CommCancel = OpenLine;

// Completes a read that may have completed at once or may be pending.
DWORD FinishRead(HANDLE h, BOOL started, OVERLAPPED* ov)
{
    if (!started) {
        EXPECT_EQ(GetLastError(), ERROR_IO_PENDING);
    }
    DWORD n = 0;
    EXPECT_TRUE(GetOverlappedResult(h, ov, &n, TRUE)) << GetLastError();
    return n;
}

}  // namespace

TEST_F(CommRead, IntervalTimeoutSplitsABurstIntoFullChunksThenTheRest)
{
    testline::SetIntervalTimeout(h, 100);

    Overlapped ov;
    char buf[20];
    DWORD n = 12345;
    ASSERT_FALSE(ReadFile(h, buf, sizeof(buf), &n, ov.get()));
    ASSERT_EQ(GetLastError(), ERROR_IO_PENDING);
    EXPECT_EQ(n, 0u);
    const std::string burst = Pattern(70);
    line.Send(burst);
    const Clock::time_point sent = Clock::now();

    std::string got;
    EXPECT_EQ(FinishRead(h, FALSE, ov.get()), 20u);
    got.append(buf, 20);
    for (int i = 0; i < 2; ++i) {
        // The rest is queued: these complete at once, full.
        n = 0;
        EXPECT_TRUE(ReadFile(h, buf, sizeof(buf), &n, ov.get()));
        EXPECT_EQ(n, 20u);
        EXPECT_TRUE(ov.Signalled());
        got.append(buf, n);
    }
    const BOOL last = ReadFile(h, buf, sizeof(buf), &n, ov.get());
    EXPECT_FALSE(last);
    EXPECT_EQ(FinishRead(h, last, ov.get()), 10u);
    const long waited = MillisecondsSince(sent);
    got.append(buf, 10);
    EXPECT_EQ(got, burst);
    EXPECT_GE(waited, 60);
    EXPECT_LE(waited, 600);
    CloseHandle(h);
}

TEST_F(CommRead, ShortBurstCompletesAboutAnIntervalAfterItsLastByte)
{
    testline::SetIntervalTimeout(h, 100);

    Overlapped ov;
    char buf[20];
    ASSERT_NO_FATAL_FAILURE(StartPendingRead(ov, buf, sizeof(buf)));
    line.Send("ab");
    Sleep(30); // a gap within the interval, as a meter's bytes come: it must not end the read
    line.Send("cde");
    const Clock::time_point lastByte = Clock::now();
    ASSERT_TRUE(ov.Signalled(5000));
    const long after = MillisecondsSince(lastByte);
    DWORD n = 0;
    ASSERT_TRUE(GetOverlappedResult(h, ov.get(), &n, FALSE));
    EXPECT_EQ(std::string(buf, n), "abcde");
    EXPECT_GE(after, 60);
    EXPECT_LE(after, 400);
    CloseHandle(h);
}

TEST_F(CommRead, ReadWithoutDataStaysPendingUntilAborted)
{
    testline::SetIntervalTimeout(h, 100);

    Overlapped ov;
    char buf[20];
    ASSERT_NO_FATAL_FAILURE(StartPendingRead(ov, buf, sizeof(buf)));
    EXPECT_FALSE(ov.Signalled(300));
    DWORD n = 99;
    EXPECT_FALSE(GetOverlappedResult(h, ov.get(), &n, FALSE));
    EXPECT_EQ(GetLastError(), ERROR_IO_INCOMPLETE);
    EXPECT_FALSE(HasOverlappedIoCompleted(ov.get()));

    ASSERT_TRUE(PurgeComm(h, PURGE_RXABORT | PURGE_RXCLEAR));
    EXPECT_TRUE(ov.Signalled());
    EXPECT_FALSE(GetOverlappedResult(h, ov.get(), &n, TRUE));
    EXPECT_EQ(GetLastError(), ERROR_OPERATION_ABORTED);
    EXPECT_EQ(n, 0u);

    // The line still works after the purge.
    ASSERT_FALSE(ReadFile(h, buf, 3, nullptr, ov.get()));
    line.Send("xyz");
    EXPECT_EQ(FinishRead(h, FALSE, ov.get()), 3u);
    EXPECT_EQ(std::string(buf, 3), "xyz");
    CloseHandle(h);
}

TEST_F(CommRead, ImmediateAndTotalTimeouts)
{
    Overlapped ov;
    char buf[20];
    DWORD n = 99;

    COMMTIMEOUTS immediate{MAXDWORD, 0, 0, 0, 0};
    ASSERT_TRUE(SetCommTimeouts(h, &immediate));
    EXPECT_TRUE(ReadFile(h, buf, sizeof(buf), &n, ov.get()));
    EXPECT_EQ(n, 0u);
    line.Send("hello");
    ASSERT_TRUE(WaitUntilQueued(h, 5));
    EXPECT_TRUE(ReadFile(h, buf, sizeof(buf), &n, ov.get()));
    EXPECT_EQ(std::string(buf, n), "hello");

    COMMTIMEOUTS total{0, 10, 100, 0, 0};  // 10 ms per byte asked + 100 ms
    ASSERT_TRUE(SetCommTimeouts(h, &total));
    Clock::time_point start = Clock::now();
    EXPECT_FALSE(ReadFile(h, buf, 5, &n, ov.get()));
    EXPECT_EQ(FinishRead(h, FALSE, ov.get()), 0u);
    long waited = MillisecondsSince(start);
    EXPECT_GE(waited, 140);
    EXPECT_LE(waited, 1000);

    // First bytes, else the constant.
    COMMTIMEOUTS firstBytes{MAXDWORD, MAXDWORD, 3000, 0, 0};
    ASSERT_TRUE(SetCommTimeouts(h, &firstBytes));
    EXPECT_FALSE(ReadFile(h, buf, sizeof(buf), &n, ov.get()));
    line.Send("q");
    start = Clock::now();
    EXPECT_EQ(FinishRead(h, FALSE, ov.get()), 1u);
    EXPECT_LT(MillisecondsSince(start), 1500);
    CloseHandle(h);
}

TEST_F(CommEvents, RxCharFiresOncePerArrivalNotWhileBytesWait)
{
    ASSERT_TRUE(SetCommMask(h, EV_RXCHAR | EV_TXEMPTY));

    Overlapped ov;
    DWORD mask = 0;
    ASSERT_FALSE(WaitCommEvent(h, &mask, ov.get()));
    ASSERT_EQ(GetLastError(), ERROR_IO_PENDING);
    EXPECT_FALSE(ov.Signalled(100));
    // A second wait on the handle is refused and leaves the pending one alone, even on its record.
    DWORD secondMask = 0;
    EXPECT_FALSE(WaitCommEvent(h, &secondMask, ov.get()));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(HasOverlappedIoCompleted(ov.get()));

    line.Send("1");
    ASSERT_TRUE(ov.Signalled(5000));
    DWORD unused = 0;
    EXPECT_TRUE(GetOverlappedResult(h, ov.get(), &unused, FALSE));
    EXPECT_EQ(mask, EV_RXCHAR);

    // The byte is still queued, but nothing new happened: the next wait stays pending.
    mask = 0;
    ASSERT_FALSE(WaitCommEvent(h, &mask, ov.get()));
    ASSERT_EQ(GetLastError(), ERROR_IO_PENDING);
    EXPECT_FALSE(ov.Signalled(250));
    line.Send("2");
    ASSERT_TRUE(ov.Signalled(5000));
    EXPECT_EQ(mask, EV_RXCHAR);
    COMSTAT stat{};
    ASSERT_TRUE(ClearCommError(h, nullptr, &stat));
    EXPECT_EQ(stat.cbInQue, 2u);

    // An event that comes while no wait is pending completes the next wait at once.
    line.Send("3");
    ASSERT_TRUE(WaitUntilQueued(h, 3));
    mask = 0;
    EXPECT_TRUE(WaitCommEvent(h, &mask, ov.get()));
    EXPECT_EQ(mask, EV_RXCHAR);
    EXPECT_TRUE(ov.Signalled());

    // The transmitter running empty is an event too.
    ASSERT_FALSE(WaitCommEvent(h, &mask, ov.get()));
    Overlapped wr;
    DWORD written = 0;
    if (!WriteFile(h, "out", 3, &written, wr.get())) {
        ASSERT_TRUE(GetOverlappedResult(h, wr.get(), &written, TRUE));
    }
    EXPECT_EQ(written, 3u);
    ASSERT_TRUE(ov.Signalled(5000));
    EXPECT_EQ(mask, EV_TXEMPTY);
    CloseHandle(h);
}

TEST_F(CommEvents, SetCommMaskCompletesAPendingWaitWithNoEvents)
{
    Overlapped ov;
    DWORD mask = 1234;
    EXPECT_FALSE(WaitCommEvent(h, &mask, ov.get()));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);  // empty mask

    ASSERT_TRUE(SetCommMask(h, 0x1FF));
    ASSERT_FALSE(WaitCommEvent(h, &mask, ov.get()));
    ASSERT_EQ(GetLastError(), ERROR_IO_PENDING);
    ASSERT_TRUE(SetCommMask(h, EV_RXCHAR));
    ASSERT_TRUE(ov.Signalled());
    DWORD n = 0;
    EXPECT_TRUE(GetOverlappedResult(h, ov.get(), &n, FALSE));
    EXPECT_EQ(mask, 0u);
    CloseHandle(h);
}

TEST(CommWrite, OverlappedAndBlockingRoundTrips)
{
    PseudoLine line;
    {
        HANDLE h = line.Open();
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        Overlapped ov;
        const std::string data = Pattern(300);
        DWORD n = 0;
        if (!WriteFile(h, data.data(), static_cast<DWORD>(data.size()), &n, ov.get())) {
            ASSERT_EQ(GetLastError(), ERROR_IO_PENDING);
            ASSERT_TRUE(GetOverlappedResult(h, ov.get(), &n, TRUE));
        }
        EXPECT_EQ(n, data.size());
        EXPECT_TRUE(ov.Signalled());
        EXPECT_EQ(line.Receive(data.size()), data);
        CloseHandle(h);
    }
    {
        // Without FILE_FLAG_OVERLAPPED every call blocks until it is done.
        HANDLE h = line.Open(false);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        DWORD n = 0;
        EXPECT_TRUE(WriteFile(h, "sync", 4, &n, nullptr));
        EXPECT_EQ(n, 4u);
        EXPECT_EQ(line.Receive(4), "sync");
        std::thread sender([&] {
            Sleep(100); // the data comes late: the read must wait for it
            line.Send("0123456789");
        });
        char buf[10];
        const Clock::time_point start = Clock::now();
        EXPECT_TRUE(ReadFile(h, buf, sizeof(buf), &n, nullptr));
        EXPECT_GE(MillisecondsSince(start), 50);
        sender.join();
        EXPECT_EQ(std::string(buf, n), "0123456789");
        CloseHandle(h);
    }
}

TEST_F(CommQueue, InputQueueHoldsItsSizeAndLosesNothing)
{
    ASSERT_TRUE(SetupComm(h, 16, 16));
    const std::string data = Pattern(40);
    line.Send(data);
    DWORD errors = 0;
    ASSERT_TRUE(WaitUntilQueued(h, 16, &errors));
    EXPECT_EQ(Queued(h, &errors), 16u);
    EXPECT_EQ(errors, 0u);

    COMMTIMEOUTS t{100, 0, 0, 0, 0};
    ASSERT_TRUE(SetCommTimeouts(h, &t));
    Overlapped ov;
    char buf[64];
    std::string got;
    while (got.size() < data.size()) {
        DWORD n = 0;
        const BOOL done = ReadFile(h, buf, sizeof(buf), &n, ov.get());
        if (!done) {
            ASSERT_EQ(GetLastError(), ERROR_IO_PENDING);
            ASSERT_TRUE(GetOverlappedResult(h, ov.get(), &n, TRUE));
        }
        ASSERT_GT(n, 0u);
        got.append(buf, n);
    }
    EXPECT_EQ(got, data);

    // RXCLEAR empties the queue.
    line.Send("zz");
    ASSERT_TRUE(WaitUntilQueued(h, 2));
    ASSERT_TRUE(PurgeComm(h, PURGE_RXCLEAR));
    EXPECT_EQ(Queued(h), 0u);
    CloseHandle(h);
}

TEST_F(CommCancel, CancelIoEndsOnlyTheCallingThreadsOperations)
{
    ASSERT_TRUE(SetCommMask(h, EV_RXCHAR));
    Overlapped readOv, waitOv;
    char buf[8];
    DWORD mask = 0;
    ASSERT_FALSE(ReadFile(h, buf, sizeof(buf), nullptr, readOv.get()));
    std::thread([&] { EXPECT_FALSE(WaitCommEvent(h, &mask, waitOv.get())); }).join();

    std::thread([&] { EXPECT_TRUE(CancelIo(h)); }).join();
    EXPECT_FALSE(readOv.Signalled(50));
    EXPECT_FALSE(waitOv.Signalled(0));

    EXPECT_TRUE(CancelIo(h));
    ASSERT_TRUE(readOv.Signalled());
    DWORD n = 0;
    EXPECT_FALSE(GetOverlappedResult(h, readOv.get(), &n, FALSE));
    EXPECT_EQ(GetLastError(), ERROR_OPERATION_ABORTED);
    EXPECT_FALSE(waitOv.Signalled(0));
    CloseHandle(h);
}

TEST(CommWrite, StalledWriteIsAbortedOrTimesOut)
{
    // Nobody reads the far end, so a large write cannot finish.
    PseudoLine line;
    HANDLE h = line.Open();
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    const std::string big(1 << 20, 'w');
    Overlapped ov;
    DWORD n = 0;
    ASSERT_FALSE(WriteFile(h, big.data(), static_cast<DWORD>(big.size()), &n, ov.get()));
    ASSERT_EQ(GetLastError(), ERROR_IO_PENDING);
    EXPECT_FALSE(ov.Signalled(100));
    COMSTAT stat{};
    ASSERT_TRUE(ClearCommError(h, nullptr, &stat));
    EXPECT_GT(stat.cbOutQue, 0u);

    ASSERT_TRUE(PurgeComm(h, PURGE_TXABORT | PURGE_TXCLEAR));
    EXPECT_TRUE(ov.Signalled());
    EXPECT_FALSE(GetOverlappedResult(h, ov.get(), &n, FALSE));
    EXPECT_EQ(GetLastError(), ERROR_OPERATION_ABORTED);
    EXPECT_LT(n, big.size());

    // With a total write time-out the write ends successfully with what went out.
    COMMTIMEOUTS t{0, 0, 0, 0, 200};
    ASSERT_TRUE(SetCommTimeouts(h, &t));
    const Clock::time_point start = Clock::now();
    ASSERT_FALSE(WriteFile(h, big.data(), static_cast<DWORD>(big.size()), &n, ov.get()));
    ASSERT_EQ(GetLastError(), ERROR_IO_PENDING);
    EXPECT_TRUE(GetOverlappedResult(h, ov.get(), &n, TRUE));
    EXPECT_LT(n, big.size());
    const long waited = MillisecondsSince(start);
    EXPECT_GE(waited, 150);
    EXPECT_LE(waited, 2000);
    CloseHandle(h);
}

TEST_F(CommEvents, EventCharacterAndMaskFiltering)
{
    DCB dcb{};
    ASSERT_TRUE(GetCommState(h, &dcb));
    dcb.EvtChar = '\n';
    ASSERT_TRUE(SetCommState(h, &dcb));
    ASSERT_TRUE(SetCommMask(h, EV_RXFLAG));

    Overlapped ov;
    DWORD mask = 0;
    ASSERT_FALSE(WaitCommEvent(h, &mask, ov.get()));
    line.Send("abc");
    EXPECT_FALSE(ov.Signalled(150));  // EV_RXCHAR is not in the mask
    line.Send("d\n");
    ASSERT_TRUE(ov.Signalled(5000));
    EXPECT_EQ(mask, EV_RXFLAG);

    // Events outside the new mask are dropped from those kept for the next wait.
    const DWORD before = Queued(h);
    line.Send("e\n");
    ASSERT_TRUE(WaitUntilQueued(h, before + 2));
    ASSERT_TRUE(SetCommMask(h, EV_RXCHAR));
    ASSERT_FALSE(WaitCommEvent(h, &mask, ov.get()));
    EXPECT_EQ(GetLastError(), ERROR_IO_PENDING);
    CloseHandle(h);
}
