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

#include <array>
#include <cstdint>
#include <string>

namespace metersim {

using LiveFrame = std::array<uint8_t, 20>;

constexpr uint8_t kFrameTag = 0xA5;
constexpr uint8_t kFrameStart = 0x0D;
constexpr uint8_t kHoldByte = 0xFF;
constexpr uint8_t kWeightingA = 0x1B;
constexpr uint8_t kWeightingC = 0x1C;

// Codes that follow kFrameTag.
enum class StatusCode : uint8_t {
    Fast = 0x02,
    Slow = 0x03,
    Max = 0x04,
    Min = 0x05,
    Time = 0x06,
    Over = 0x07,
    Under = 0x08,
    RecOn = 0x0A,
    MaxMinOff = 0x0E,
    LimitsClear = 0x11,
    RecOff = 0x1A,
    Range30to80 = 0x30,
    Range50to100 = 0x4B,
    Range80to130 = 0x4C,
    RangeAuto = 0x40,
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

// Checks a frame as it stands on the line after a byte whose hex text ended
// in previousChar (0 when nothing came before): no "ff" (read as HOLD), no
// "bb" (read as a logger reply), and "a5" only at byte starts, so that the one
// "a50d" is the frame's own start and no status code is read across a byte
// boundary. Returns an empty string when clean, else what is wrong.
std::string CheckLiveFrame(const LiveFrame& frame, char previousChar);

}  // namespace metersim
