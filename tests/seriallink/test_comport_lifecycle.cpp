// CComPort opening, closing and writing.
#include "ptyline.h"
#include "seriallink/ComPort.h"
#include "win32/errors.h"

#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <termios.h>
#include <thread>

namespace {

using namespace ptyline;

const int kPort = 11;

bool OpenMeterLike(CComPort& port, int mode = AutoReceiveMode)
{
    return port.Open(kPort, mode, 9600, ParityNone, 8, StopBitsOne, FlowNone);
}

TEST(ComPortLifecycle, AMissingPortLeavesNothingOpenAndCloseReturnsAtOnce)
{
    PortDirectory dir;
    CComPort never;
    Clock::time_point start = Clock::now();
    never.Close();
    EXPECT_LT(MsSince(start), 100);
    EXPECT_EQ(0u, never.Write("x", 1));

    CComPort port;
    EXPECT_FALSE(OpenMeterLike(port));
    EXPECT_EQ(nullptr, port.m_pReadThread);
    EXPECT_EQ(nullptr, port.GetStopEvent());
    ASSERT_NE(nullptr, port.GetSerialPort());
    EXPECT_FALSE(port.GetSerialPort()->IsOpen());
    start = Clock::now();
    port.Close();
    EXPECT_LT(MsSince(start), 100);
    EXPECT_EQ(0u, port.Write("x", 1));
}

TEST(ComPortLifecycle, ABusyPortDoesNotOpen)
{
    PortDirectory dir;
    PtyLine line(kPort);
    CComPort first, second;
    ASSERT_TRUE(OpenMeterLike(first));
    EXPECT_FALSE(OpenMeterLike(second));
    EXPECT_EQ(nullptr, second.m_pReadThread);
    first.Close();
    EXPECT_TRUE(OpenMeterLike(second));
}

TEST(ComPortLifecycle, CloseTakesBetweenOneAndThreeSeconds)
{
    PortDirectory dir;
    PtyLine line(kPort);
    CComPort port;
    ASSERT_TRUE(OpenMeterLike(port));
    const Clock::time_point start = Clock::now();
    port.Close();
    const long took = MsSince(start);
    EXPECT_GE(took, 1000);
    EXPECT_LE(took, 3500);
    EXPECT_EQ(nullptr, port.m_pReadThread);
    EXPECT_EQ(0u, port.Write("x", 1));
    // Closed means closed: the device can be opened again by anyone.
    HANDLE h = CreateFileW(L"\\\\.\\COM11", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(INVALID_HANDLE_VALUE, h);
    CloseHandle(h);
}

// A callback that blocks as a synchronous call to the closing thread would.
struct BlockingCallback {
    CComPort* port = nullptr;
    HANDLE release = nullptr;         // what the "user-interface thread" would answer with
    bool watchStop = false;           // also gives up when the port closes
    std::atomic<int> entered{0};
    std::atomic<int> returned{0};
    std::atomic<bool> sawStop{false};

    static void Callback(void* self, char*, int)
    {
        auto* me = static_cast<BlockingCallback*>(self);
        me->entered++;
        if (me->watchStop) {
            const HANDLE handles[2] = {me->release, me->port->GetStopEvent()};
            if (WaitForMultipleObjects(2, handles, FALSE, INFINITE) == WAIT_OBJECT_0 + 1)
                me->sawStop = true;
        } else {
            WaitForSingleObject(me->release, INFINITE);
        }
        me->returned++;
    }
};

TEST(ComPortLifecycle, ACallbackThatWatchesTheStopEventLetsCloseFinishNormally)
{
    PortDirectory dir;
    PtyLine line(kPort);
    BlockingCallback blocking;
    blocking.release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    blocking.watchStop = true;
    CComPort port;
    blocking.port = &port;
    ASSERT_TRUE(OpenMeterLike(port));
    port.SetReceiveCallback(&BlockingCallback::Callback, &blocking);
    line.Send("a");
    while (blocking.entered == 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));

    const Clock::time_point start = Clock::now();
    port.Close();
    const long took = MsSince(start);
    EXPECT_GE(took, 1000);
    EXPECT_LE(took, 2000);
    EXPECT_TRUE(blocking.sawStop);
    EXPECT_EQ(1, blocking.returned);
    CloseHandle(blocking.release);
}

TEST(ComPortLifecycle, ACallbackStillBlockedAfterTheWaitsIsNotFreedUnder)
{
    PortDirectory dir;
    PtyLine line(kPort);
    BlockingCallback blocking;
    blocking.release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    auto* port = new CComPort;
    blocking.port = port;
    ASSERT_TRUE(OpenMeterLike(*port));
    port->SetReceiveCallback(&BlockingCallback::Callback, &blocking);
    line.Send("a");
    while (blocking.entered == 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));

    const Clock::time_point start = Clock::now();
    port->Close();
    const long took = MsSince(start);
    EXPECT_GE(took, 2900);
    EXPECT_LE(took, 3600);
    delete port;  // as the application's view does on the way out
    line.Send("more");  // nobody may receive it any more

