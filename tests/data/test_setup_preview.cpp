#include "meterdata/setup_preview.h"
#include "support/timing.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

std::time_t Local(int year, int month, int day, int hour, int minute, int second)
{
    return testutil::LocalTime(year, month, day, hour, minute, second);
}

CString Unpadded(std::time_t t)
{
    std::tm local {};
    localtime_r(&t, &local);
    CString text;
    text.Format(L"%d-%d-%d,%d:%d:%d", local.tm_mday, local.tm_mon + 1, local.tm_year + 1900, local.tm_hour,
        local.tm_min, local.tm_sec);
    return text;
}

TEST(SetupPreview, DurationsOfTheListedCases)
{
    const std::time_t now = Local(2026, 12, 9, 10, 0, 0);
    const struct {
        int points;
        double interval;
        const wchar_t* duration;
        long long seconds;
    } cases[] = {
        { 40000, 0.5, L"5 hour 33 minute 20 second", 20000 },
        { 40000, 10, L"111 hour 6 minute 40 second", 400000 },
        { 40000, 0.1, L"1 hour 6 minute 40 second", 4000 },
        { 1, 0.1, L"0 hour 0 minute 0 second", 0 },
        { 3, 0.1, L"0 hour 0 minute 0 second", 0 },
        { 10, 0.1, L"0 hour 0 minute 1 second", 1 },
        { 7200, 0.5, L"1 hour 0 minute 0 second", 3600 },
        { 7, 1.5, L"0 hour 0 minute 10 second", 10 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.points);
        const SSetupPreview preview = ComputeSetupPreview(c.points, c.interval, now);
        EXPECT_EQ(preview.duration, CString(c.duration));
        EXPECT_EQ(preview.start, Unpadded(now));
        EXPECT_EQ(preview.end, Unpadded(now + c.seconds));
    }
}

TEST(SetupPreview, TimesAreWrittenWithoutLeadingZeros)
{
    const SSetupPreview preview = ComputeSetupPreview(20, 0.5, Local(2011, 3, 5, 9, 7, 3));
    EXPECT_EQ(preview.start, CString(L"5-3-2011,9:7:3"));
    EXPECT_EQ(preview.end, CString(L"5-3-2011,9:7:13"));
}

TEST(SetupPreview, RefusedAndHugeCountsDoNotOverflowTheTime)
{
    const std::time_t now = Local(2026, 12, 9, 10, 0, 0);
    const SSetupPreview negative = ComputeSetupPreview(-5, 0.5, now);
    EXPECT_EQ(negative.duration, CString(L"0 hour 0 minute -2 second"));
    EXPECT_EQ(negative.end, Unpadded(now - 2));
    // INT_MAX points of 10 s reach beyond 32-bit seconds, into year 2707.
    const SSetupPreview huge = ComputeSetupPreview(INT_MAX, 10, now);
    EXPECT_EQ(huge.duration, CString(L"5965232 hour 21 minute 10 second"));
    EXPECT_EQ(huge.end, Unpadded(now + static_cast<long long>(INT_MAX) * 10));
    EXPECT_NE(huge.end.Find(L"-2707,"), -1);
    const SSetupPreview least = ComputeSetupPreview(INT_MIN, 10, now);
    EXPECT_FALSE(least.duration.IsEmpty());
    EXPECT_FALSE(least.start.IsEmpty());
}

} // namespace
