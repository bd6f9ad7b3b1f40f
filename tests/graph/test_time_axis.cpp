#include "graph/time_axis.h"

#include "graph_records.h"
#include "support/timing.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using graphtest::FreshGraph;
using graphtest::Records;

std::time_t Local(int year, int month, int day, int hour, int minute, int second)
{
    return testutil::LocalTime(year, month, day, hour, minute, second);
}

TEST(TimeText, ReadsPaddedUnpaddedAndEightBitTexts)
{
    const std::time_t expected = Local(2011, 3, 5, 9, 7, 3);
    for (const wchar_t* text : { L"05-03-2011,09:07:03", L"5-3-2011,9:7:3", L" 5-3-2011, 9:7:3 and more",
             L"05-03-2011,09:07:0\u0133" /* low byte '3' */ }) {
        std::time_t t = 0;
        EXPECT_TRUE(graph::ReadTimeText(text, &t)) << std::wstring(text).size();
        EXPECT_EQ(t, expected);
    }
}

TEST(TimeText, RefusesMissingFieldsAndOutOfRangeValues)
{
    for (const wchar_t* text : { L"05-13-2011,09:07:03", L"05-00-2011,09:07:03", L"05-03-1899,09:07:03",
             L"00-03-2011,09:07:03", L"32-03-2011,09:07:03", L"05-03-2011,24:07:03", L"05-03-2011,09:60:03",
             L"05-03-2011,09:07:60", L"05-03-2011,-1:07:03", L"05-03-2011,09:07", L"05/03/2011,09:07:03",
             L"05-03-2011 09:07:03", L"05-03-2011", L"", L"garbage",
             // Years the calendar conversion does not hold, down to ones no int holds.
             L"01-01-3001,00:00:00", L"31-12-2147483647,23:59:59", L"1-1--9999999999,0:0:0",
             L"1-1-99999999999999999999,0:0:0" }) {
        std::time_t t = 0;
        EXPECT_FALSE(graph::ReadTimeText(text, &t)) << std::wstring(text).size();
    }
}

TEST(TimeText, TickTimesReadBackAsTheyWereWritten)
{
    const std::time_t t = Local(2017, 2, 1, 9, 5, 3);
    CString full, label;
    ASSERT_TRUE(graph::FormatTickTime(t, &full, &label));
    EXPECT_EQ(full, CString(L"01-02-2017,09:05:03"));
    EXPECT_EQ(label, CString(L"09:05:03"));
    std::time_t back = 0;
    ASSERT_TRUE(graph::ReadTimeText(full, &back));
    EXPECT_EQ(back, t);
    EXPECT_EQ(graph::TimeOfDayLabel(L"01-02-2017,9:05:03"), CString(L"9:05:03"));
    EXPECT_EQ(graph::TimeOfDayLabel(L"a,b,c"), CString(L"b,c"));
    EXPECT_EQ(graph::TimeOfDayLabel(L"x,"), CString());
    EXPECT_EQ(graph::TimeOfDayLabel(L"no comma"), CString(L"no comma"));
}

// A 320 px plot at 1/16 sample per pixel: tick m lies over sample 4m.
class ScreenAxis : public ::testing::Test {
protected:
    ScreenAxis() : s(FreshGraph(320, 100)) {}
    void ExpectLabels(const graph::SScreenTimeAxis& axis, const std::vector<std::wstring>& labels)
    {
        ASSERT_EQ(axis.labels.labelled, static_cast<int>(labels.size()));
        for (size_t m = 0; m < labels.size(); ++m)
            EXPECT_EQ(axis.labels.label[m], CString(labels[m].c_str())) << "tick " << m;
    }
    SGraphState s;
    Records records;
};

TEST_F(ScreenAxis, AnEmptyGraphCountsFromItsFixedStartAtOneSecondPerSample)
{
    const graph::SScreenTimeAxis axis = graph::ScreenTimeAxis(s, records.Array());
    const int x[] = { 45, 109, 173, 237, 301, 365 };
    for (int m = 0; m < graph::kTimeTicks; ++m)
        EXPECT_EQ(axis.x[m], x[m]);
    ExpectLabels(axis, { L"00:00:00", L"00:00:04", L"00:00:08", L"00:00:12", L"00:00:16", L"00:00:20" });
    EXPECT_EQ(axis.labels.fullText[1], CString(L"23-07-2010,00:00:04"));
    EXPECT_FALSE(axis.labels.Failed());
}

TEST_F(ScreenAxis, TicksOverRecordsShowTheirOwnTimeText)
{
    for (int i = 0; i < 21; ++i)
        records.Add(50, i == 8 ? L"01-02-2017,9:05:03" : L"01-02-2017,10:00:00");
    ExpectLabels(graph::ScreenTimeAxis(s, records.Array()),
        { L"10:00:00", L"10:00:00", L"9:05:03", L"10:00:00", L"10:00:00", L"10:00:00" });
}

