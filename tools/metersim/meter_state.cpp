#include "meter_state.h"

#include <string>

namespace metersim {

bool IsKeyByte(uint8_t byte)
{
    switch (static_cast<MeterKey>(byte)) {
    case MeterKey::Stop:
    case MeterKey::Rec:
    case MeterKey::MaxMin:
    case MeterKey::FastSlow:
    case MeterKey::Level:
    case MeterKey::AC:
        return true;
    }
    return false;
}

const char* KeyName(MeterKey key)
{
    switch (key) {
    case MeterKey::Stop: return "Stop";
    case MeterKey::Rec: return "REC";
    case MeterKey::MaxMin: return "MaxMin";
    case MeterKey::FastSlow: return "FastSlow";
    case MeterKey::Level: return "Level";
    case MeterKey::AC: return "AC";
    }
    return "?";
}

bool PressKey(MeterState& state, MeterKey key)
{
    if (key == MeterKey::Stop) {
        state.hold = !state.hold;
        return true;
    }
    if (state.hold)
        return false;
    switch (key) {
    case MeterKey::Rec:
        state.rec = !state.rec;
        break;
    case MeterKey::MaxMin:
        state.maxMin = state.maxMin == MaxMinMode::Off ? MaxMinMode::Max
                     : state.maxMin == MaxMinMode::Max ? MaxMinMode::Min
                                                       : MaxMinMode::Off;
        break;
    case MeterKey::FastSlow:
        state.fast = !state.fast;
        break;
    case MeterKey::Level:
        state.range = state.range == Range::Auto30to130 ? Range::Low30to80
                                                        : static_cast<Range>(static_cast<int>(state.range) + 1);
        break;
    case MeterKey::AC:
        state.weightingA = !state.weightingA;
        break;
    case MeterKey::Stop:
        break;
    }
    return true;
}

int RangeLow(Range range)
{
    switch (range) {
    case Range::Low30to80: return 30;
    case Range::Mid50to100: return 50;
    case Range::High80to130: return 80;
    case Range::Auto30to130: return 30;
    }
    return 30;
}

int RangeHigh(Range range)
{
    switch (range) {
    case Range::Low30to80: return 80;
    case Range::Mid50to100: return 100;
    case Range::High80to130: return 130;
    case Range::Auto30to130: return 130;
    }
    return 130;
}

std::string StateLine(const MeterState& state)
{
    const char* maxMin = state.maxMin == MaxMinMode::Max ? "max" : state.maxMin == MaxMinMode::Min ? "min" : "off";
    return std::string("state hold ") + (state.hold ? "on" : "off") + " rec " + (state.rec ? "on" : "off")
         + " maxmin " + maxMin + " speed " + (state.fast ? "fast" : "slow") + " range "
         + std::to_string(static_cast<int>(state.range)) + " weighting " + (state.weightingA ? "A" : "C");
}

}  // namespace metersim
