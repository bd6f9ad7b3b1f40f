// Clock times in whole seconds, local time.
#pragma once

#include <ctime>

// A time of the years 1900 to 3000: the calendar conversions hold no
// others, either way.
class CTime {
public:
    CTime() = default;
    explicit CTime(std::time_t t) : m_time(t) {}
    // Local date and time; an impossible date, or a year out of the range
    // above, gives the time -1.
    CTime(int year, int month, int day, int hour, int minute, int second);

    std::time_t GetTime() const { return m_time; }
    // The local date and time in *tm; null when the time lies outside the
    // years above.
    std::tm* GetLocalTm(std::tm* tm) const;

private:
    static constexpr int kMinYear = 1900;
    static constexpr int kMaxYear = 3000;
    std::time_t m_time = 0;
};
