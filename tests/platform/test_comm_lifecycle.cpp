#include "comm_testline.h"
#include "win32/errors.h"
#include "win32/internal.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using testline::Overlapped;
using testline::ProcessCpuMs;
using testline::PseudoLine;

namespace {

// Opens the line as the serial link does: overlapped, a 100 ms interval
// time-out and every event in the mask.
void OpenLikeTheSerialLink(const PseudoLine& line, HANDLE& h)
{
    h = line.Open();
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    testline::SetIntervalTimeout(h, 100);
    ASSERT_TRUE(SetCommMask(h, 0x1FF));
}

}  // namespace

TEST(CommVanish, PendingOperationsFailAndNothingSpins)
{
    PseudoLine line;
    HANDLE h = INVALID_HANDLE_VALUE;
    ASSERT_NO_FATAL_FAILURE(OpenLikeTheSerialLink(line, h));

    Overlapped readOv, waitOv;
    char buf[20];
    DWORD mask = 77;
    ASSERT_FALSE(ReadFile(h, buf, sizeof(buf), nullptr, readOv.get()));
    ASSERT_EQ(GetLastError(), ERROR_IO_PENDING);
    ASSERT_FALSE(WaitCommEvent(h, &mask, waitOv.get()));
    ASSERT_EQ(GetLastError(), ERROR_IO_PENDING);

    line.CloseMaster();
    HANDLE both[2] = {readOv.ov.hEvent, waitOv.ov.hEvent};
    ASSERT_EQ(WaitForMultipleObjects(2, both, TRUE, 5000), WAIT_OBJECT_0);
    DWORD n = 0;
    EXPECT_FALSE(GetOverlappedResult(h, readOv.get(), &n, FALSE));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(GetOverlappedResult(h, waitOv.get(), &n, FALSE));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_EQ(mask, 0u);

    // Later calls fail at once.
    SetLastError(0);
    EXPECT_FALSE(ReadFile(h, buf, sizeof(buf), nullptr, readOv.get()));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(WaitCommEvent(h, &mask, waitOv.get()));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(WriteFile(h, "x", 1, &n, readOv.get()));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    DCB dcb{};
    EXPECT_FALSE(GetCommState(h, &dcb));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);

    // A hung-up line keeps reporting its hang-up; the device must stop listening to it.
    const double cpuBefore = ProcessCpuMs();
    Sleep(1000);
    const double cpuUsed = ProcessCpuMs() - cpuBefore;
    EXPECT_LT(cpuUsed, 100.0);
    EXPECT_TRUE(CloseHandle(h));
}

TEST(CommClose, CloseCompletesPendingOperationsAndFreesThePort)
{
    PseudoLine line;
    HANDLE h = line.Open();
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(SetCommMask(h, EV_RXCHAR));

    Overlapped readOv, waitOv;
    char buf[20];
    DWORD mask = 77;
    ASSERT_FALSE(ReadFile(h, buf, sizeof(buf), nullptr, readOv.get()));
    ASSERT_FALSE(WaitCommEvent(h, &mask, waitOv.get()));

    // A thread blocked on the read's event is released by the close.
    std::atomic<DWORD> waited{0};
    std::thread waiter([&] { waited = WaitForSingleObject(readOv.ov.hEvent, 10000); });
    ASSERT_TRUE(CloseHandle(h));
    // Both are complete once CloseHandle has returned.
    EXPECT_TRUE(HasOverlappedIoCompleted(readOv.get()));
    EXPECT_TRUE(waitOv.Signalled());
    waiter.join();
    EXPECT_EQ(waited.load(), WAIT_OBJECT_0);

    // The records answer although the handle is gone.
    DWORD n = 5;
    EXPECT_FALSE(GetOverlappedResult(h, readOv.get(), &n, TRUE));
    EXPECT_EQ(GetLastError(), ERROR_OPERATION_ABORTED);
    EXPECT_EQ(n, 0u);
    EXPECT_FALSE(GetOverlappedResult(h, waitOv.get(), &n, FALSE));
    EXPECT_EQ(GetLastError(), ERROR_OPERATION_ABORTED);

    // The lock went with the handle.
    h = line.Open();
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(CloseHandle(h));
}

TEST(CommClose, BlockingReadOnAnotherThreadEndsWithTheHandle)
{
    PseudoLine line;
    HANDLE h = line.Open(false);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    std::atomic<int> result{-1};
    std::atomic<DWORD> error{0};
    std::thread reader([&] {
        char buf[8];
        DWORD n = 0;
        result = ReadFile(h, buf, sizeof(buf), &n, nullptr);
        error = GetLastError();
    });
    Sleep(100);
    EXPECT_EQ(result.load(), -1);
    EXPECT_TRUE(CloseHandle(h));
    reader.join();
    EXPECT_EQ(result.load(), FALSE);
    EXPECT_EQ(error.load(), ERROR_OPERATION_ABORTED);
}

