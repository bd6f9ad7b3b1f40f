#include "live_frame.h"

#include "bcd.h"

namespace metersim {

namespace {

StatusCode SpeedCode(const MeterState& state)
{
    return state.fast ? StatusCode::Fast : StatusCode::Slow;
}

StatusCode MaxMinCode(const MeterState& state)
{
    switch (state.maxMin) {
    case MaxMinMode::Max: return StatusCode::Max;
    case MaxMinMode::Min: return StatusCode::Min;
    case MaxMinMode::Off: break;
    }
    return StatusCode::MaxMinOff;
}

StatusCode RecCode(const MeterState& state)
{
    return state.rec ? StatusCode::RecOn : StatusCode::RecOff;
}

StatusCode RangeCode(const MeterState& state)
{
    switch (state.range) {
    case Range::Low30to80: return StatusCode::Range30to80;
    case Range::Mid50to100: return StatusCode::Range50to100;
    case Range::High80to130: return StatusCode::Range80to130;
    case Range::Auto30to130: break;
    }
    return StatusCode::RangeAuto;
}

void PutItem(LiveFrame& frame, size_t at, StatusCode code)
{
    frame[at] = kFrameTag;
    frame[at + 1] = static_cast<uint8_t>(code);
}

}  // namespace

Limit LimitFor(Range range, int levelTenths)
{
    if (levelTenths < RangeLow(range) * 10)
        return Limit::Under;
    if (levelTenths > RangeHigh(range) * 10)
        return Limit::Over;
    return Limit::Inside;
}

Limit NextReportedLimit(Limit lastReported, Limit actual)
{
    if (lastReported == Limit::Over && actual == Limit::Under)
        return Limit::Inside;
    return actual;
}

LiveFrame BuildLiveFrame(const MeterState& state, int levelTenths, Limit limit, const TimeOfDay& time,
                         FrameKind kind)
{
    LiveFrame frame{};
    frame[0] = kFrameTag;
    frame[1] = kFrameStart;
    const BcdPair level = BcdTenths(levelTenths);
    frame[2] = level.high;
    frame[3] = level.low;
    PutItem(frame, 4, SpeedCode(state));
    frame[7] = state.weightingA ? kWeightingA : kWeightingC;
    if (kind == FrameKind::WithTime) {
        PutItem(frame, 8, StatusCode::Time);
        frame[10] = HourByte(time.hour);
        frame[11] = BcdByte(time.minute);
        frame[12] = BcdByte(time.second);
        PutItem(frame, 13, MaxMinCode(state));
        PutItem(frame, 15, RecCode(state));
        PutItem(frame, 17, RangeCode(state));
    } else {
        PutItem(frame, 8, MaxMinCode(state));
        PutItem(frame, 10, RecCode(state));
        PutItem(frame, 12, RangeCode(state));
        PutItem(frame, 14, limit == Limit::Under ? StatusCode::Under : StatusCode::LimitsClear);
        if (limit == Limit::Over)
            PutItem(frame, 16, StatusCode::Over);
    }
    return frame;
}

std::string HexText(const uint8_t* data, size_t length)
{
    std::string text;
    text.reserve(length * 2);
    for (size_t i = 0; i < length; ++i) {
        text += meterproto::kHexDigits[data[i] >> 4];
        text += meterproto::kHexDigits[data[i] & 0x0F];
    }
    return text;
}

char LastHexChar(uint8_t byte)
{
    return meterproto::kHexDigits[byte & 0x0F];
}

std::string CheckLiveFrame(const LiveFrame& frame, char previousChar)
{
    const std::string own = HexText(frame.data(), frame.size());
    // With the previous character in front, frame character i sits at i + 1.
    const std::string text = previousChar ? std::string(1, previousChar) + own : own;
    const size_t shift = previousChar ? 1 : 0;
    if (own.compare(0, 4, "a50d") != 0)
        return "frame does not start with a50d";
    if (text.find("ff") != std::string::npos)
        return "\"ff\" in " + text;
    if (text.find("bb") != std::string::npos)
        return "\"bb\" in " + text;
    for (size_t at = text.find("a5"); at != std::string::npos; at = text.find("a5", at + 1)) {
        if (at < shift || (at - shift) % 2 != 0)
            return "\"a5\" across a byte boundary at " + std::to_string(at) + " in " + text;
    }
    if (own.find("a50d", 1) != std::string::npos)
        return "second \"a50d\" in " + own;
    return {};
}

}  // namespace metersim
