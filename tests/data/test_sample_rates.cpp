#include "meterdata/sample_rates.h"

#include <gtest/gtest.h>

#include <cwchar>

namespace {

TEST(SampleRates, EveryListShowsTheSameIntervalsInTheSameOrder)
{
    const double expected[] = { 0.1, 0.2, 0.5, 1, 1.5, 2, 2.5, 3, 5, 10 };
    for (int i = 0; i < kSampleRateCount; ++i) {
        EXPECT_DOUBLE_EQ(kSampleRates[i].seconds, expected[i]);
        EXPECT_DOUBLE_EQ(std::wcstod(kSampleRates[i].listText, nullptr), expected[i]);
        EXPECT_DOUBLE_EQ(std::wcstod(kSampleRates[i].setupText, nullptr), expected[i]);
    }
    EXPECT_DOUBLE_EQ(kSampleRates[kDefaultSampleRate].seconds, 0.5);
}

TEST(SampleRates, TheRateListEntryIsFoundByItsOneDecimalText)
{
    EXPECT_EQ(RateIndexOf(0.1), 0);
    EXPECT_EQ(RateIndexOf(1), 3);
    EXPECT_EQ(RateIndexOf(2.0), 5);
    EXPECT_EQ(RateIndexOf(10), 9);
    EXPECT_EQ(RateIndexOf(9.99), 9) << "10.0 as \"%.1f\"";
    EXPECT_EQ(RateIndexOf(4), -1);
    EXPECT_EQ(RateIndexOf(60), -1);
    EXPECT_EQ(RateIndexOf(0), -1);
}

} // namespace
