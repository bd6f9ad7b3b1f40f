#include "meterdata/recording.h"

#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <string>

namespace {

TEST(RateText, ReadsEveryListedIntervalAsADecimalNumber)
{
    const struct {
        const wchar_t* text;
        double seconds;
        UINT periodMs;
    } rates[] = { { L"0.1", 0.1, 100 }, { L"0.2", 0.2, 200 }, { L"0.5", 0.5, 500 }, { L"1", 1, 1000 },
        { L"1.5", 1.5, 1500 }, { L"2", 2, 2000 }, { L"2.5", 2.5, 2500 }, { L"3", 3, 3000 }, { L"5", 5, 5000 },
        { L"10", 10, 10000 } };
    for (const auto& rate : rates) {
        double seconds = -1;
        ASSERT_TRUE(ParseRateText(rate.text, &seconds));
        EXPECT_DOUBLE_EQ(seconds, rate.seconds);
        EXPECT_EQ(SamplePeriodMs(seconds), rate.periodMs);
    }
    double seconds = -1;
    EXPECT_TRUE(ParseRateText(L"2.5 s", &seconds)); // the leading number, as atof reads it
    EXPECT_DOUBLE_EQ(seconds, 2.5);
    EXPECT_FALSE(ParseRateText(L"", &seconds));
    EXPECT_FALSE(ParseRateText(L"fast", &seconds));
    EXPECT_EQ(seconds, 0);
    EXPECT_EQ(SamplePeriodMs(0), 0u);
    EXPECT_EQ(SamplePeriodMs(-1), 0u);
}

// A locale whose decimal point is a comma, built from the system's locale
// sources into a private directory.
class CommaLocale : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::string command = "localedef -i de_DE -f UTF-8 '" + m_dir.path() + "/de_DE.UTF-8' >/dev/null 2>&1";
        ASSERT_EQ(std::system(command.c_str()), 0) << "localedef and the locales package are needed";
        setenv("LOCPATH", m_dir.path().c_str(), 1);
        ASSERT_NE(std::setlocale(LC_NUMERIC, "de_DE.UTF-8"), nullptr);
    }
    void TearDown() override
    {
        std::setlocale(LC_NUMERIC, "C");
        unsetenv("LOCPATH");
    }
    testutil::TempDir m_dir;
};

TEST_F(CommaLocale, ARateReadsTheSameWhateverTheLocale)
{
    ASSERT_EQ(std::strtod("0.5", nullptr), 0.0); // the locale would cut "0.5" at its point
    double seconds = 0;
    ASSERT_TRUE(ParseRateText(L"0.5", &seconds));
    EXPECT_DOUBLE_EQ(seconds, 0.5);
    EXPECT_EQ(SamplePeriodMs(seconds), 500u);
}

TEST(SampleTick, HoldAndLinkComeBeforeTheLimit)
{
    EXPECT_EQ(DecideSampleTick(false, true, 0, 40000), ESampleTick::Take);
    EXPECT_EQ(DecideSampleTick(true, true, 0, 40000), ESampleTick::Skip);
    EXPECT_EQ(DecideSampleTick(false, false, 0, 40000), ESampleTick::Skip);
    EXPECT_EQ(DecideSampleTick(true, true, 40000, 40000), ESampleTick::Skip);
    EXPECT_EQ(DecideSampleTick(false, true, 39999, 40000), ESampleTick::Take);
    EXPECT_EQ(DecideSampleTick(false, true, 40000, 40000), ESampleTick::Stop);
    EXPECT_EQ(DecideSampleTick(false, true, 41000, 40000), ESampleTick::Stop);
}

TEST(SampleTick, ALimitOfNEndsWithExactlyNRecordsOnTheTickAfterTheLast)
{
    for (int limit : { 1, 2, 7 }) {
        INT_PTR count = 0;
        int stoppedAtTick = 0;
        for (int tick = 1; tick <= limit + 5 && !stoppedAtTick; ++tick) {
            switch (DecideSampleTick(tick == 2, true, count, limit)) { // the meter holds at tick 2
            case ESampleTick::Take:
                ++count;
                break;
            case ESampleTick::Stop:
                stoppedAtTick = tick;
                break;
            case ESampleTick::Skip:
                break;
            }
        }
        EXPECT_EQ(count, limit);
        EXPECT_EQ(stoppedAtTick, limit + 2) << limit; // the held tick took nothing
    }
}

