#include "frames.h"
#include "meterproto/frame_decode.h"

#include <gtest/gtest.h>

using namespace prototest;
using meterproto::DecodeFrame;

namespace {

SReading Decoded(const Bytes& frame, SReading start = SReading())
{
    DecodeFrame(Hex(frame), start, kToday);
    return start;
}

TEST(FrameLevel, BcdDigitsWithOneLeadingZeroDropped)
{
    struct Case {
        BYTE high, low;
        double level;
    };
    const Case cases[] = {
        { 0x06, 0x53, 65.3 },
        { 0x12, 0x34, 123.4 },
        { 0x00, 0x05, 0.5 },   // "00.5": only one zero is dropped
        { 0x00, 0x00, 0.0 },
        { 0x09, 0x99, 99.9 },
        { 0x13, 0x00, 130.0 },
        { 0x99, 0x99, 999.9 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << int(c.high) << " " << int(c.low));
        EXPECT_DOUBLE_EQ(Decoded(Frame(c.high, c.low)).level, c.level);
    }
}

// A level nibble a to f is no BCD: the bytes are garbled, so nothing of the
// frame is taken, neither its level ("1e5.2" would read as 100000) nor its codes.
TEST(FrameLevel, NibblesAToFLeaveTheWholeReadingAsItWas)
{
    const BYTE garbled[][2] = { { 0x1e, 0x52 }, { 0x5a, 0x00 }, { 0xa5, 0x30 }, { 0x0a, 0x12 },
                                { 0x01, 0xe5 }, { 0x1e, 0x21 }, { 0x00, 0x0f }, { 0xf0, 0x00 } };
    SReading start;
    start.level = 61.2;
    start.range = 2;
    start.weightingA = 1;
    start.timeStamp = L"09-12-2026,10:11:12";
    for (const auto& level : garbled) {
        SCOPED_TRACE(testing::Message() << std::hex << int(level[0]) << " " << int(level[1]));
        EXPECT_FALSE(meterproto::FrameLevelIsBcd(Hex(Frame(level[0], level[1]))));
        SReading r = start;
        // Weighting C, REC on, range 1 and a time item: all would change the state.
        const Bytes frame = Frame(level[0], level[1], { 0xA5, 0x0A, 0, 0x1C, 0xA5, 0x30, 0xA5, 0x06, 0x13, 0x14, 0x15 });
        EXPECT_FALSE(DecodeFrame(Hex(frame), r, kToday));
        EXPECT_DOUBLE_EQ(r.level, 61.2);
        EXPECT_EQ(r.range, 2);
        EXPECT_EQ(r.weightingA, 1);
        EXPECT_EQ(r.rec, 0);
        EXPECT_EQ(r.timeStamp, start.timeStamp);
    }
    // The same frame with a decimal level is taken whole.
    SReading r = start;
    EXPECT_TRUE(DecodeFrame(Hex(Frame(0x06, 0x53, { 0xA5, 0x0A, 0, 0x1C, 0xA5, 0x30 })), r, kToday));
    EXPECT_EQ(r.rec, 1);
    EXPECT_EQ(r.range, 1);
    EXPECT_EQ(r.weightingA, 0);
}

TEST(FrameLevel, ShortOrEmptyTextReadsWhatIsThere)
{
    EXPECT_DOUBLE_EQ(meterproto::FrameLevel(L"a50d0653"), 65.3);
    EXPECT_DOUBLE_EQ(meterproto::FrameLevel(L"a50d065"), 65.0);
    EXPECT_DOUBLE_EQ(meterproto::FrameLevel(L""), 0.0);
    // A text cut short is no whole level: such a frame is not taken.
    EXPECT_TRUE(meterproto::FrameLevelIsBcd(L"a50d0653"));
    EXPECT_FALSE(meterproto::FrameLevelIsBcd(L"a50d065"));
}

TEST(FrameWeighting, Byte7SetsAOrCAndOtherValuesKeepIt)
{
    SReading start;
    start.weightingA = 0;
    EXPECT_EQ(Decoded(Frame(0x06, 0x53, { 0, 0, 0, 0x1B }), start).weightingA, 1);
    start.weightingA = 1;
    EXPECT_EQ(Decoded(Frame(0x06, 0x53, { 0, 0, 0, 0x1C }), start).weightingA, 0);
    for (BYTE keep : { 0x1D, 0x00, 0xB1 }) {
        for (BYTE before : { 0, 1 }) {
            start.weightingA = before;
            EXPECT_EQ(Decoded(Frame(0x06, 0x53, { 0, 0, 0, keep }), start).weightingA, before);
        }
    }
}

TEST(FrameTime, HourByteFlags)
{
    struct Case {
        BYTE hourByte;
        const char* hour;
    };
    const Case cases[] = {
        { 0x00, "00" }, { 0x09, "09" }, { 0x10, "10" }, { 0x12, "12" }, { 0x13, "13" },
        { 0x21, "13" }, { 0x32, "12" }, { 0x19, "19" }, { 0x23, "15" }, { 0x0a, "00" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.hourByte));
        const SReading r = Decoded(Frame(0x06, 0x53, { 0, 0, 0, 0x1B, 0xA5, 0x06, c.hourByte, 0x45, 0x07 }));
        EXPECT_EQ(Narrow(r.timeStamp), std::string("09-12-2026,") + c.hour + ":45:07");
    }
}

