#include "logger_reply.h"
#include "receiver_rules.h"
#include "recordings.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>
#include <random>

using namespace metersim;

namespace {

Recording Make(bool a, int y, int mo, int d, int h, int mi, int s, int interval, std::vector<int> tenths)
{
    Recording r;
    r.weightingA = a;
    r.year = y;
    r.month = mo;
    r.day = d;
    r.hour = h;
    r.minute = mi;
    r.second = s;
    r.intervalSeconds = interval;
    r.tenths = std::move(tenths);
    return r;
}

std::vector<receiver::LoggedSample> Download(const LoggerReply& reply, const std::vector<uint8_t>& before = {})
{
    receiver::LogCollector collector;
    std::vector<uint8_t> line = before;
    line.insert(line.end(), reply.bytes.begin(), reply.bytes.end());
    collector.OnBytes(line);
    EXPECT_TRUE(collector.done());
    return collector.samples();
}

// Start time plus k intervals, in the receiver's date-time format.
std::string TimeOfSample(const Recording& r, int k)
{
    std::tm t{};
    t.tm_year = r.year - 1900;
    t.tm_mon = r.month - 1;
    t.tm_mday = r.day;
    t.tm_hour = r.hour;
    t.tm_min = r.minute;
    t.tm_sec = r.second + k * r.intervalSeconds;
    t.tm_isdst = -1;
    std::mktime(&t);
    char text[64];
    std::snprintf(text, sizeof(text), "%.2d-%.2d-%d,%d:%.2d:%.2d", t.tm_mday, t.tm_mon + 1, t.tm_year + 1900, t.tm_hour,
                  t.tm_min, t.tm_sec);
    return text;
}

void ExpectDownloadedAsStored(const std::vector<Recording>& stored, const std::vector<receiver::LoggedSample>& got)
{
    size_t at = 0;
    for (size_t n = 0; n < stored.size(); ++n) {
        const Recording& r = stored[n];
        for (size_t k = 0; k < r.tenths.size(); ++k, ++at) {
            ASSERT_LT(at, got.size());
            EXPECT_DOUBLE_EQ(got[at].value, r.tenths[k] / 10.0) << n << "/" << k;
            EXPECT_EQ(got[at].unit, r.weightingA ? "dBA" : "dBC");
            EXPECT_EQ(got[at].recording, static_cast<int>(n + 1));
            EXPECT_EQ(got[at].interval, r.intervalSeconds);
            EXPECT_EQ(got[at].dateTime, TimeOfSample(r, static_cast<int>(k))) << n << "/" << k;
        }
    }
    EXPECT_EQ(at, got.size());
}

}  // namespace

TEST(LoggerReply, EmptyLogger)
{
    const LoggerReply reply = BuildLoggerReply({});
    EXPECT_EQ(reply.bytes, (std::vector<uint8_t>{0xBB, 0x00, 0x64, 0xDD}));
    receiver::LogCollector collector;
    collector.OnBytes(reply.bytes);
    EXPECT_TRUE(collector.empty());
    EXPECT_EQ(collector.expected(), 2);
    EXPECT_EQ(CheckLoggerReply(reply), "");
}

TEST(LoggerReply, OneBlockByteForByte)
{
    const LoggerReply reply = BuildLoggerReply({Make(true, 2011, 6, 15, 13, 30, 0, 2, {653, 701})});
    const std::vector<uint8_t> expected = {0xBB, 0x00, 0x70, 0xAA, 0x11, 0x06, 0x15, 0x21, 0x30, 0x00,
                                           0x02, 0xAC, 0x06, 0x53, 0x07, 0x01, 0xDD};
    EXPECT_EQ(reply.bytes, expected);
    EXPECT_EQ(reply.markOffsets, std::vector<size_t>{11});
    const auto samples = Download(reply);
    ASSERT_EQ(samples.size(), 2u);
    EXPECT_EQ(samples[0].dateTime, "15-06-2011,13:30:00");
    EXPECT_EQ(samples[1].dateTime, "15-06-2011,13:30:02");
    EXPECT_DOUBLE_EQ(samples[1].value, 70.1);
}

