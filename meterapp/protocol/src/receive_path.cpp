#include "meterproto/receive_path.h"

#include "meterproto/frame_decode.h"
#include "meterproto/meter_codes.h"

namespace meterproto {

namespace {

// Keeps the live buffer bounded. Dropping all but the newest text keeps any
// frame start that is still in progress, and text without a frame start would
// be dropped at the next resynchronisation anyway.
void LimitLiveBuffer(CString& strRx)
{
    if (strRx.GetLength() > kLiveBufferLimit)
        strRx.Delete(0, strRx.GetLength() - kLiveBufferKeep);
}

// A download appends to the buffer and cuts its front without this record;
// then no chunk of the remaining text is known, and none is taken for newer
// than it may be.
void SyncSpans(const CString& strRx, SLiveStream& stream)
{
    if (strRx.GetLength() == stream.lengthLeft)
        return;
    stream.spans.clear();
    stream.appended = strRx.GetLength();
    if (stream.appended > 0)
        stream.spans.push_back({ stream.appended, 0 });
}

void AppendChunk(const CString& chunkHex, CString& strRx, SLiveStream& stream)
{
    SyncSpans(strRx, stream);
    strRx += chunkHex;
    stream.appended += chunkHex.GetLength();
    stream.spans.push_back({ stream.appended, stream.position.chunks });
}

std::uint64_t ChunkAt(const SLiveStream& stream, std::int64_t position)
{
    for (const SLiveStream::SChunkSpan& span : stream.spans) {
        if (position < span.end)
            return span.chunk;
    }
    return 0;
}

void ForgetConsumedSpans(const CString& strRx, SLiveStream& stream)
{
    const std::int64_t front = stream.appended - strRx.GetLength();
    while (!stream.spans.empty() && stream.spans.front().end <= front)
        stream.spans.pop_front();
    stream.lengthLeft = strRx.GetLength();
}

}  // namespace

SRxResult ReceiveChunk(const CString& chunkHex, int length, bool logMode, bool recording, CString& strRx,
                       SReading& reading, int& logBytes, const SPcDate& today, SLiveStream& stream)
{
    SRxResult result;
    logBytes += length;
    ++stream.position.chunks;
    if (logMode) {
        result.toCollector = true;
        return result;
    }

    // 0xFF means HOLD; the test runs on the text, so it also matches across
    // a byte boundary (0x0F 0xF0). A held chunk is never buffered.
    if (chunkHex.Find(kHoldText) >= 0) {
        result.redraw = reading.hold == 0;
        reading.hold = 1;
        reading.powerWatch = 0;
        result.sendStop = recording;
        return result;
    }

    AppendChunk(chunkHex, strRx, stream);
    LimitLiveBuffer(strRx);
    if (strRx.GetLength() >= kLiveFrameChars) {
        // HOLD leaves the face as soon as the meter streams again.
        result.redraw = reading.hold != 0;
        reading.hold = 0;
        const FrameCut cut = DecodeLiveFrame(strRx, reading, today);
        logBytes = 0;
        reading.powerWatch = 0;
        result.redraw = result.redraw || cut != FrameCut::Waiting;
        if (cut == FrameCut::Decoded) {
            // The frame was the kLiveFrameChars characters just before the buffer's front.
            const std::int64_t frameStart = stream.appended - strRx.GetLength() - kLiveFrameChars;
            stream.position.previousFrameFrom = stream.position.lastFrameFrom;
            stream.position.lastFrameFrom = ChunkAt(stream, frameStart);
            result.frameDecoded = true;
        }
    }
    ForgetConsumedSpans(strRx, stream);
    return result;
}

FrameCut DecodeLiveFrame(CString& strRx, SReading& reading, const SPcDate& today)
{
    if (strRx.GetLength() < kLiveFrameChars)
        return FrameCut::Waiting;
    const int start = strRx.Find(TagText(FRAME_START).text);
    if (start < 0)
        return FrameCut::Waiting;
    if (start > 0) {
        strRx.Delete(0, start);
        return strRx.GetLength() >= kLiveFrameChars ? FrameCut::AtHead : FrameCut::Waiting;
    }
    // A lone frame waits for the next chunk, which shows the frame is whole;
    // it is kept, not replaced by the chunk, since a chunk shorter than a
    // frame would otherwise throw away a frame every time.
    if (strRx.GetLength() == kLiveFrameChars)
        return FrameCut::AtHead;
    const CString frame = strRx.Left(kLiveFrameChars);
    strRx.Delete(0, kLiveFrameChars);
    return DecodeFrame(frame, reading, today) ? FrameCut::Decoded : FrameCut::Rejected;
}

}  // namespace meterproto