TEST(FrameTime, ItemFoundAcrossAByteBoundaryAndCutShortAtTheFrameEnd)
{
    // Bytes 0x0A 0x50 0x61 0x34 0x56 0x78 read "0a5061345678": "a506" starts
    // at an odd position, so the fields are read one character later: flag
    // '1', units '3', minute "45", second "67".
    SReading r = Decoded(Frame(0x06, 0x53, { 0, 0, 0, 0x1B, 0x0A, 0x50, 0x61, 0x34, 0x56, 0x78 }));
    EXPECT_EQ(Narrow(r.timeStamp), "09-12-2026,13:45:67");

    // Time tag in the last two bytes: no hour byte, nothing after it.
    Bytes end = Frame(0x06, 0x53);
    end[18] = 0xA5;
    end[19] = 0x06;
    EXPECT_EQ(Narrow(Decoded(end).timeStamp), "09-12-2026,00::");
    end[18] = 0x00;
    end[19] = 0x0A; // no time tag: the stamp stays
    SReading kept;
    kept.timeStamp = L"01-01-2026,10:00:00";
    EXPECT_EQ(Narrow(Decoded(end, kept).timeStamp), "01-01-2026,10:00:00");
}

TEST(FrameTime, HourFromHexCharsReadsCharacterCodes)
{
    EXPECT_EQ(meterproto::HourFromHexChars(L'\0', L'\0'), 0);
    EXPECT_EQ(meterproto::HourFromHexChars(L'a', L'1'), 11);  // 'a' = 0x61: bit 0
    EXPECT_EQ(meterproto::HourFromHexChars(L'b', L'0'), 12);  // 'b' = 0x62: bit 1
    EXPECT_EQ(meterproto::HourFromHexChars(L'3', L'9'), 31);  // only 24 is folded
}

struct StatusCase {
    const char* name;
    Bytes items;          // status items from byte 8 on
    SReading expected;
};

SReading With(void (*set)(SReading&))
{
    SReading r;
    set(r);
    return r;
}

TEST(FrameStatus, CodesAppliedInTableOrder)
{
    const StatusCase cases[] = {
        { "fast", { 0xA5, 0x02 }, With([](SReading& r) { r.fast = 1; }) },
        { "fast then slow", { 0xA5, 0x02, 0xA5, 0x03 }, SReading() },
        { "slow before fast in the frame", { 0xA5, 0x03, 0xA5, 0x02 }, SReading() },
        { "max", { 0xA5, 0x04 }, With([](SReading& r) { r.max = 1; }) },
        { "max and min", { 0xA5, 0x04, 0xA5, 0x05 }, With([](SReading& r) { r.min = 1; }) },
        { "max and off", { 0xA5, 0x04, 0xA5, 0x0E }, SReading() },
        { "under and clear", { 0xA5, 0x08, 0xA5, 0x11 }, SReading() },
        { "clear and over", { 0xA5, 0x11, 0xA5, 0x07 }, With([](SReading& r) { r.over = 1; }) },
        { "rec on and off", { 0xA5, 0x0A, 0xA5, 0x1A }, SReading() },
        { "rec on", { 0xA5, 0x0A }, With([](SReading& r) { r.rec = 1; }) },
        { "follow and freeze", { 0xA5, 0x0B, 0xA5, 0x0C },
          With([](SReading& r) { r.displayFollow = 1; r.displayFreeze = 1; }) },
        { "range 30-80", { 0xA5, 0x30 }, With([](SReading& r) { r.range = 1; }) },
        { "range 50-100", { 0xA5, 0x4B }, With([](SReading& r) { r.range = 2; }) },
        { "range 80-130", { 0xA5, 0x4C }, With([](SReading& r) { r.range = 3; }) },
        { "range 30-80 and auto", { 0xA5, 0x30, 0xA5, 0x40 }, With([](SReading& r) { r.range = 4; }) },
        { "fast across a byte boundary", { 0x0A, 0x50, 0x20 }, With([](SReading& r) { r.fast = 1; }) },
    };
    for (const StatusCase& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes items = { 0, 0, 0, 0x1B };
        items.insert(items.end(), c.items.begin(), c.items.end());
        const SReading r = Decoded(Frame(0x06, 0x53, items));
        EXPECT_EQ(r.fast, c.expected.fast);
        EXPECT_EQ(r.max, c.expected.max);
        EXPECT_EQ(r.min, c.expected.min);
        EXPECT_EQ(r.under, c.expected.under);
        EXPECT_EQ(r.over, c.expected.over);
        EXPECT_EQ(r.rec, c.expected.rec);
        EXPECT_EQ(r.displayFollow, c.expected.displayFollow);
        EXPECT_EQ(r.displayFreeze, c.expected.displayFreeze);
        EXPECT_EQ(r.range, c.expected.range);
    }
}

