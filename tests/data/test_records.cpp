#include "meterdata/records.h"

#include <gtest/gtest.h>

namespace {

// Counts destructions so a test can see that emptying an array frees records.
int g_destroyed = 0;

class CountedData : public CObjData {
public:
    using CObjData::CObjData;
    ~CountedData() override { ++g_destroyed; }
};

class RecordArrays : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_destroyed = 0;
        CreateRecordArrays();
    }
    void TearDown() override { DestroyRecordArrays(); }
};

TEST_F(RecordArrays, EmptyingDeletesEveryRecordAndLeavesNoElements)
{
    for (int i = 0; i < 5; ++i)
        g_pRealTimeRecords->Add(new CountedData(40.0 + i, L"01-02-2017,09:05:03", L"dBA", 0, 0.5));
    DeleteAllRecords(g_pRealTimeRecords);
    EXPECT_EQ(g_destroyed, 5);
    EXPECT_EQ(g_pRealTimeRecords->GetSize(), 0);
    DeleteAllRecords(nullptr);
}

TEST_F(RecordArrays, DestroyFreesBothArraysAndClearsThePointers)
{
    g_pRealTimeRecords->Add(new CountedData(1, L"", L"dBA", 0, 1));
    g_pLogRecords->Add(new CountedData(2, L"", L"dBC", 1, 1));
    g_pLogRecords->Add(new CountedData(3, L"", L"dBC", 2, 1));
    DestroyRecordArrays();
    EXPECT_EQ(g_destroyed, 3);
    EXPECT_EQ(g_pLogRecords, nullptr);
    EXPECT_EQ(g_pRealTimeRecords, nullptr);
    DestroyRecordArrays();
}

TEST_F(RecordArrays, CreatingAgainFreesTheEarlierRecords)
{
    g_pLogRecords->Add(new CountedData(2, L"", L"dBC", 1, 1));
    CreateRecordArrays();
    EXPECT_EQ(g_destroyed, 1);
    EXPECT_EQ(g_pLogRecords->GetSize(), 0);
}

TEST_F(RecordArrays, KeepsInsertionOrderAndTheFieldsGiven)
{
    g_pLogRecords->Add(new CObjData(65.3, L"01-02-2017,9:05:03", L"dBA", 1, 2.0));
    g_pLogRecords->Add(new CObjData(66.0, L"01-02-2017,9:05:05", L"dBC", 2, 2.0));
    CObjData* first = RecordAt(*g_pLogRecords, 0);
    CObjData* second = RecordAt(*g_pLogRecords, 1);
    EXPECT_DOUBLE_EQ(first->m_dValue, 65.3);
    EXPECT_EQ(first->m_strDateTime, CString(L"01-02-2017,9:05:03"));
    EXPECT_EQ(first->m_strUnit, CString(L"dBA"));
    EXPECT_EQ(first->m_nRecordSet, 1);
    EXPECT_DOUBLE_EQ(first->m_dInterval, 2.0);
    EXPECT_EQ(second->m_nRecordSet, 2);
    EXPECT_EQ(second->m_strUnit, CString(L"dBC"));
}

TEST(StatInfo, CopyIsIndependentOfTheSource)
{
    SStatInfo source;
    EXPECT_TRUE(source.maxTime.IsEmpty());
    EXPECT_TRUE(source.startTime.IsEmpty());
    source.max = 90.5;
    source.min = 30.25;
    source.average = 60;
    source.sum = 120;
    source.interval = 0.5;
    source.maxTime = L"01-02-2017,09:05:03";
    source.maxUnit = L"dBA";
    source.minUnit = L"dBC";
    source.minTime = L"01-02-2017,09:05:04";
    source.startTime = L"01-02-2017,09:05:02";

    SStatInfo copy(source);
    copy.max = 1;
    copy.maxTime = L"changed";
    copy.minUnit = L"changed";
    EXPECT_DOUBLE_EQ(source.max, 90.5);
    EXPECT_EQ(source.maxTime, CString(L"01-02-2017,09:05:03"));
    EXPECT_EQ(source.minUnit, CString(L"dBC"));
    EXPECT_DOUBLE_EQ(copy.min, 30.25);
    EXPECT_DOUBLE_EQ(copy.average, 60);
    EXPECT_DOUBLE_EQ(copy.sum, 120);
    EXPECT_DOUBLE_EQ(copy.interval, 0.5);
    EXPECT_EQ(copy.maxUnit, CString(L"dBA"));
    EXPECT_EQ(copy.minTime, CString(L"01-02-2017,09:05:04"));
    EXPECT_EQ(copy.startTime, CString(L"01-02-2017,09:05:02"));
}

TEST(SampleDateTime, RealTimeTextIsZeroPaddedWithAFourDigitYear)
{
    std::tm moment {};
    moment.tm_mday = 1;
    moment.tm_mon = 1;
    moment.tm_year = 117;
    moment.tm_hour = 9;
    moment.tm_min = 5;
    moment.tm_sec = 3;
    EXPECT_EQ(FormatSampleDateTime(moment), CString(L"01-02-2017,09:05:03"));
    moment.tm_mday = 31;
    moment.tm_mon = 11;
    moment.tm_hour = 23;
    moment.tm_min = 59;
    moment.tm_sec = 59;
    EXPECT_EQ(FormatSampleDateTime(moment), CString(L"31-12-2017,23:59:59"));
}

} // namespace