TEST(CommLoad, StreamingFramesCostLittleCpu)
{
    PseudoLine line;
    HANDLE h = INVALID_HANDLE_VALUE;
    ASSERT_NO_FATAL_FAILURE(OpenLikeTheSerialLink(line, h));

    // A reader in the shape of the serial link: a read and a comm-event wait pending at once.
    HANDLE stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::atomic<size_t> received{0};
    std::thread reader([&] {
        Overlapped readOv, waitOv;
        char buf[20];
        DWORD mask = 0;
        DWORD n = 0;
        auto arm = [&] {
            while (ReadFile(h, buf, sizeof(buf), &n, readOv.get()))
                received += n;
        };
        auto armWait = [&] {
            while (WaitCommEvent(h, &mask, waitOv.get())) {
            }
        };
        arm();
        armWait();
        HANDLE handles[3] = {stop, readOv.ov.hEvent, waitOv.ov.hEvent};
        for (;;) {
            const DWORD w = WaitForMultipleObjects(3, handles, FALSE, INFINITE);
            if (w == WAIT_OBJECT_0)
                break;
            if (w == WAIT_OBJECT_0 + 1) {
                if (GetOverlappedResult(h, readOv.get(), &n, FALSE))
                    received += n;
                arm();
            } else if (w == WAIT_OBJECT_0 + 2) {
                GetOverlappedResult(h, waitOv.get(), &n, FALSE);
                armWait();
            }
        }
        PurgeComm(h, PURGE_RXABORT);
        CancelIo(h);
    });

    std::string frame(20, '\x5A');
    const double cpuBefore = ProcessCpuMs();
    for (int i = 0; i < 10; ++i) {
        line.Send(frame);
        Sleep(100);
    }
    Sleep(200);
    const double cpuUsed = ProcessCpuMs() - cpuBefore;
    SetEvent(stop);
    reader.join();
    EXPECT_EQ(received.load(), 200u);
    // About 1.2 s of streaming; a spinning engine would use most of it.
    EXPECT_LT(cpuUsed, 150.0);
    CloseHandle(stop);
    CloseHandle(h);
}

TEST(CommStress, ConcurrentWritersAndCloseUnderTraffic)
{
    PseudoLine line;
    HANDLE h = line.Open();
    ASSERT_NE(h, INVALID_HANDLE_VALUE);

    // Writers on several threads, each with its own record: every byte arrives once.
    std::vector<std::thread> writers;
    for (int w = 0; w < 4; ++w) {
        writers.emplace_back([h] {
            Overlapped ov;
            for (int i = 0; i < 50; ++i) {
                DWORD n = 0;
                if (!WriteFile(h, "0123456789", 10, &n, ov.get()))
                    GetOverlappedResult(h, ov.get(), &n, TRUE);
                EXPECT_EQ(n, 10u);
            }
        });
    }
    const std::string got = line.Receive(4 * 50 * 10, 10000);
    for (std::thread& t : writers)
        t.join();
    EXPECT_EQ(got.size(), 2000u);
    EXPECT_TRUE(CloseHandle(h));

    // A reader keeps reads going while the far end sends and the handle is closed under it.
    for (int round = 0; round < 10; ++round) {
        h = line.Open();
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        testline::SetIntervalTimeout(h, 5);
        std::thread reader([h] {
            Overlapped ov;
            char buf[16];
            for (;;) {
                DWORD n = 0;
                if (!ReadFile(h, buf, sizeof(buf), &n, ov.get())) {
                    if (GetLastError() != ERROR_IO_PENDING)
                        break;
                    GetOverlappedResult(h, ov.get(), &n, TRUE);
                }
            }
        });
        for (int i = 0; i < 5; ++i)
            line.Send("data data data");
        Sleep(static_cast<DWORD>(round * 3));
        EXPECT_TRUE(CloseHandle(h));
        reader.join();
    }
}

TEST(CommClose, EventClosedUnderAPendingReadIsKeptUntilTheReadEnds)
{
    PseudoLine line;
    HANDLE h = line.Open();
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    OVERLAPPED ov{};
    ov.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    char buf[4];
    ASSERT_FALSE(ReadFile(h, buf, sizeof(buf), nullptr, &ov));
    ASSERT_EQ(GetLastError(), ERROR_IO_PENDING);
    ASSERT_TRUE(CloseHandle(ov.hEvent));

    std::thread sender([&] {
        Sleep(50);
        line.Send("ping");
    });
    // The handle is gone, so the wait falls back to the record.
    DWORD n = 0;
    EXPECT_TRUE(GetOverlappedResult(h, &ov, &n, TRUE));
    sender.join();
    EXPECT_EQ(std::string(buf, n), "ping");
    EXPECT_TRUE(CloseHandle(h));
}
