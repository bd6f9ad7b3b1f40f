#include "meterproto/frame_decode.h"

#include "meterproto/hex_text.h"
#include "meterproto/meter_codes.h"

#include <charconv>
#include <string>

namespace meterproto {

namespace {

// Character at index, or 0 past the end of the text.
wchar_t CharAt(const CString& text, int index)
{
    return index >= 0 && index < text.GetLength() ? text.GetAt(index) : L'\0';
}

bool Contains(const CString& text, MeterStatusCode code)
{
    return text.Find(TagText(code).text) >= 0;
}

// Status codes in the order they are applied: a later one overrides an
// earlier one when a frame carries both.
void ApplyStatusCodes(const CString& frame, SReading& r)
{
    if (Contains(frame, STATUS_FAST)) r.fast = 1;
    if (Contains(frame, STATUS_SLOW)) r.fast = 0;
    if (Contains(frame, STATUS_MAX)) { r.max = 1; r.min = 0; }
    if (Contains(frame, STATUS_MIN)) { r.min = 1; r.max = 0; }
    if (Contains(frame, STATUS_MAXMIN_OFF)) { r.max = 0; r.min = 0; }
    if (Contains(frame, STATUS_UNDER)) r.under = 1;
    if (Contains(frame, STATUS_LIMITS_CLEAR)) { r.under = 0; r.over = 0; }
    if (Contains(frame, STATUS_OVER)) r.over = 1;
    if (Contains(frame, STATUS_REC_ON)) r.rec = 1;
    if (Contains(frame, STATUS_REC_OFF)) r.rec = 0;
    r.displayFollow = Contains(frame, STATUS_DISPLAY_FOLLOW) ? 1 : 0;
    r.displayFreeze = Contains(frame, STATUS_DISPLAY_FREEZE) ? 1 : 0;
    if (Contains(frame, STATUS_RANGE_30_80)) r.range = 1;
    if (Contains(frame, STATUS_RANGE_50_100)) r.range = 2;
    if (Contains(frame, STATUS_RANGE_80_130)) r.range = 3;
    if (Contains(frame, STATUS_RANGE_AUTO)) r.range = 4;
}

// Time item: 0xA5 0x06, hour byte, minute byte, second byte (BCD), found at
// any character position. The minute and second texts are taken as they
// stand, cut short where the frame ends.
void ApplyTimeItem(const CString& frame, SReading& r, const SPcDate& today)
{
    const int p = frame.Find(TagText(STATUS_TIME).text);
    if (p < 0)
        return;
    const int hour = HourFromHexChars(CharAt(frame, p + 4), CharAt(frame, p + 5));
    const CString minute = frame.Mid(p + 6, 2);
    const CString second = frame.Mid(p + 8, 2);
    CString time;
    time.Format(L"%.2ld:%s:%s", hour, minute.GetString(), second.GetString());
    r.timeStamp.Format(L"%.2d-%.2d-%d,%s", today.day, today.month, today.year, time.GetString());
}

}  // namespace

int HourFromHexChars(wchar_t flagChar, wchar_t unitsChar)
{
    int hour = unitsChar >= L'0' && unitsChar <= L'9' ? unitsChar - L'0' : 0;
    // The flags are read from the character's code; for '0'..'9' these are
    // the bits of the nibble itself.
    if (flagChar & 0x1)
        hour += 10;
    if (flagChar & 0x2)
        hour += 12;
    return hour == 24 ? 12 : hour;
}

double FrameLevel(const CString& frameText)
{
    // Bytes 2-3: level as BCD digits d1 d2 d3 d4 = d1d2d3.d4 dB; one leading
    // zero digit is dropped.
    std::string text;
    const int first = CharAt(frameText, 4) == L'0' ? 5 : 4;
    for (int i = first; i <= 6 && i < frameText.GetLength(); ++i)
        text += static_cast<char>(frameText.GetAt(i) < 0x80 ? frameText.GetAt(i) : '?');
    text += '.';
    if (frameText.GetLength() > 7)
        text += static_cast<char>(frameText.GetAt(7) < 0x80 ? frameText.GetAt(7) : '?');
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc() ? value : 0.0;
}

bool FrameLevelIsBcd(const CString& frameText)
{
    for (int i = 4; i <= 7; ++i) {
        const wchar_t ch = CharAt(frameText, i);
        if (ch < L'0' || ch > L'9')
            return false;
    }
    return true;
}

bool DecodeFrame(const CString& frameText, SReading& reading, const SPcDate& today)
{
    // Nibbles a to f in the level are no reading ("1e5.2" would read as
    // 100000): the bytes are garbled, so none of the frame is trusted.
    if (!FrameLevelIsBcd(frameText))
        return false;
    reading.level = FrameLevel(frameText);

    // Byte 7: weighting, 0x1B A, 0x1C C; anything else keeps the last one.
    static const CString kWeightingA = ChunkToHex(&WEIGHTING_A, 1);
    static const CString kWeightingC = ChunkToHex(&WEIGHTING_C, 1);
    const CString weighting = frameText.Mid(14, 2);
    if (weighting == kWeightingA)
        reading.weightingA = 1;
    else if (weighting == kWeightingC)
        reading.weightingA = 0;

    ApplyTimeItem(frameText, reading, today);
    ApplyStatusCodes(frameText, reading);
    return true;
}

}  // namespace meterproto
