#include "frames.h"
#include "meterproto/receive_path.h"

#include <gtest/gtest.h>

using namespace prototest;
using meterproto::RxAction;

namespace {

// The view's side of the receive path, as the callback keeps it.
struct Link {
    CString strRx;
    SReading reading;
    int logBytes = 0;
    bool logMode = false;
    bool recording = false;

    RxAction Receive(const Bytes& chunk)
    {
        return meterproto::ReceiveChunk(Hex(chunk), static_cast<int>(chunk.size()), logMode, recording, strRx,
                                        reading, logBytes, kToday);
    }
};

Bytes Slice(const Bytes& bytes, size_t from, size_t count)
{
    return Bytes(bytes.begin() + from, bytes.begin() + from + count);
}

// Frames with levels 60.1, 60.2, ... and the time item, back to back.
Bytes Stream(int frames, int extraBytesPerFrame = 0)
{
    Bytes stream;
    for (int n = 1; n <= frames; ++n) {
        const int tenths = 600 + n % 400;
        const BYTE high = static_cast<BYTE>(((tenths / 1000) << 4) | (tenths / 100 % 10));
        const BYTE low = static_cast<BYTE>(((tenths / 10 % 10) << 4) | (tenths % 10));
        Bytes frame = Frame(high, low, { 0xA5, 0x02, 0, 0x1B, 0xA5, 0x30 });
        frame.insert(frame.end(), extraBytesPerFrame, 0x00);
        stream.insert(stream.end(), frame.begin(), frame.end());
    }
    return stream;
}

double LevelOfFrame(int n)
{
    return (600 + n % 400) / 10.0;
}

TEST(ReceivePath, OneFramePerChunkDecodesEachFrameWhenTheNextArrives)
{
    Link link;
    const Bytes stream = Stream(3);
    EXPECT_EQ(link.Receive(Slice(stream, 0, 20)), RxAction::Redraw);
    EXPECT_DOUBLE_EQ(link.reading.level, 50.0); // nothing decoded yet
    EXPECT_EQ(link.strRx.GetLength(), 40);

    EXPECT_EQ(link.Receive(Slice(stream, 20, 20)), RxAction::Redraw);
    EXPECT_DOUBLE_EQ(link.reading.level, LevelOfFrame(1));
    EXPECT_EQ(link.reading.range, 1);
    EXPECT_EQ(link.reading.fast, 1);
    EXPECT_EQ(link.strRx, Hex(Slice(stream, 20, 20)));

    EXPECT_EQ(link.Receive(Slice(stream, 40, 20)), RxAction::Redraw);
    EXPECT_DOUBLE_EQ(link.reading.level, LevelOfFrame(2));
}

TEST(ReceivePath, FrameSplitInTwoHalvesIsDecodedWithTheNextChunk)
{
    Link link;
    const Bytes stream = Stream(3);
    EXPECT_EQ(link.Receive(Slice(stream, 0, 10)), RxAction::Nothing);
    EXPECT_EQ(link.strRx.GetLength(), 20);
    EXPECT_EQ(link.Receive(Slice(stream, 10, 10)), RxAction::Redraw);
    EXPECT_EQ(link.strRx, Hex(Slice(stream, 0, 20))); // the whole frame is kept
    EXPECT_DOUBLE_EQ(link.reading.level, 50.0);
    EXPECT_EQ(link.Receive(Slice(stream, 20, 10)), RxAction::Redraw);
    EXPECT_DOUBLE_EQ(link.reading.level, LevelOfFrame(1));
}

TEST(ReceivePath, StrayLeadingBytesAreDroppedAtTheFrameStart)
{
    Link link;
    const Bytes stream = Join({ 0x00, 0x00 }, Stream(4));
    EXPECT_EQ(link.Receive(Slice(stream, 0, 20)), RxAction::Nothing); // 4 dropped, 36 left
    EXPECT_EQ(link.strRx.GetLength(), 36);
    EXPECT_EQ(link.strRx.Left(4), CString(L"a50d"));
    EXPECT_EQ(link.Receive(Slice(stream, 20, 20)), RxAction::Redraw);
    EXPECT_DOUBLE_EQ(link.reading.level, LevelOfFrame(1));
    EXPECT_EQ(link.strRx.GetLength(), 36);
    EXPECT_EQ(link.Receive(Slice(stream, 40, 20)), RxAction::Redraw);
    EXPECT_DOUBLE_EQ(link.reading.level, LevelOfFrame(2));
}

TEST(ReceivePath, FrameStartAfterALongerRunRedrawsBeforeDecoding)
{
    Link link;
    // Two stray bytes, then frames; the first chunk is too short to search.
    // The second brings 60 characters: 4 go, 56 remain, a redraw without a
    // decode; the frame at the head is decoded on the next chunk.
    const Bytes stream = Join({ 0x00, 0x00 }, Stream(4));
    EXPECT_EQ(link.Receive(Slice(stream, 0, 10)), RxAction::Nothing);
    EXPECT_EQ(link.Receive(Slice(stream, 10, 20)), RxAction::Redraw);
    EXPECT_DOUBLE_EQ(link.reading.level, 50.0);
    EXPECT_EQ(link.strRx.GetLength(), 56);
    EXPECT_EQ(link.Receive(Slice(stream, 30, 20)), RxAction::Redraw);
    EXPECT_DOUBLE_EQ(link.reading.level, LevelOfFrame(1));
}

TEST(ReceivePath, FrameStartAtAnOddPositionIsTakenWhereItIs)
{
    Link link;
    // 0x0A 0x50 0xD0 ...: "a50d" starts in the middle of a byte.
    Bytes chunk = { 0x0A, 0x50, 0xD0, 0x65, 0x30 };
    chunk.resize(20, 0x00);
    link.Receive(chunk);
    link.Receive(Bytes(20, 0x00));
    EXPECT_EQ(link.strRx.GetLength(), 40 - 1);
    link.Receive(Bytes(20, 0x00));
    EXPECT_DOUBLE_EQ(link.reading.level, 65.3); // read one character off: "065" "3"
}

TEST(ReceivePath, HoldChunkSetsHoldAndIsDropped)
{
    for (const Bytes& held : { Bytes { 0xFF }, Bytes { 0x0F, 0xF0 }, Bytes { 0x12, 0xFF, 0x34 } }) {
        Link link;
        link.Receive(Slice(Frame(0x06, 0x53), 0, 10));
        const CString before = link.strRx;
        EXPECT_EQ(link.Receive(held), RxAction::Nothing);
        EXPECT_EQ(link.reading.hold, 1);
        EXPECT_EQ(link.strRx, before);

        link.recording = true;
        EXPECT_EQ(link.Receive(held), RxAction::SendStop);
        EXPECT_EQ(link.strRx, before);
    }
}

TEST(ReceivePath, HoldIsClearedOnlyByAChunkThatReachesTheDecoder)
{
    Link link;
    link.Receive({ 0xFF });
    link.Receive(Slice(Frame(0x06, 0x53), 0, 10)); // 20 characters: not yet
    EXPECT_EQ(link.reading.hold, 1);
    link.Receive(Slice(Frame(0x06, 0x53), 10, 10));
    EXPECT_EQ(link.reading.hold, 0);
}

TEST(ReceivePath, DownloadModeHandsEveryChunkOnAndLeavesTheLiveStateAlone)
{
    Link link;
    link.Receive(Slice(Frame(0x06, 0x53), 0, 10));
    const CString before = link.strRx;
    link.logMode = true;
    link.recording = true;
    int counted = 0;
    for (const Bytes& chunk : { Bytes { 0xBB, 0x01, 0x00 }, Bytes { 0xFF, 0xFF }, Frame(0x07, 0x00) }) {
        counted += static_cast<int>(chunk.size());
        EXPECT_EQ(link.Receive(chunk), RxAction::ToCollector);
        EXPECT_EQ(link.logBytes, 10 + counted);
    }
    EXPECT_EQ(link.strRx, before);
    EXPECT_EQ(link.reading.hold, 0);
    EXPECT_DOUBLE_EQ(link.reading.level, 50.0);
}

TEST(ReceivePath, ByteCounterGrowsUntilTheDecoderRuns)
{
    Link link;
    const Bytes frame = Frame(0x06, 0x53);
    link.Receive(Slice(frame, 0, 7));
    link.Receive(Slice(frame, 7, 6));
    EXPECT_EQ(link.logBytes, 13);
    link.Receive({ 0xFF });
    EXPECT_EQ(link.logBytes, 14);
    link.Receive(Slice(frame, 13, 7));
    EXPECT_EQ(link.logBytes, 0);
}

TEST(ReceivePath, AnyChunkingOfAClean20ByteStreamKeepsUpWithTheFrames)
{
    const Bytes stream = Stream(200);
    for (size_t chunk : { 1u, 2u, 3u, 5u, 7u, 10u, 13u, 19u, 20u }) {
        SCOPED_TRACE(chunk);
        Link link;
        size_t at = 0;
        size_t longest = 0;
        for (; at + chunk <= stream.size(); at += chunk) {
            link.Receive(Slice(stream, at, chunk));
            longest = std::max<size_t>(longest, link.strRx.GetLength());
        }
        EXPECT_LT(longest, 80u);
        // The frame before the last complete one has been decoded.
        const int complete = static_cast<int>(at / 20);
        EXPECT_GE(link.reading.level, LevelOfFrame(complete - 1) - 0.05);
    }
}

TEST(ReceivePathBound, GarbageWithoutAFrameStartKeepsTheBufferBounded)
{
    Link link;
    Bytes garbage(20);
    for (int n = 0; n < 5000; ++n) {
        for (size_t i = 0; i < garbage.size(); ++i)
            garbage[i] = static_cast<BYTE>((n * 31 + i * 7) % 0xA0); // never 0xA5, never "ff"
        link.Receive(garbage);
        ASSERT_LE(link.strRx.GetLength(), meterproto::kLiveBufferLimit);
    }
    // A frame start split over the garbage's last byte and the next chunk
    // survives the limit.
    Bytes tail(20, 0x00);
    tail[19] = 0xA5;
    link.Receive(tail);
    const Bytes frames = Stream(3);
    link.Receive(Slice(frames, 1, 19));
    link.Receive(Slice(frames, 20, 20));
    EXPECT_DOUBLE_EQ(link.reading.level, LevelOfFrame(1));
}

TEST(ReceivePathBound, LongerFramesDoNotPileUpOrFallBehind)
{
    // 21-byte frames in 20-byte chunks: every other chunk only drops the
    // extra byte, so without the limit the buffer grew by a frame every
    // twenty and the face showed ever older frames.
    Link link;
    const int frames = 2000;
    const Bytes stream = Stream(frames, 1);
    for (size_t at = 0; at + 20 <= stream.size(); at += 20) {
        link.Receive(Slice(stream, at, 20));
        ASSERT_LE(link.strRx.GetLength(), meterproto::kLiveBufferLimit);
    }
    // Frames arrive every 21 bytes; the one shown is at most a few behind.
    bool recent = false;
    for (int n = frames - 6; n <= frames; ++n)
        recent = recent || link.reading.level == LevelOfFrame(n);
    EXPECT_TRUE(recent) << link.reading.level;
}

TEST(ReceivePathBound, ABacklogOfOldFramesIsNotReplayed)
{
    Link link;
    // A hundred whole frames of 99.0 dB already wait in the buffer (text left
    // over from a download, say); one frame per chunk would replay them all.
    for (int i = 0; i < 100; ++i)
        link.strRx += Hex(Frame(0x09, 0x90));
    const Bytes stream = Stream(4);
    for (size_t at = 0; at < stream.size(); at += 20)
        link.Receive(Slice(stream, at, 20));
    EXPECT_DOUBLE_EQ(link.reading.level, LevelOfFrame(3));
}

}  // namespace
