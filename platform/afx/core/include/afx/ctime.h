// Clock times in whole seconds, local time.
#pragma once

#include <ctime>

#include "afx/cstring.h"
#include "win32/types.h"

class CTimeSpan {
public:
    CTimeSpan() = default;
    explicit CTimeSpan(long long seconds) : m_span(seconds) {}
    CTimeSpan(long days, int hours, int minutes, int seconds)
        : m_span(((static_cast<long long>(days) * 24 + hours) * 60 + minutes) * 60 + seconds) {}
    long long GetTotalSeconds() const { return m_span; }

private:
    long long m_span = 0;
};

// A time of the years kMinYear to kMaxYear: the calendar conversions hold no
// others, either way.
class CTime {
public:
    static constexpr int kMinYear = 1900;
    static constexpr int kMaxYear = 3000;

    CTime() = default;
    explicit CTime(std::time_t t) : m_time(t) {}
    // Local date and time; an impossible date, or a year out of the range
    // above, gives the time -1.
    CTime(int year, int month, int day, int hour, int minute, int second);

    static CTime GetCurrentTime();
    std::time_t GetTime() const { return m_time; }
    // The local date and time in *tm; null when the time lies outside the
    // years above. The fields below are then those of a zeroed tm.
    std::tm* GetLocalTm(std::tm* tm) const;
    int GetYear() const;
    int GetMonth() const;
    int GetDay() const;
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    // strftime formats (%Y, %m, %d, %H, %M, %S, ...).
    CString Format(LPCWSTR format) const;

    CTimeSpan operator-(const CTime& other) const { return CTimeSpan(m_time - other.m_time); }
    CTime operator+(const CTimeSpan& span) const { return CTime(m_time + span.GetTotalSeconds()); }
    CTime operator-(const CTimeSpan& span) const { return CTime(m_time - span.GetTotalSeconds()); }
    bool operator==(const CTime& o) const { return m_time == o.m_time; }
    bool operator!=(const CTime& o) const { return m_time != o.m_time; }
    bool operator<(const CTime& o) const { return m_time < o.m_time; }
    bool operator>(const CTime& o) const { return m_time > o.m_time; }
    bool operator<=(const CTime& o) const { return m_time <= o.m_time; }
    bool operator>=(const CTime& o) const { return m_time >= o.m_time; }

private:
    std::tm Local() const;
    std::time_t m_time = 0;
};