    // The device is free again although the reader has not ended.
    HANDLE h = CreateFileW(L"\\\\.\\COM11", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(INVALID_HANDLE_VALUE, h);
    CloseHandle(h);

    // The "user-interface thread" answers once Close has returned; the reader
    // then ends and frees what it took over (the sanitizers check both).
    SetEvent(blocking.release);
    const Clock::time_point answered = Clock::now();
    while (blocking.returned == 0 && MsSince(answered) < 5000)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(1, blocking.returned);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(1, blocking.entered);
    CloseHandle(blocking.release);
}

TEST(ComPortLifecycle, WritesFromSeveralThreadsArriveWholeAndComplete)
{
    PortDirectory dir;
    PtyLine line(kPort);
    CComPort port;
    ASSERT_TRUE(OpenMeterLike(port));
    const int kThreads = 4, kMessages = 60;
    const size_t kLength = 24;
    std::string received;
    std::thread reader([&] { received = line.Receive(kThreads * kMessages * kLength, 15000); });
    std::vector<std::thread> writers;
    std::atomic<int> shortWrites{0};
    for (int t = 0; t < kThreads; ++t) {
        writers.emplace_back([&, t] {
            for (int m = 0; m < kMessages; ++m) {
                std::string message(kLength, static_cast<char>('a' + t));
                message[1] = static_cast<char>('0' + m / 10);
                message[2] = static_cast<char>('0' + m % 10);
                if (port.Write(message.data(), static_cast<DWORD>(message.size())) != kLength)
                    shortWrites++;
            }
        });
    }
    for (std::thread& w : writers)
        w.join();
    reader.join();
    EXPECT_EQ(0, shortWrites);
    ASSERT_EQ(kThreads * kMessages * kLength, received.size());
    std::map<char, int> nextMessage;
    for (size_t at = 0; at < received.size(); at += kLength) {
        const std::string block = received.substr(at, kLength);
        const char owner = block[0];
        ASSERT_EQ(std::string(kLength - 3, owner), block.substr(3)) << "interleaved at byte " << at;
        const int number = (block[1] - '0') * 10 + (block[2] - '0');
        EXPECT_EQ(nextMessage[owner]++, number);
    }
    port.Close();
}

TEST(ComPortLifecycle, AWriteStuckOnAFullLineIsEndedByClose)
{
    PortDirectory dir;
    PtyLine line(kPort);
    for (int mode : {int(AutoReceiveMode), int(ManualQueryMode)}) {
        SCOPED_TRACE("mode " + std::to_string(mode));
        CComPort port;
        ASSERT_TRUE(OpenMeterLike(port, mode));
        // Nobody reads the master: the pseudo-terminal fills and the write stays pending.
        std::atomic<bool> done{false};
        std::thread writer([&] {
            const std::string flood(1 << 20, 'w');
            port.Write(flood.data(), static_cast<DWORD>(flood.size()));
            done = true;
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        EXPECT_FALSE(done);
        const Clock::time_point start = Clock::now();
        port.Close();
        EXPECT_LE(MsSince(start), 3600);
        writer.join();
        EXPECT_TRUE(done);
        tcflush(line.master(), TCIOFLUSH);
    }
}

TEST(ComPortLifecycle, TheDeviceVanishingEndsTheReaderWithoutSpinning)
{
    PortDirectory dir;
    PtyLine line(kPort);
    ReceiveLog log;
    CComPort port;
    ASSERT_TRUE(OpenMeterLike(port));
    port.m_pReadThread->m_nReadSize = 20;
    port.SetReceiveCallback(&ReceiveLog::Callback, &log);
    line.Send("hello");
    ASSERT_TRUE(log.WaitForBytes(5));

    line.CloseMaster();  // the read is pending when the far side goes
    const Clock::time_point start = Clock::now();
    while (!port.m_pReadThread->IsFinished() && MsSince(start) < 3000)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(port.m_pReadThread->IsFinished());
    const double cpuBefore = ProcessCpuMs();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_LT(ProcessCpuMs() - cpuBefore, 100.0);
    EXPECT_EQ(0u, port.Write("x", 1));

    const Clock::time_point closing = Clock::now();
    port.Close();
    EXPECT_LT(MsSince(closing), 1900);
    EXPECT_EQ(nullptr, port.GetSerialPort());
}

TEST(ComPortLifecycle, OpenOnAnOpenPortClosesItFirst)
{
    PortDirectory dir;
    PtyLine line(kPort);
    ReceiveLog log;
    CComPort port;
    ASSERT_TRUE(OpenMeterLike(port));
    port.SetReceiveCallback(&ReceiveLog::Callback, &log);
    ASSERT_TRUE(OpenMeterLike(port));
    port.m_pReadThread->m_nReadSize = 20;
    line.Send("ok");
    ASSERT_TRUE(log.WaitForBytes(2));
    EXPECT_EQ("ok", log.All());
}

}  // namespace
