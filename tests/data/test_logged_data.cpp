// The logged-data window's sums without a window: its rows, the records of
// one recording, their statistics and the rate list's entry.
#include "meterdata/logged_data.h"

#include <gtest/gtest.h>

namespace {

struct Logged {
    CObArray records;
    ~Logged() { DeleteAllRecords(&records); }
    void Add(int set, double value, const wchar_t* time = L"t", const wchar_t* unit = L"dBA", double interval = 1)
    {
        records.Add(new CObjData(value, time, unit, set, interval));
    }
};

TEST(LoggedData, RunsOfRecordingNumbersBecomeRowsWithTheirLengths)
{
    Logged logged;
    logged.Add(1, 50, L"a", L"dBA", 2);
    logged.Add(1, 51);
    logged.Add(2, 52, L"b", L"dBC", 5);
    logged.Add(2, 53);
    logged.Add(2, 54);
    logged.Add(1, 55, L"c", L"dBA", 1);
    const std::vector<SRecordingRow> rows = RecordingRows(logged.records);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].recordSet, 1);
    EXPECT_EQ(rows[0].count, 2);
    EXPECT_EQ(rows[0].dateTime, L"a");
    EXPECT_DOUBLE_EQ(rows[0].interval, 2);
    EXPECT_EQ(rows[1].recordSet, 2);
    EXPECT_EQ(rows[1].count, 3);
    EXPECT_EQ(rows[1].unit, L"dBC");
    EXPECT_EQ(rows[2].recordSet, 1);
    EXPECT_EQ(rows[2].count, 1);
    EXPECT_EQ(rows[2].dateTime, L"c");

    // Loading ID 1 takes both of its runs.
    CObArray one;
    SelectRecording(logged.records, 1, one);
    ASSERT_EQ(one.GetSize(), 3);
    EXPECT_DOUBLE_EQ(RecordAt(one, 2)->m_dValue, 55);

    Logged single;
    single.Add(0, 60);
    ASSERT_EQ(RecordingRows(single.records).size(), 1u);
    EXPECT_EQ(RecordingRows(single.records)[0].count, 1);
    EXPECT_TRUE(RecordingRows(CObArray()).empty());
}

TEST(LoggedData, StatisticsStartFromZeroAndOneHundredThirtyAndKeepTheEarliestOfEqualValues)
{
    Logged logged;
    logged.Add(1, 60, L"first", L"dBA", 10);
    logged.Add(1, 80, L"max1", L"dBC");
    logged.Add(1, 40, L"min1", L"dBA");
    logged.Add(1, 80, L"max2", L"dBA");
    logged.Add(1, 40, L"min2", L"dBC");
    SStatInfo stat;
    ASSERT_TRUE(LoadedStatistics(logged.records, &stat));
    EXPECT_DOUBLE_EQ(stat.max, 80);
    EXPECT_EQ(stat.maxTime, L"max1");
    EXPECT_EQ(stat.maxUnit, L"dBC");
    EXPECT_DOUBLE_EQ(stat.min, 40);
    EXPECT_EQ(stat.minTime, L"min1");
    EXPECT_EQ(stat.minUnit, L"dBA");
    EXPECT_DOUBLE_EQ(stat.sum, 300);
    EXPECT_DOUBLE_EQ(stat.average, 60);
    EXPECT_DOUBLE_EQ(stat.interval, 10);
    EXPECT_EQ(stat.startTime, L"first");

    Logged loud;
    loud.Add(1, 130, L"a");
    loud.Add(1, 140, L"b");
    ASSERT_TRUE(LoadedStatistics(loud.records, &stat));
    EXPECT_DOUBLE_EQ(stat.min, 130);
    EXPECT_TRUE(stat.minTime.IsEmpty());
    EXPECT_EQ(stat.maxTime, L"b");

    Logged quiet;
    quiet.Add(1, 0, L"a");
    quiet.Add(1, -5, L"b");
    ASSERT_TRUE(LoadedStatistics(quiet.records, &stat));
    EXPECT_DOUBLE_EQ(stat.max, 0);
    EXPECT_TRUE(stat.maxTime.IsEmpty());

    // No records: nothing to divide, nothing changed.
    stat.average = 12.5;
    EXPECT_FALSE(LoadedStatistics(CObArray(), &stat));
    EXPECT_DOUBLE_EQ(stat.average, 12.5);
}

}  // namespace
