// The meter's live byte formats: frame start, tagged items and status codes.
#pragma once

#include "meterproto/hex_text.h"
#include "win32/types.h"

namespace meterproto {

// A live frame: 20 bytes, 40 characters of hex text, starting 0xA5 0x0D.
constexpr int LIVE_FRAME = 20;
constexpr int kLiveFrameChars = 2 * LIVE_FRAME;

// Every tagged item is FRAME_TAG followed by a code byte.
constexpr BYTE FRAME_TAG = 0xA5;
constexpr BYTE FRAME_START = 0x0D;

// A byte 0xFF in a live chunk: the meter holds its display.
constexpr BYTE METER_HOLD = 0xFF;
constexpr wchar_t kHoldText[] = L"ff";

// Weighting byte (byte 7 of a frame).
constexpr BYTE WEIGHTING_A = 0x1B;
constexpr BYTE WEIGHTING_C = 0x1C;

// Code bytes after FRAME_TAG. STATUS_TIME is followed by hour, minute and
// second bytes.
enum MeterStatusCode : BYTE {
    STATUS_FAST = 0x02,
    STATUS_SLOW = 0x03,
    STATUS_MAX = 0x04,
    STATUS_MIN = 0x05,
    STATUS_TIME = 0x06,
    STATUS_OVER = 0x07,
    STATUS_UNDER = 0x08,
    STATUS_REC_ON = 0x0A,
    STATUS_DISPLAY_FOLLOW = 0x0B,
    STATUS_DISPLAY_FREEZE = 0x0C,
    STATUS_MAXMIN_OFF = 0x0E,
    STATUS_LIMITS_CLEAR = 0x11,
    STATUS_REC_OFF = 0x1A,
    STATUS_RANGE_30_80 = 0x30,
    STATUS_RANGE_AUTO = 0x40,
    STATUS_RANGE_50_100 = 0x4B,
    STATUS_RANGE_80_130 = 0x4C,
};

// The hex text of FRAME_TAG and a code byte, as it is searched for in the
// receive buffer ("a50d" for FRAME_START).
struct STagText {
    wchar_t text[5];
};
constexpr STagText TagText(BYTE code)
{
    return STagText{ { kHexDigits[FRAME_TAG >> 4], kHexDigits[FRAME_TAG & 0x0F], kHexDigits[code >> 4],
                       kHexDigits[code & 0x0F], L'\0' } };
}

}  // namespace meterproto
