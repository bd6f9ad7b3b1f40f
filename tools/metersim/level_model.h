// The sound level of a simulated room, and what the meter's display makes of it.
#pragma once

#include "meter_state.h"

#include <cstdint>
#include <random>

namespace metersim {

// A room that hums around a slowly drifting background (about 40-60 dB), with
// short loud events (voices, a door) now and then. Stays within 35-80 dB.
// The same seed gives the same sequence for the same steps.
class LevelModel {
public:
    explicit LevelModel(uint32_t seed);

    // Advances the room by dtSeconds (> 0) and returns the A-weighted level in
    // tenths of a dB. Fast time weighting follows changes within a step or
    // two; slow smooths them over about a second.
    int Step(double dtSeconds, bool fast);

private:
    std::mt19937 m_rng;
    double m_background;
    double m_noise = 0.0;
    double m_event = 0.0;         // extra dB of the current loud event
    double m_eventSeconds = 0.0;  // time left of the event
    double m_shown;
};

// What the display shows for a room level: C weighting reads a little higher
// (more of the room's low hum counts).
int WeightedTenths(int roomTenths, bool weightingA);

// The MAX or MIN hold of the display. Reset when the mode changes.
class PeakHold {
public:
    // The value to show for level in this mode; remembers the running peak
    // while the mode stays the same.
    int Show(MaxMinMode mode, int levelTenths);

private:
    MaxMinMode m_mode = MaxMinMode::Off;
    int m_peak = 0;
};

}  // namespace metersim
