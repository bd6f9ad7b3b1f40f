#include "afx/ctime.h"

CTime::CTime(int year, int month, int day, int hour, int minute, int second)
{
    const bool valid = year >= kMinYear && year <= kMaxYear && month >= 1 && month <= 12 && day >= 1 && day <= 31
                       && hour >= 0 && hour <= 23 && minute >= 0 && minute <= 59 && second >= 0 && second <= 59;
    if (!valid) {
        m_time = static_cast<std::time_t>(-1);
        return;
    }
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    tm.tm_isdst = -1;
    m_time = std::mktime(&tm);
}

std::tm* CTime::GetLocalTm(std::tm* tm) const
{
    std::time_t t = m_time;
    std::tm local{};
    if (!localtime_r(&t, &local) || local.tm_year < kMinYear - 1900 || local.tm_year > kMaxYear - 1900)
        return nullptr;
    *tm = local;
    return tm;
}
