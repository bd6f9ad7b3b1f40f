#include "level_model.h"

#include <algorithm>
#include <cmath>

namespace metersim {

LevelModel::LevelModel(uint32_t seed)
    : m_rng(seed)
    , m_background(48.0)
    , m_shown(48.0)
{
}

int LevelModel::Step(double dtSeconds, bool fast)
{
    dtSeconds = std::clamp(dtSeconds, 0.001, 10.0);
    std::normal_distribution<double> gauss(0.0, 1.0);
    std::uniform_real_distribution<double> uniform(0.0, 1.0);

    // Background: a random walk pulled back towards the middle of 40-60 dB.
    m_background += 0.6 * std::sqrt(dtSeconds) * gauss(m_rng) - 0.02 * dtSeconds * (m_background - 50.0);
    m_background = std::clamp(m_background, 40.0, 60.0);

    // Fluctuation around it that forgets itself within a second or so.
    const double keep = std::exp(-dtSeconds / 0.8);
    m_noise = keep * m_noise + std::sqrt(1.0 - keep * keep) * 2.5 * gauss(m_rng);

    // About one loud event every 15 s, lasting 0.5-4 s, 6-20 dB above the room.
    if (m_eventSeconds > 0.0) {
        m_eventSeconds -= dtSeconds;
        if (m_eventSeconds <= 0.0)
            m_event = 0.0;
    } else if (uniform(m_rng) < dtSeconds / 15.0) {
        m_event = 6.0 + 14.0 * uniform(m_rng);
        m_eventSeconds = 0.5 + 3.5 * uniform(m_rng);
    }

    // Levels add as powers, so an event barely moves a loud background.
    const double room = m_background + m_noise;
    double target = room;
    if (m_event > 0.0)
        target = 10.0 * std::log10(std::pow(10.0, room / 10.0) + std::pow(10.0, (m_background + m_event) / 10.0));
    target = std::clamp(target, 35.0, 80.0);

    const double timeConstant = fast ? 0.125 : 1.0;
    m_shown += (target - m_shown) * (1.0 - std::exp(-dtSeconds / timeConstant));
    return static_cast<int>(std::lround(m_shown * 10.0));
}

int WeightedTenths(int roomTenths, bool weightingA)
{
    return std::clamp(weightingA ? roomTenths : roomTenths + 25, 0, 9999);
}

int PeakHold::Show(MaxMinMode mode, int levelTenths)
{
    if (mode != m_mode) {
        m_mode = mode;
        m_peak = levelTenths;
    }
    if (mode == MaxMinMode::Max)
        m_peak = std::max(m_peak, levelTenths);
    else if (mode == MaxMinMode::Min)
        m_peak = std::min(m_peak, levelTenths);
    else
        return levelTenths;
    return m_peak;
}

}  // namespace metersim
