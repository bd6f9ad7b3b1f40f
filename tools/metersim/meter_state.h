// What the simulated meter shows, and what its keys do to it.
#pragma once

#include "meterproto/meter_keys.h"

#include <cstdint>
#include <string>

namespace metersim {

// Measuring ranges, numbered as the meter reports them.
enum class Range { Low30to80 = 1, Mid50to100 = 2, High80to130 = 3, Auto30to130 = 4 };

enum class MaxMinMode { Off, Max, Min };

// The state of the meter's annunciators. The level itself lives in the level
// model; this is everything a key can change.
struct MeterState {
    bool fast = true;
    bool weightingA = true;
    bool rec = false;
    bool hold = false;
    MaxMinMode maxMin = MaxMinMode::Off;
    Range range = Range::Auto30to130;
};

// Single command bytes the meter takes as presses of its own keys (the
// sender's own command bytes).
enum class MeterKey : uint8_t {
    Stop = MeterKeyCommand[METER_KEY_STOP],
    Rec = MeterKeyCommand[METER_KEY_REC],
    MaxMin = MeterKeyCommand[METER_KEY_MAXMIN],
    FastSlow = MeterKeyCommand[METER_KEY_FASTSLOW],
    Level = MeterKeyCommand[METER_KEY_LEVEL],
    AC = MeterKeyCommand[METER_KEY_AC],
};

// True when byte is one of the key command bytes.
bool IsKeyByte(uint8_t byte);

// Short name of a key ("Stop", "REC", "MaxMin", "FastSlow", "Level", "AC").
const char* KeyName(MeterKey key);

// Applies one press of key. Stop toggles HOLD; while held every other key is
// ignored, as the meter's frozen display does. Returns true when the press
// changed the state.
bool PressKey(MeterState& state, MeterKey key);

// The answer to the "state" control command: "state hold off rec on maxmin
// max speed fast range 4 weighting A".
std::string StateLine(const MeterState& state);

// Lower and upper end of a range in whole dB.
int RangeLow(Range range);
int RangeHigh(Range range);

}  // namespace metersim