TEST(LoggerReply, CountAndLayoutOfSeveralBlocks)
{
    const std::vector<Recording> stored = {
        Make(true, 2026, 12, 31, 23, 59, 58, 1, {450, 461, 472, 483}),  // over the year's end
        Make(false, 2024, 2, 28, 12, 0, 0, 99, {1000, 9999, 0}),         // leap day, noon
        Make(true, 2030, 1, 1, 0, 0, 0, 5, {}),                          // no samples
        Make(false, 2099, 7, 4, 9, 9, 9, 60, {5}),
    };
    const LoggerReply reply = BuildLoggerReply(stored);
    const size_t blocks = BlockBytes(stored);
    EXPECT_EQ(blocks, 4 * 9 + 2 * 8u);
    ASSERT_EQ(reply.bytes.size(), 3 + blocks + 1);
    EXPECT_EQ(reply.bytes[0], 0xBB);
    EXPECT_EQ((reply.bytes[1] << 8 | reply.bytes[2]) - 98, static_cast<int>(blocks + 1));
    EXPECT_EQ(reply.bytes.back(), 0xDD);
    ASSERT_EQ(reply.markOffsets.size(), 4u);
    size_t expectedMark = 3 + 8;
    for (size_t n = 0; n < stored.size(); ++n) {
        EXPECT_EQ(reply.markOffsets[n], expectedMark);
        EXPECT_EQ(reply.bytes[expectedMark], 0xAC);
        EXPECT_EQ(reply.bytes[expectedMark - 8], stored[n].weightingA ? 0xAA : 0xCC);
        expectedMark += 9 + 2 * stored[n].tenths.size();
    }
    EXPECT_EQ(CheckLoggerReply(reply), "");

    receiver::LogCollector collector;
    collector.OnBytes(reply.bytes);
    EXPECT_EQ(collector.expected(), static_cast<int>(blocks + 1));
    // The empty block still counts: the last recording is number 4.
    ExpectDownloadedAsStored(stored, collector.samples());
    EXPECT_EQ(collector.samples().back().recording, 4);
}

TEST(LoggerReply, LiveTextBeforeTheTagIsDropped)
{
    const std::vector<Recording> stored = GeneratedRecordings();
    // The tail of a live frame, then the reply, cut into odd chunks.
    const std::vector<uint8_t> before = {0xA5, 0x0D, 0x05, 0x21, 0xA5, 0x02, 0x00, 0x1B, 0xA5, 0x40, 0x00};
    ExpectDownloadedAsStored(stored, Download(BuildLoggerReply(stored), before));
}

TEST(LoggerReply, GeneratedRecordingsDifferAndPassTheChecks)
{
    const std::vector<Recording> stored = GeneratedRecordings();
    ASSERT_GE(stored.size(), 3u);
    for (size_t i = 0; i < stored.size(); ++i) {
        EXPECT_EQ(RecordingProblem(stored[i]), "") << i;
        EXPECT_FALSE(stored[i].tenths.empty());
        for (int t : stored[i].tenths) {
            EXPECT_GE(t, 350);
            EXPECT_LE(t, 830);
        }
        if (i > 0) {
            EXPECT_NE(stored[i].intervalSeconds, stored[i - 1].intervalSeconds);
            EXPECT_NE(stored[i].tenths.size(), stored[i - 1].tenths.size());
            EXPECT_NE(stored[i].day, stored[i - 1].day);
        }
    }
    EXPECT_EQ(CheckLoggerReply(BuildLoggerReply(stored)), "");
    EXPECT_EQ(GeneratedRecordings()[0].tenths, stored[0].tenths);
}