TEST(FrameStatus, AbsentCodesKeepStateButDisplayFlagsDescribeThisFrame)
{
    SReading before;
    before.fast = 1;
    before.max = 1;
    before.under = 1;
    before.over = 1;
    before.rec = 1;
    before.range = 3;
    before.weightingA = 0;
    before.displayFollow = 1;
    before.displayFreeze = 1;
    before.timeStamp = L"01-02-2026,03:04:05";
    const SReading r = Decoded(Frame(0x07, 0x01), before);
    EXPECT_DOUBLE_EQ(r.level, 70.1);
    EXPECT_EQ(r.fast, 1);
    EXPECT_EQ(r.max, 1);
    EXPECT_EQ(r.under, 1);
    EXPECT_EQ(r.over, 1);
    EXPECT_EQ(r.rec, 1);
    EXPECT_EQ(r.range, 3);
    EXPECT_EQ(r.weightingA, 0);
    EXPECT_EQ(r.displayFollow, 0);
    EXPECT_EQ(r.displayFreeze, 0);
    EXPECT_EQ(Narrow(r.timeStamp), "01-02-2026,03:04:05");
}

TEST(Reading, ResetKeepsStampRangeAndWeighting)
{
    SReading r;
    r.level = 91.2;
    r.hold = r.over = r.under = r.fast = r.rec = r.max = r.min = 1;
    r.displayFollow = r.displayFreeze = 1;
    r.range = 2;
    r.weightingA = 0;
    r.timeStamp = L"x";
    meterproto::ResetReading(r);
    EXPECT_DOUBLE_EQ(r.level, 50.0);
    EXPECT_EQ(r.hold + r.over + r.under + r.fast + r.rec + r.max + r.min + r.displayFollow + r.displayFreeze
                  + r.powerWatch,
              0);
    EXPECT_EQ(r.range, 2);
    EXPECT_EQ(r.weightingA, 0);
    EXPECT_EQ(Narrow(r.timeStamp), "x");
}

TEST(Reading, PcDateOfIsTheLocalCalendarDate)
{
    std::tm noon{};
    noon.tm_year = 2026 - 1900;
    noon.tm_mon = 11;
    noon.tm_mday = 9;
    noon.tm_hour = 12;
    noon.tm_isdst = -1;
    const meterproto::SPcDate date = meterproto::PcDateOf(std::mktime(&noon));
    EXPECT_EQ(date.day, 9);
    EXPECT_EQ(date.month, 12);
    EXPECT_EQ(date.year, 2026);
}

TEST(HexText, LowerCaseTwoDigitsPerByte)
{
    const Bytes bytes = { 0x00, 0x0F, 0xF0, 0xA5, 0x0D, 0xFF };
    EXPECT_EQ(Narrow(Hex(bytes)), "000ff0a50dff");
    EXPECT_TRUE(meterproto::ChunkToHex(nullptr, 4).IsEmpty());
    EXPECT_TRUE(meterproto::ChunkToHex(bytes.data(), 0).IsEmpty());
}

}  // namespace
