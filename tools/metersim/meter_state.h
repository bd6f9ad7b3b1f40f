// What the simulated meter shows, and what its keys do to it.
#pragma once

#include <cstdint>

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

// Single command bytes the meter takes as presses of its own keys.
enum class MeterKey : uint8_t {
    Stop = 0x33,
    Rec = 0x55,
    MaxMin = 0x11,
    FastSlow = 0x77,
    Level = 0x88,
    AC = 0x99,
};

// True when byte is one of the key command bytes.
bool IsKeyByte(uint8_t byte);

// Short name of a key ("Stop", "REC", "MaxMin", "FastSlow", "Level", "AC").
const char* KeyName(MeterKey key);

// Applies one press of key. Stop toggles HOLD; while held every other key is
// ignored, as the meter's frozen display does. Returns true when the press
// changed the state.
bool PressKey(MeterState& state, MeterKey key);

// Lower and upper end of a range in whole dB.
int RangeLow(Range range);
int RangeHigh(Range range);

}  // namespace metersim