// Any storable recordings give a reply that the receiver's mark searches read
// right, with every sample back as stored.
TEST(LoggerReply, RandomRecordingsAreReadBackExactly)
{
    std::mt19937 rng(99);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (int round = 0; round < 300; ++round) {
        std::vector<Recording> stored;
        const int count = pick(1, 5);
        for (int n = 0; n < count; ++n) {
            std::vector<int> tenths(static_cast<size_t>(pick(0, 40)));
            for (int& t : tenths)
                t = pick(0, 9999);
            stored.push_back(Make(pick(0, 1), pick(2000, 2099), pick(1, 12), pick(1, 28), pick(0, 23), pick(0, 59),
                                  pick(0, 59), pick(1, 99), tenths));
        }
        const LoggerReply reply = BuildLoggerReply(stored);
        ASSERT_EQ(CheckLoggerReply(reply), "") << round;
        // After the count: nothing read as HOLD or as a frame start once the
        // download text is left to live decoding.
        const std::string text = receiver::Hex(reply.bytes).substr(6);
        ASSERT_EQ(text.find("ff"), std::string::npos);
        ASSERT_EQ(text.find("a50d"), std::string::npos);
        ExpectDownloadedAsStored(stored, Download(reply));
        if (HasFatalFailure() || HasNonfatalFailure())
            FAIL() << "round " << round;
    }
}

TEST(LoggerReply, CheckFindsFalseMarks)
{
    LoggerReply reply = BuildLoggerReply({Make(true, 2020, 5, 5, 5, 5, 5, 1, {653, 701, 702})});
    ASSERT_EQ(CheckLoggerReply(reply), "");

    LoggerReply falseMark = reply;
    falseMark.bytes[13] = 0x0A;  // first sample 0x06 0x53 becomes 0x0A 0xC?: "ac" across the boundary
    falseMark.bytes[14] = 0xC1;
    EXPECT_NE(CheckLoggerReply(falseMark), "");

    LoggerReply falseEnd = reply;
    falseEnd.bytes[14] = 0xDD;
    EXPECT_NE(CheckLoggerReply(falseEnd), "");

    LoggerReply falseTag = reply;
    falseTag.bytes.insert(falseTag.bytes.begin(), 0x0B);  // "b" before the tag
    EXPECT_NE(CheckLoggerReply(falseTag), "");

    LoggerReply earlyMark = reply;
    earlyMark.bytes[5] = 0xAC;  // a mark inside the header
    EXPECT_NE(CheckLoggerReply(earlyMark), "");
}

TEST(LoggerReply, RecordingProblems)
{
    const struct {
        Recording r;
        bool ok;
    } cases[] = {
        {Make(true, 2024, 2, 29, 0, 0, 0, 1, {}), true},
        {Make(true, 2023, 2, 29, 0, 0, 0, 1, {}), false},
        {Make(true, 2100, 1, 1, 0, 0, 0, 1, {}), false},
        {Make(true, 1999, 1, 1, 0, 0, 0, 1, {}), false},
        {Make(true, 2020, 13, 1, 0, 0, 0, 1, {}), false},
        {Make(true, 2020, 4, 31, 0, 0, 0, 1, {}), false},
        {Make(true, 2020, 1, 1, 24, 0, 0, 1, {}), false},
        {Make(true, 2020, 1, 1, 0, 60, 0, 1, {}), false},
        {Make(true, 2020, 1, 1, 0, 0, 0, 0, {}), false},
        {Make(true, 2020, 1, 1, 0, 0, 0, 100, {}), false},
        {Make(true, 2020, 1, 1, 0, 0, 0, 99, {0, 9999}), true},
        {Make(true, 2020, 1, 1, 0, 0, 0, 1, {10000}), false},
        {Make(true, 2020, 1, 1, 0, 0, 0, 1, {-1}), false},
    };
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(RecordingProblem(cases[i].r).empty(), cases[i].ok) << i;
}
