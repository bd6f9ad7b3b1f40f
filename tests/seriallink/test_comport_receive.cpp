// Reception through CComPort: chunking, timing of short bursts, the callback's
// life across Close and Open, and every receive mode.
#include "comport_line.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

using namespace testutil;
using ComPortReceive = ComPortOnLine<9>;

TEST_F(ComPortReceive, ALongReplyArrivesInOrderedChunksOfAtMostTheChunkSize)
{
    ReceiveLog log;
    CComPort port;
    ASSERT_TRUE(OpenLogging(port, log));

    const std::string reply = Pattern(437);
    line.Send(reply);
    ASSERT_TRUE(log.WaitForBytes(reply.size()));
    EXPECT_EQ(reply, log.All());
    const std::vector<std::string> chunks = log.Chunks();
    EXPECT_GE(chunks.size(), 22u);
    for (const std::string& chunk : chunks) {
        EXPECT_GE(chunk.size(), 1u);
        EXPECT_LE(chunk.size(), 20u);
    }
    port.Close();
}

TEST_F(ComPortReceive, AShortBurstArrivesAboutAnIntervalAfterItsLastByte)
{
    ReceiveLog log;
    CComPort port;
    ASSERT_TRUE(OpenLogging(port, log));
    // The first read may have been issued with the initial chunk size.
    line.Send("x");
    ASSERT_TRUE(log.WaitForBytes(1));

    line.Send("12345");
    const Clock::time_point sent = Clock::now();
    ASSERT_TRUE(log.WaitForBytes(6));
    const long delay = static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(log.LastTime() - sent).count());
    EXPECT_GE(delay, 90);
    EXPECT_LE(delay, 600);  // 100 ms nominal; generous for loaded and instrumented runs
    EXPECT_EQ("x12345", log.All());
    port.Close();
}

TEST_F(ComPortReceive, BytesBeforeTheCallbackAreDroppedAndTheCallbackOutlivesAReopen)
{
    ReceiveLog log;
    CComPort port;
    ASSERT_TRUE(OpenInChunksOf20(port));
    line.Send("early");
    // The time without a callback is what is tested: a reader drops what it
    // reads then and gives no sign of it, so the bytes get the reader's read
    // interval (100 ms) and more to be read and dropped.
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    port.SetReceiveCallback(&ReceiveLog::Callback, &log);
    line.Send("late");
    ASSERT_TRUE(log.WaitForBytes(4));
    EXPECT_EQ("late", log.All());

    port.Close();
    ASSERT_TRUE(OpenInChunksOf20(port));
    line.Send("again");
    ASSERT_TRUE(log.WaitForBytes(9));
    EXPECT_EQ("lateagain", log.All());
    port.Close();
}

TEST_F(ComPortReceive, ChunkSizesOutsideTheBufferAreClamped)
{
    ReceiveLog log;
    CComPort port;
    ASSERT_TRUE(OpenMeterLike(port));
    port.SetReceiveCallback(&ReceiveLog::Callback, &log);
    port.m_pReadThread->m_nReadSize = 0;
    line.Send("ab");
    ASSERT_TRUE(log.WaitForBytes(2));
    port.m_pReadThread->m_nReadSize = 100000;
    const std::string big = Pattern(3000);
    line.Send("c");  // completes the read still pending with the old size
    ASSERT_TRUE(log.WaitForBytes(3));
    line.Send(big);
    ASSERT_TRUE(log.WaitForBytes(3003));
    EXPECT_EQ("abc" + big, log.All());
    for (const std::string& chunk : log.Chunks())
        EXPECT_LE(chunk.size(), 2048u);
    port.Close();
}

TEST_F(ComPortReceive, EveryOverlappedModeDeliversAndMode0OnlyWrites)
{
    for (int mode : {int(RxCharReceiveMode), 4, -1, int(CommEventMode), int(ManualQueryMode)}) {
        SCOPED_TRACE("mode " + std::to_string(mode));
        ReceiveLog log;
        CComPort port;
        ASSERT_TRUE(OpenLogging(port, log, mode));
        EXPECT_EQ(mode != ManualQueryMode, port.IsOverlapped());
        EXPECT_EQ(mode != ManualQueryMode, port.GetSerialPort()->m_bOverlapped != FALSE);
        line.Send("z");
        const bool reads = mode != CommEventMode && mode != ManualQueryMode;
        if (reads) {
            ASSERT_TRUE(log.WaitForBytes(1));
            const std::string burst = Pattern(95);
            line.Send(burst);
            ASSERT_TRUE(log.WaitForBytes(96));
            EXPECT_EQ("z" + burst, log.All());
        } else {
            EXPECT_FALSE(log.WaitForBytes(1, 300));
        }
        EXPECT_EQ(3u, port.Write("cmd", 3));
        EXPECT_EQ("cmd", line.Receive(3));
        const Clock::time_point start = Clock::now();
        port.Close();
        EXPECT_LT(MillisecondsSince(start), 1900);  // the reader ends at once on stop
        EXPECT_EQ(nullptr, port.GetSerialPort());
    }
}

}  // namespace