TEST(Sample, CarriesTheClockTimeTheWeightingAndTheInterval)
{
    std::tm local {};
    local.tm_year = 2017 - 1900;
    local.tm_mon = 1;
    local.tm_mday = 1;
    local.tm_hour = 9;
    local.tm_min = 5;
    local.tm_sec = 3;
    CObjData* a = MakeSample(65.3, true, local, 0.1);
    CObjData* c = MakeSample(40.0, false, local, 10);
    EXPECT_EQ(a->m_strDateTime, CString(L"01-02-2017,09:05:03"));
    EXPECT_EQ(a->m_strUnit, CString(L"dBA"));
    EXPECT_EQ(c->m_strUnit, CString(L"dBC"));
    EXPECT_EQ(a->m_nRecordSet, 0);
    EXPECT_DOUBLE_EQ(a->m_dValue, 65.3);
    EXPECT_DOUBLE_EQ(c->m_dInterval, 10);
    delete a;
    delete c;
}

class Statistics : public ::testing::Test {
protected:
    Statistics() { ResetRecordingStatistics(stat); }
    ~Statistics() override { DeleteAllRecords(&records); }
    SSampleEffect Take(double value, const wchar_t* time, const wchar_t* unit = L"dBA")
    {
        records.Add(new CObjData(value, time, unit, 0, 0.5));
        return AddSampleToStatistics(stat, records);
    }
    SStatInfo stat;
    CObArray records;
};

TEST_F(Statistics, TheFirstSampleSetsEverything)
{
    const SSampleEffect effect = Take(65.3, L"01-02-2017,09:05:03");
    EXPECT_TRUE(effect.newMax);
    EXPECT_TRUE(effect.newMin);
    EXPECT_EQ(stat.startTime, CString(L"01-02-2017,09:05:03"));
    EXPECT_DOUBLE_EQ(stat.max, 65.3);
    EXPECT_DOUBLE_EQ(stat.min, 65.3);
    EXPECT_DOUBLE_EQ(stat.average, 65.3);
}

TEST_F(Statistics, EqualExtremesKeepTheEarliestTimeAndTheAverageFollowsTheCount)
{
    Take(60, L"t1");
    Take(70, L"t2", L"dBC");
    Take(50, L"t3");
    const SSampleEffect again = Take(70, L"t4");
    EXPECT_FALSE(again.newMax);
    EXPECT_FALSE(Take(50, L"t5").newMin);
    EXPECT_EQ(stat.maxTime, CString(L"t2"));
    EXPECT_EQ(stat.maxUnit, CString(L"dBC"));
    EXPECT_EQ(stat.minTime, CString(L"t3"));
    EXPECT_EQ(stat.startTime, CString(L"t1"));
    EXPECT_DOUBLE_EQ(stat.sum, 300);
    EXPECT_DOUBLE_EQ(stat.average, 60);
}

TEST_F(Statistics, AFirstLevelOf150NeverSetsTheMinimum)
{
    const SSampleEffect loud = Take(150, L"t1");
    EXPECT_TRUE(loud.newMax);
    EXPECT_FALSE(loud.newMin);
    EXPECT_TRUE(stat.minTime.IsEmpty());
    EXPECT_DOUBLE_EQ(stat.min, 150);
}

TEST_F(Statistics, AFirstLevelOfZeroNeverSetsTheMaximum)
{
    const SSampleEffect quiet = Take(0, L"t1");
    EXPECT_FALSE(quiet.newMax);
    EXPECT_TRUE(quiet.newMin);
    EXPECT_TRUE(stat.maxTime.IsEmpty());
    EXPECT_DOUBLE_EQ(stat.average, 0);
}

TEST(StatisticsReset, KeepsTheUnitsAndTheInterval)
{
    SStatInfo stat;
    stat.max = 99;
    stat.min = 3;
    stat.sum = 10;
    stat.average = 4;
    stat.maxTime = L"t";
    stat.minTime = L"t";
    stat.startTime = L"t";
    stat.maxUnit = L"dBC";
    stat.minUnit = L"dBA";
    stat.interval = 0.5;
    ResetRecordingStatistics(stat);
    EXPECT_EQ(stat.max, 0);
    EXPECT_EQ(stat.min, 150);
    EXPECT_EQ(stat.sum, 0);
    EXPECT_EQ(stat.average, 0);
    EXPECT_TRUE(stat.maxTime.IsEmpty() && stat.minTime.IsEmpty() && stat.startTime.IsEmpty());
    EXPECT_EQ(stat.maxUnit, CString(L"dBC"));
    EXPECT_EQ(stat.minUnit, CString(L"dBA"));
    EXPECT_EQ(stat.interval, 0.5);
}

} // namespace