TEST_F(ScreenAxis, BeyondTheRecordsEachTickRepeatsTheStepBeforeIt)
{
    // The first tick beyond the records at m = 2, 3, 4 and 5 in turn.
    for (int firstBeyond = 2; firstBeyond <= 5; ++firstBeyond) {
        SCOPED_TRACE(firstBeyond);
        Records some;
        some.AddSeconds(4 * (firstBeyond - 1) + 1);
        ExpectLabels(graph::ScreenTimeAxis(s, some.Array()),
            { L"10:00:00", L"10:00:04", L"10:00:08", L"10:00:12", L"10:00:16", L"10:00:20" });
    }
    // The step is the one between the two ticks before, not the interval.
    records.Add(50, L"01-02-2017,10:00:00", L"dBA", 1.0);
    for (int i = 1; i < 4; ++i)
        records.Add(50, L"01-02-2017,10:00:01", L"dBA", 1.0);
    records.Add(50, L"01-02-2017,10:00:10", L"dBA", 1.0);
    const graph::SScreenTimeAxis axis = graph::ScreenTimeAxis(s, records.Array());
    ExpectLabels(axis, { L"10:00:00", L"10:00:10", L"10:00:20", L"10:00:30", L"10:00:40", L"10:00:50" });
    EXPECT_EQ(axis.labels.fullText[5], CString(L"01-02-2017,10:00:50"));
}

TEST_F(ScreenAxis, TheSecondTickBeyondTheRecordsCountsFromTheStart)
{
    records.AddSeconds(3);
    s.m_dXScale = 0.125; // 40 samples: tick 1 lies over sample 8, 8 s after the start
    ExpectLabels(graph::ScreenTimeAxis(s, records.Array()),
        { L"10:00:00", L"10:00:08", L"10:00:16", L"10:00:24", L"10:00:32", L"10:00:40" });
}

TEST_F(ScreenAxis, AStartTextThatDoesNotReadStopsTheAxisWhereItIsNeeded)
{
    for (int i = 0; i < 21; ++i)
        records.Add(50, L"05-13-2011,10:00:00");
    // Over the records the texts are never read.
    EXPECT_FALSE(graph::ScreenTimeAxis(s, records.Array()).labels.Failed());
    // Scrolled past them, tick 0 reads the start text.
    s.m_dXStart = 100;
    const graph::SScreenTimeAxis axis = graph::ScreenTimeAxis(s, records.Array());
    EXPECT_EQ(axis.labels.labelled, 0);
    EXPECT_EQ(axis.labels.failedText, CString(L"05-13-2011,10:00:00"));

    Records old;
    old.Add(50, L"05-03-1899,10:00:00");
    EXPECT_EQ(graph::ScreenTimeAxis(s, old.Array()).labels.labelled, 0);
}

TEST_F(ScreenAxis, ATickBeyondTheLastYearTheCalendarHoldsStopsTheAxis)
{
    records.Add(50, L"31-12-3000,23:59:59");
    s.m_dXStart = 100;
    const graph::SScreenTimeAxis axis = graph::ScreenTimeAxis(s, records.Array());
    ExpectLabels(axis, { L"23:59:59" });
    EXPECT_EQ(axis.labels.failedText, CString(L"31-12-3000,23:59:59"));

    // The same years as the records' own texts, over the records and past them.
    for (const wchar_t* text : { L"31-12-2147483647,23:59:59", L"1-1--9999999999,0:0:0" }) {
        Records far;
        for (int i = 0; i < 9; ++i)
            far.Add(65.3, text);
        for (double start : { 0.0, 4.0, 100.0 }) {
            s.m_dXStart = start;
            const graph::SScreenTimeAxis farAxis = graph::ScreenTimeAxis(s, far.Array());
            EXPECT_TRUE(farAxis.labels.Failed()) << start;
            EXPECT_EQ(farAxis.labels.failedText, CString(text)) << start;
        }
    }
}

TEST_F(ScreenAxis, ARecordTextThatDoesNotReadStopsTheTickThatExtendsIt)
{
    records.AddSeconds(4);
    records.Add(50, L"garbage");
    const graph::SScreenTimeAxis axis = graph::ScreenTimeAxis(s, records.Array());
    ExpectLabels(axis, { L"10:00:00", L"garbage" });
    EXPECT_EQ(axis.labels.failedText, CString(L"garbage"));
    EXPECT_TRUE(axis.labels.label[2].IsEmpty());
}

} // namespace
