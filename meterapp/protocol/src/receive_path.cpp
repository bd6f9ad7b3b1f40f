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

}  // namespace

RxAction ReceiveChunk(const CString& chunkHex, int length, bool logMode, bool recording,
                      CString& strRx, SReading& reading, int& logBytes, const SPcDate& today)
{
    logBytes += length;
    if (logMode)
        return RxAction::ToCollector;

    // 0xFF means HOLD; the test runs on the text, so it also matches across
    // a byte boundary (0x0F 0xF0). A held chunk is never buffered.
    if (chunkHex.Find(kHoldText) >= 0) {
        reading.hold = 1;
        reading.powerWatch = 0;
        return recording ? RxAction::SendStop : RxAction::Nothing;
    }

    strRx += chunkHex;
    LimitLiveBuffer(strRx);
    if (strRx.GetLength() < kLiveFrameChars)
        return RxAction::Nothing;

    reading.hold = 0;
    const bool redraw = DecodeLiveFrame(strRx, reading, today);
    logBytes = 0;
    reading.powerWatch = 0;
    return redraw ? RxAction::Redraw : RxAction::Nothing;
}

bool DecodeLiveFrame(CString& strRx, SReading& reading, const SPcDate& today)
{
    if (strRx.GetLength() < kLiveFrameChars)
        return false;
    const int start = strRx.Find(TagText(FRAME_START).text);
    if (start < 0)
        return false;
    if (start > 0) {
        strRx.Delete(0, start);
        return strRx.GetLength() >= kLiveFrameChars;
    }
    // A lone frame waits for the next chunk, which shows the frame is whole;
    // it is kept, not replaced by the chunk, since a chunk shorter than a
    // frame would otherwise throw away a frame every time.
    if (strRx.GetLength() == kLiveFrameChars)
        return true;
    const CString frame = strRx.Left(kLiveFrameChars);
    strRx.Delete(0, kLiveFrameChars);
    DecodeFrame(frame, reading, today);
    return true;
}

}  // namespace meterproto
