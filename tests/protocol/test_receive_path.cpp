#include "frames.h"
#include "meterproto/receive_path.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

using namespace prototest;

namespace {

// What the view does after a chunk.
enum class RxAction { Nothing, ToCollector, SendStop, Redraw, RedrawAndStop };

std::ostream& operator<<(std::ostream& out, RxAction action)
{
    const char* names[] = { "Nothing", "ToCollector", "SendStop", "Redraw", "RedrawAndStop" };
    return out << names[static_cast<int>(action)];
}

RxAction ActionOf(const meterproto::SRxResult& r)
{
    if (r.toCollector)
        return RxAction::ToCollector;
    if (r.sendStop)
        return r.redraw ? RxAction::RedrawAndStop : RxAction::SendStop;
    return r.redraw ? RxAction::Redraw : RxAction::Nothing;
}

// The view's side of the receive path, as the callback keeps it.
struct Link {
    CString strRx;
    SReading reading;
    int logBytes = 0;
    bool logMode = false;
    bool recording = false;
    meterproto::SLiveStream stream;
    meterproto::SRxResult last;

    RxAction Receive(const Bytes& chunk)
    {
        last = meterproto::ReceiveChunk(Hex(chunk), static_cast<int>(chunk.size()), logMode, recording, strRx,
                                        reading, logBytes, kToday, stream);
        return ActionOf(last);
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

// HOLD is shown as soon as the meter holds: the first held chunk asks for a
// redraw, later ones (nothing new to show) only for Stop while recording.
TEST(ReceivePath, HoldChunkSetsHoldRedrawsOnceAndIsDropped)
{
    for (const Bytes& held : { Bytes { 0xFF }, Bytes { 0x0F, 0xF0 }, Bytes { 0x12, 0xFF, 0x34 } }) {
        Link link;
        link.Receive(Slice(Frame(0x06, 0x53), 0, 10));
        const CString before = link.strRx;
        EXPECT_EQ(link.Receive(held), RxAction::Redraw);
        EXPECT_EQ(link.reading.hold, 1);
        EXPECT_EQ(link.strRx, before);
        EXPECT_EQ(link.Receive(held), RxAction::Nothing);

        link.recording = true;
        EXPECT_EQ(link.Receive(held), RxAction::SendStop);
        EXPECT_EQ(link.strRx, before);
    }
    Link recording;
    recording.recording = true;
    EXPECT_EQ(recording.Receive({ 0xFF }), RxAction::RedrawAndStop);
}

// Clearing HOLD redraws too, also when the buffer holds no frame start that
// would ask for it.
TEST(ReceivePath, HoldIsClearedOnlyByAChunkThatReachesTheDecoder)
{
    Link link;
    link.Receive({ 0xFF });
    EXPECT_EQ(link.Receive(Slice(Frame(0x06, 0x53), 0, 10)), RxAction::Nothing); // 20 characters: not yet
    EXPECT_EQ(link.reading.hold, 1);
    EXPECT_EQ(link.Receive(Slice(Frame(0x06, 0x53), 10, 10)), RxAction::Redraw);
    EXPECT_EQ(link.reading.hold, 0);

    Link garbage;
    garbage.Receive({ 0xFF });
    EXPECT_EQ(garbage.Receive(Bytes(20, 0x12)), RxAction::Redraw);
    EXPECT_EQ(garbage.reading.hold, 0);
    EXPECT_EQ(garbage.Receive(Bytes(20, 0x12)), RxAction::Nothing);
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

namespace {

// The chunk (numbered from 1) that holds byte `at` of a stream cut into chunks of `size`.
std::uint64_t ChunkHolding(size_t at, size_t size)
{
    return at / size + 1;
}

// A key's sender asks which chunk brought the start of each decoded frame:
// for any chunking, it is the chunk that held the frame's first byte.
TEST(ReceivePathStream, EachDecodedFrameKnowsTheChunkItBeganIn)
{
    const int frames = 60;
    const Bytes stream = Stream(frames);
    for (size_t size : { 1u, 3u, 7u, 10u, 13u, 19u, 20u, 21u, 40u }) {
        SCOPED_TRACE(size);
        Link link;
        int decoded = 0;
        std::uint64_t previous = 0;
        for (size_t at = 0; at < stream.size(); at += size) {
            link.Receive(Slice(stream, at, std::min(size, stream.size() - at)));
            EXPECT_EQ(link.stream.position.chunks, ChunkHolding(at, size));
            if (!link.last.frameDecoded)
                continue;
            ++decoded;
            // Frame n shows 60.n dB; its first byte is byte 20 (n - 1).
            const int n = static_cast<int>(std::lround(link.reading.level * 10)) - 600;
            ASSERT_GE(n, 1);
            EXPECT_EQ(link.stream.position.lastFrameFrom, ChunkHolding(20 * (n - 1), size)) << n;
            EXPECT_EQ(link.stream.position.previousFrameFrom, previous);
            previous = link.stream.position.lastFrameFrom;
        }
        // At most one frame per chunk is decoded.
        const int chunks = static_cast<int>((stream.size() + size - 1) / size);
        EXPECT_GE(decoded, std::min(frames, chunks) - 3);
    }
}

TEST(ReceivePathStream, TextFromElsewhereHeldChunksAndCorruptFramesAreNoFrameOfAChunk)
{
    Link link;
    // Text that a download left in the buffer came from no known chunk.
    link.strRx = Hex(Frame(0x07, 0x77));
    link.Receive(Frame(0x06, 0x53));
    EXPECT_TRUE(link.last.frameDecoded);
    EXPECT_DOUBLE_EQ(link.reading.level, 77.7);
    EXPECT_EQ(link.stream.position.lastFrameFrom, 0u);

    // Held and download chunks count, but bring no frame.
    link.Receive({ 0xFF });
    link.logMode = true;
    link.Receive(Frame(0x01, 0x11));
    link.logMode = false;
    EXPECT_EQ(link.stream.position.chunks, 3u);

    // A frame with a garbled level is cut off but is no frame a sender may count.
    link.Receive(Frame(0x1e, 0x52));
    EXPECT_DOUBLE_EQ(link.reading.level, 65.3); // the frame of chunk 1, decoded now
    EXPECT_EQ(link.stream.position.lastFrameFrom, 1u);
    link.Receive(Frame(0x04, 0x21));
    EXPECT_FALSE(link.last.frameDecoded);
    EXPECT_TRUE(link.last.redraw);
    EXPECT_EQ(link.stream.position.lastFrameFrom, 1u);
    EXPECT_DOUBLE_EQ(link.reading.level, 65.3);
    link.Receive(Frame(0x04, 0x21));
    EXPECT_EQ(link.stream.position.lastFrameFrom, 5u);
    EXPECT_EQ(link.stream.position.previousFrameFrom, 1u);
}

// Every value of every byte of a frame through the receive path. The state
// before shows SLOW, C weighting, REC off, range 1 and 42.1 dB; the frame
// carries FAST, A, a time item, REC on and range 2.
TEST(ReceivePathFuzz, EveryValueOfEveryByteOfAFrame)
{
    const Bytes before = Frame(0x04, 0x21, { 0xA5, 0x03, 0, 0x1C, 0xA5, 0x1A, 0xA5, 0x30 });
    const Bytes base = Frame(0x06, 0x53,
        { 0xA5, 0x02, 0, 0x1B, 0xA5, 0x06, 0x09, 0x15, 0x30, 0xA5, 0x0A, 0xA5, 0x4B });
    for (int field = 0; field < 20; ++field) {
        for (int value = 0; value < 256; ++value) {
            SCOPED_TRACE(testing::Message() << "byte " << field << " = " << value);
            Link link;
            link.Receive(before);
            link.Receive(before);
            const SReading start = link.reading;
            Bytes frame = base;
            frame[field] = static_cast<BYTE>(value);
            const bool held = Narrow(Hex(frame)).find("ff") != std::string::npos;
            link.Receive(frame);
            EXPECT_EQ(link.reading.hold, held ? 1 : 0);
            link.Receive(before);
            const SReading& r = link.reading;
            ASSERT_GE(r.level, 0.0);
            ASSERT_LE(r.level, 999.9);
            EXPECT_TRUE(r.timeStamp.IsEmpty() || r.timeStamp.GetLength() == 19) << Narrow(r.timeStamp);
            const bool fromFrame = link.stream.position.lastFrameFrom == 3;
            if (held) {
                EXPECT_FALSE(fromFrame);
                EXPECT_DOUBLE_EQ(r.level, 42.1);
                continue;
            }
            if (field == 2 || field == 3) {
                const int high = value >> 4, low = value & 0x0F;
                if (high <= 9 && low <= 9) {
                    const int tenths = field == 2 ? high * 1000 + low * 100 + 53 : 600 + high * 10 + low;
                    EXPECT_DOUBLE_EQ(r.level, tenths / 10.0);
                    EXPECT_EQ(r.range, 2);
                } else {
                    // The whole frame is dropped: the state is the one before it.
                    EXPECT_FALSE(fromFrame);
                    EXPECT_DOUBLE_EQ(r.level, start.level);
                    EXPECT_EQ(r.fast, start.fast);
                    EXPECT_EQ(r.weightingA, start.weightingA);
                    EXPECT_EQ(r.rec, start.rec);
                    EXPECT_EQ(r.range, start.range);
                    EXPECT_EQ(r.timeStamp, start.timeStamp);
                }
            }
            if (field == 7) {
                ASSERT_TRUE(fromFrame);
                EXPECT_EQ(r.weightingA, value == 0x1B ? 1 : value == 0x1C ? 0 : start.weightingA);
            }
        }
    }
}

}  // namespace
