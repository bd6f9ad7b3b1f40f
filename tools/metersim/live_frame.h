// The meter's live frames: 20 bytes sent unprompted a few times a second.
//
// Layout (byte: content):
//   0-1   0xA5 0x0D frame start
//   2-3   level, four BCD digits d1d2d3.d4 dB
//   4-5   0xA5 + FAST or SLOW code
//   6     0x00
//   7     weighting: 0x1B A, 0x1C C
//   WithTime frames:
//     8-12  0xA5 0x06 hour minute second (time of day; hour byte see HourByte)
//     13-14 0xA5 + MAX, MIN or MAX/MIN-off code
//     15-16 0xA5 + REC on or off code
//     17-18 0xA5 + range code
//     19    0x00
//   FullStatus frames:
//     8-9   0xA5 + MAX, MIN or MAX/MIN-off code
//     10-11 0xA5 + REC on or off code
//     12-13 0xA5 + range code
//     14-15 0xA5 + limits-clear code, or UNDER code when under range
//     16-17 0xA5 + OVER code when over range, else 0x00 0x00
//     18-19 0x00
// Twenty bytes hold the time item or the limits item but not both, so the
// meter alternates the two kinds; the receiver keeps every field that a frame
// does not carry. Every code byte is BCD-like or one of the fixed codes, so the
// hex text of a frame holds "a5" only at the start of a byte and never "ff" or
// "bb"; CheckLiveFrame proves it for each frame sent.
#pragma once

#include "meter_state.h"
#include "meterproto/meter_codes.h"

#include <array>
#include <cstdint>
#include <string>

namespace metersim {

using LiveFrame = std::array<uint8_t, 20>;

// The byte values are the receiver's own (meterproto).
constexpr uint8_t kFrameTag = meterproto::FRAME_TAG;
constexpr uint8_t kFrameStart = meterproto::FRAME_START;
constexpr uint8_t kHoldByte = meterproto::METER_HOLD;
constexpr uint8_t kWeightingA = meterproto::WEIGHTING_A;
constexpr uint8_t kWeightingC = meterproto::WEIGHTING_C;

// Codes that follow kFrameTag.
enum class StatusCode : uint8_t {
    Fast = meterproto::STATUS_FAST,
    Slow = meterproto::STATUS_SLOW,
    Max = meterproto::STATUS_MAX,
    Min = meterproto::STATUS_MIN,
    Time = meterproto::STATUS_TIME,
    Over = meterproto::STATUS_OVER,
    Under = meterproto::STATUS_UNDER,
    RecOn = meterproto::STATUS_REC_ON,
    MaxMinOff = meterproto::STATUS_MAXMIN_OFF,
    LimitsClear = meterproto::STATUS_LIMITS_CLEAR,
    RecOff = meterproto::STATUS_REC_OFF,
    Range30to80 = meterproto::STATUS_RANGE_30_80,
    Range50to100 = meterproto::STATUS_RANGE_50_100,
    Range80to130 = meterproto::STATUS_RANGE_80_130,
    RangeAuto = meterproto::STATUS_RANGE_AUTO,
};

enum class FrameKind { WithTime, FullStatus };

struct TimeOfDay {
    int hour = 0;    // 0..23
    int minute = 0;  // 0..59
    int second = 0;  // 0..59
};

// UNDER when the level lies below the range's lower end, OVER above its upper.
enum class Limit { Inside, Under, Over };
Limit LimitFor(Range range, int levelTenths);

// The limit a full-status frame reports, given the one reported last. A
// receiver clears UNDER and OVER only together (the limits-clear code) and
// applies that before OVER but after UNDER, so OVER is sent with the clear
// code, and UNDER right after OVER first goes out as "inside" for one frame.
Limit NextReportedLimit(Limit lastReported, Limit actual);

// Builds one frame showing levelTenths (0..9999) with the state's
// annunciators; a full-status frame also reports limit.
LiveFrame BuildLiveFrame(const MeterState& state, int levelTenths, Limit limit, const TimeOfDay& time,
                         FrameKind kind);

// Lower-case hex text, two characters per byte.
std::string HexText(const uint8_t* data, size_t length);
// The second hex character of a byte.
char LastHexChar(uint8_t byte);

// Checks a frame as it stands on the line after a byte whose hex text ended
// in previousChar (0 when nothing came before): no "ff" (read as HOLD), no
// "bb" (read as a logger reply), and "a5" only at byte starts, so that the one
// "a50d" is the frame's own start and no status code is read across a byte
// boundary. Returns an empty string when clean, else what is wrong.
std::string CheckLiveFrame(const LiveFrame& frame, char previousChar);

}  // namespace metersim
