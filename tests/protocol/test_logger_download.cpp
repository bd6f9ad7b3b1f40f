// The logger download as the reader thread sees it: the collector following
// the reply chunk by chunk, and the parser turning blocks into samples.
#include "frames.h"

#include "meterproto/logger_parse.h"
#include "meterproto/logger_reply.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

void PrintTo(const CString& text, std::ostream* os)
{
    for (int i = 0; i < text.GetLength(); ++i)
        *os << static_cast<char>(text[i] < 0x80 ? text[i] : '?');
}

namespace {

using meterproto::CollectLogChunk;
using meterproto::ELogStep;
using meterproto::ParseLoggerText;
using meterproto::SLogChunk;
using meterproto::SLogCollector;
using prototest::Bytes;
using prototest::Hex;

struct Download {
    CString strRx;
    SLogCollector collector;
    int logBytes = 0;

    SLogChunk Chunk(const Bytes& bytes)
    {
        logBytes += static_cast<int>(bytes.size());
        return CollectLogChunk(Hex(bytes), strRx, collector, logBytes);
    }
};

// The download text of the bytes after the reply header, as the collector hands it over.
CString Text(const Bytes& bytes)
{
    return Hex(bytes);
}

struct Expected {
    double value;
    const wchar_t* dateTime;
    const wchar_t* unit;
    int recordSet;
    double interval;
};

void ExpectSamples(const meterproto::SLoggerData& data, const std::vector<Expected>& expected)
{
    ASSERT_EQ(data.samples.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_DOUBLE_EQ(data.samples[i].value, expected[i].value);
        EXPECT_EQ(data.samples[i].dateTime, expected[i].dateTime);
        EXPECT_EQ(data.samples[i].unit, expected[i].unit);
        EXPECT_EQ(data.samples[i].recordSet, expected[i].recordSet);
        EXPECT_DOUBLE_EQ(data.samples[i].interval, expected[i].interval);
    }
}

const Bytes kExampleBlock = { 0xAA, 0x11, 0x06, 0x15, 0x21, 0x30, 0x00, 0x02, 0xAC, 0x06, 0x53, 0x07, 0x01 };

Bytes Join(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

TEST(LogCollector, AnEmptyLoggerEndsTheDownloadAtOnce)
{
    Download d;
    d.strRx = L"a50d0650"; // live text left in the buffer
    const SLogChunk chunk = d.Chunk({ 0xBB, 0x00, 0x64, 0xDD });
    EXPECT_EQ(chunk.step, ELogStep::Empty);
    EXPECT_TRUE(d.collector.replySeen);
    EXPECT_EQ(d.collector.expected, 2);
}

TEST(LogCollector, CompletesAReplyHeaderSplitOverChunksAndDropsWhatCameBefore)
{
    Download d;
    EXPECT_EQ(d.Chunk({ 0xA5, 0x0D, 0x06, 0x50 }).step, ELogStep::Waiting);
    EXPECT_EQ(d.Chunk({ 0x00, 0xBB }).step, ELogStep::Waiting);
    EXPECT_FALSE(d.collector.replySeen);
    EXPECT_EQ(d.strRx, L"bb");
    EXPECT_EQ(d.Chunk({ 0x01, 0x2C, 0xAA, 0x11 }).step, ELogStep::Receiving);
    EXPECT_TRUE(d.collector.replySeen);
    EXPECT_EQ(d.collector.expected, 0x12C - 98);
    EXPECT_EQ(d.logBytes, 2) << "the whole bytes after the header";
    EXPECT_EQ(d.strRx, L"aa11");
}

TEST(LogCollector, HandsOverTheTextUpToTheFirstEndMarkAndKeepsWhatFollows)
{
    Download d;
    d.Chunk({ 0xBB, 0x00, 0x70 });
    const Bytes first(kExampleBlock.begin(), kExampleBlock.begin() + 10);
    const Bytes rest(kExampleBlock.begin() + 10, kExampleBlock.end());
    EXPECT_EQ(d.Chunk(first).step, ELogStep::Receiving);
    EXPECT_EQ(d.logBytes, 10);
    const SLogChunk done = d.Chunk(Join({ rest, { 0xDD, 0xA5, 0x0D } }));
    ASSERT_EQ(done.step, ELogStep::Complete);
    EXPECT_EQ(done.text, Text(Join({ kExampleBlock, { 0xDD } })));
    EXPECT_EQ(d.logBytes, 0);
    EXPECT_EQ(d.strRx, L"a50d");
}

TEST(LogCollector, AHeaderChunkThatHoldsTheWholeReplyCompletesIt)
{
    Download d;
    const SLogChunk done = d.Chunk(Join({ { 0x12, 0xBB, 0x00, 0x70 }, kExampleBlock, { 0xDD } }));
    ASSERT_EQ(done.step, ELogStep::Complete);
    EXPECT_EQ(done.text, Text(Join({ kExampleBlock, { 0xDD } })));
}

TEST(LogCollector, AnEndMarkAcrossTwoChunksIsTakenOnlyWhenAChunkHoldsOne)
{
    Download d;
    d.Chunk({ 0xBB, 0x00, 0x70 });
    EXPECT_EQ(d.Chunk({ 0x0D }).step, ELogStep::Receiving);
    EXPECT_EQ(d.Chunk({ 0xD0 }).step, ELogStep::Receiving);
    const SLogChunk done = d.Chunk({ 0x01, 0xDD });
    ASSERT_EQ(done.step, ELogStep::Complete);
    EXPECT_EQ(done.text, L"0dd");
    EXPECT_EQ(d.strRx, L"001dd");
}

TEST(LogCollector, KeepsItsBufferBoundedWithoutATagAndWithoutAnEndMark)
{
    Download d;
    const Bytes live = prototest::Frame(0x06, 0x50);
    for (int i = 0; i < 10000; ++i)
        ASSERT_EQ(d.Chunk(live).step, ELogStep::Waiting);
    EXPECT_LE(d.strRx.GetLength(), 1);

    d.Chunk({ 0xBB, 0xFF, 0xFF });
    const Bytes samples(20, 0x11);
    ELogStep step = ELogStep::Receiving;
    int chunks = 0;
    while (step == ELogStep::Receiving && chunks < 10000) {
        step = d.Chunk(samples).step;
        ++chunks;
    }
    EXPECT_EQ(step, ELogStep::Overflow);
    EXPECT_EQ(chunks, meterproto::kLogMaxDataChars / 40 + 1);
}

TEST(LoggerParser, TurnsTheExampleBlockIntoTwoRecordsTwoSecondsApart)
{
    ExpectSamples(ParseLoggerText(Text(Join({ kExampleBlock, { 0xDD } }))),
        { { 65.3, L"15-06-2011,13:30:00", L"dBA", 1, 2.0 }, { 70.1, L"15-06-2011,13:30:02", L"dBA", 1, 2.0 } });

    Bytes c = kExampleBlock;
    c[0] = 0x55;
    ExpectSamples(ParseLoggerText(Text(Join({ c, { 0xDD } }))),
        { { 65.3, L"15-06-2011,13:30:00", L"dBC", 1, 2.0 }, { 70.1, L"15-06-2011,13:30:02", L"dBC", 1, 2.0 } });
}

TEST(LoggerParser, ReadsTheHourByteByItsFlagsAndWritesTheHourUnpadded)
{
    const struct {
        BYTE hour;
        const wchar_t* time;
    } cases[] = { { 0x32, L"12" }, { 0x12, L"12" }, { 0x09, L"9" }, { 0x31, L"23" }, { 0x21, L"13" }, { 0x00, L"0" } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.hour);
        Bytes block = kExampleBlock;
        block[4] = c.hour;
        const auto data = ParseLoggerText(Text(Join({ block, { 0xDD } })));
        ASSERT_EQ(data.samples.size(), 2u);
        EXPECT_EQ(data.samples[0].dateTime, CString(L"15-06-2011,") + c.time + L":30:00");
    }
}

TEST(LoggerParser, StepsSampleTimesByTheCalendarWithoutDaylightSaving)
{
    // A zone with a daylight-saving change on 29 March 2026 at 2:00; the
    // meter keeps no daylight saving, so its samples must not jump an hour.
    const char* oldTz = std::getenv("TZ");
    const std::string saved = oldTz ? oldTz : "";
    setenv("TZ", "Europe/Berlin", 1);
    tzset();
    const struct {
        Bytes header;
        std::vector<Expected> expected;
    } cases[] = {
        { { 0xAA, 0x25, 0x12, 0x31, 0x31, 0x59, 0x58, 0x01 },
            { { 1, L"31-12-2025,23:59:58", L"dBA", 1, 1 }, { 2, L"31-12-2025,23:59:59", L"dBA", 1, 1 },
                { 3, L"01-01-2026,0:00:00", L"dBA", 1, 1 } } },
        { { 0xCC, 0x24, 0x02, 0x28, 0x31, 0x59, 0x59, 0x01 },
            { { 1, L"28-02-2024,23:59:59", L"dBC", 1, 1 }, { 2, L"29-02-2024,0:00:00", L"dBC", 1, 1 },
                { 3, L"29-02-2024,0:00:01", L"dBC", 1, 1 } } },
        { { 0xAA, 0x25, 0x04, 0x30, 0x31, 0x59, 0x30, 0x30 },
            { { 1, L"30-04-2025,23:59:30", L"dBA", 1, 30 }, { 2, L"01-05-2025,0:00:00", L"dBA", 1, 30 },
                { 3, L"01-05-2025,0:00:30", L"dBA", 1, 30 } } },
        { { 0xAA, 0x25, 0x02, 0x31, 0x31, 0x59, 0x59, 0x01 },
            { { 1, L"03-03-2025,23:59:59", L"dBA", 1, 1 }, { 2, L"04-03-2025,0:00:00", L"dBA", 1, 1 },
                { 3, L"04-03-2025,0:00:01", L"dBA", 1, 1 } } },
        { { 0xAA, 0x26, 0x03, 0x29, 0x01, 0x59, 0x59, 0x01 },
            { { 1, L"29-03-2026,1:59:59", L"dBA", 1, 1 }, { 2, L"29-03-2026,2:00:00", L"dBA", 1, 1 },
                { 3, L"29-03-2026,2:00:01", L"dBA", 1, 1 } } },
        { { 0xAA, 0x26, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00 },
            { { 1, L"01-01-2026,0:00:00", L"dBA", 1, 0 }, { 2, L"01-01-2026,0:00:00", L"dBA", 1, 0 },
                { 3, L"01-01-2026,0:00:00", L"dBA", 1, 0 } } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Hex(c.header).GetString());
        ExpectSamples(ParseLoggerText(Text(Join({ c.header, { 0xAC, 0x00, 0x10, 0x00, 0x20, 0x00, 0x30, 0xDD } }))),
            c.expected);
    }
    if (oldTz)
        setenv("TZ", saved.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}

TEST(LoggerParser, NumbersRecordingsByBlockAlsoForABlockWithoutSamples)
{
    const Bytes a = { 0xAA, 0x26, 0x02, 0x03, 0x09, 0x05, 0x00, 0x01, 0xAC };
    const Bytes c = { 0xCC, 0x26, 0x02, 0x04, 0x10, 0x00, 0x00, 0x05, 0xAC };
    const auto data = ParseLoggerText(Text(Join({ a, { 0x06, 0x00 }, a, c, { 0x07, 0x00, 0x07, 0x50, 0xDD } })));
    EXPECT_EQ(data.blocks, 3);
    ExpectSamples(data, { { 60, L"03-02-2026,9:05:00", L"dBA", 1, 1 }, { 70, L"04-02-2026,10:00:00", L"dBC", 3, 5 },
                            { 75, L"04-02-2026,10:00:05", L"dBC", 3, 5 } });
}

TEST(LoggerParser, AnOddByteIsASampleBeforeTheNextHeaderButNotBeforeTheEndMark)
{
    const Bytes a = { 0xAA, 0x26, 0x02, 0x03, 0x09, 0x05, 0x00, 0x01, 0xAC };
    ExpectSamples(ParseLoggerText(Text(Join({ a, { 0x06, 0x00, 0x65 }, a, { 0x07, 0x00, 0x65, 0xDD } }))),
        { { 60, L"03-02-2026,9:05:00", L"dBA", 1, 1 }, { 6.5, L"03-02-2026,9:05:01", L"dBA", 1, 1 },
            { 70, L"03-02-2026,9:05:00", L"dBA", 2, 1 } });
}

TEST(LoggerParser, DropsTextBeforeTheFirstHeaderAndBlocksWithoutAnEndMark)
{
    const Bytes a = { 0xAA, 0x26, 0x02, 0x03, 0x09, 0x05, 0x00, 0x01, 0xAC };
    ExpectSamples(ParseLoggerText(Text(Join({ { 0x01, 0x23, 0x04, 0x56, 0x11, 0x11, 0x11, 0x11, 0x11 }, a,
                      { 0x06, 0x00, 0xDD } }))),
        { { 60, L"03-02-2026,9:05:00", L"dBA", 1, 1 } });
    EXPECT_TRUE(ParseLoggerText(Text(Join({ a, { 0x06, 0x00 } }))).samples.empty());
    EXPECT_TRUE(ParseLoggerText(L"").samples.empty());
}

TEST(LoggerParser, AnImpossibleHeaderKeepsItsSamplesAtItsOwnUnsteppedTime)
{
    const struct {
        Bytes header;
        const wchar_t* time;
    } cases[] = {
        { { 0xAA, 0x26, 0x13, 0x03, 0x09, 0x05, 0x00, 0x01 }, L"03-13-2026,9:05:00" },
        { { 0xAA, 0x26, 0x02, 0x00, 0x09, 0x05, 0x00, 0x01 }, L"00-02-2026,9:05:00" },
        { { 0xAA, 0x26, 0x02, 0x03, 0x39, 0x05, 0x00, 0x01 }, L"03-02-2026,31:05:00" },
        { { 0xAA, 0x26, 0x02, 0x03, 0x09, 0x60, 0x00, 0x01 }, L"03-02-2026,9:60:00" },
        { { 0xAA, 0xA5, 0x02, 0x03, 0x09, 0x05, 0x00, 0x01 }, L"03-02-20,9:05:00" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Hex(c.header).GetString());
        const auto data = ParseLoggerText(Text(Join({ c.header, { 0xAC, 0x06, 0x00, 0x07, 0x00, 0xDD } })));
        ASSERT_EQ(data.samples.size(), 2u);
        EXPECT_EQ(data.samples[0].dateTime, c.time);
        EXPECT_EQ(data.samples[1].dateTime, c.time);
    }
}

TEST(LoggerParser, ReadsHexLettersAsTheEndOfANumberAndShortHeadersAsAbsentFields)
{
    EXPECT_EQ(meterproto::LeadingDecimal(L"1a", 0, 2), 1);
    EXPECT_EQ(meterproto::LeadingDecimal(L"a1", 0, 2), 0);
    EXPECT_EQ(meterproto::LeadingDecimal(L"0653", 0, 4), 653);
    EXPECT_EQ(meterproto::LeadingDecimal(L"06", 1, 4), 6);
    // Fewer than 16 characters before the mark: the header runs on past it.
    const auto data = ParseLoggerText(L"aa1106ac0653dd");
    EXPECT_EQ(data.blocks, 1);
    ASSERT_EQ(data.samples.size(), 1u);
    EXPECT_EQ(data.samples[0].unit, L"dBA");
    EXPECT_DOUBLE_EQ(data.samples[0].value, 65.3);
}

}  // namespace
