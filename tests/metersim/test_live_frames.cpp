#include "bcd.h"
#include "live_frame.h"
#include "meter_state.h"
#include "receiver_rules.h"

#include <gtest/gtest.h>

#include <random>

using namespace metersim;

namespace {

std::vector<uint8_t> Bytes(const LiveFrame& frame)
{
    return std::vector<uint8_t>(frame.begin(), frame.end());
}

// Decodes frames as the receiver does when they arrive one per chunk; the
// last frame is decoded once the next one arrives, so a copy follows it.
receiver::Reading Decode(const std::vector<LiveFrame>& frames)
{
    receiver::LiveReceiver rx;
    for (const LiveFrame& f : frames)
        rx.OnChunk(Bytes(f));
    rx.OnChunk(Bytes(frames.back()));
    return rx.reading();
}

}  // namespace

TEST(Bcd, DigitsAndClamping)
{
    const struct {
        int value;
        uint8_t byte;
    } bytes[] = {{0, 0x00}, {7, 0x07}, {10, 0x10}, {59, 0x59}, {99, 0x99}, {-3, 0x00}, {150, 0x99}};
    for (const auto& c : bytes)
        EXPECT_EQ(BcdByte(c.value), c.byte) << c.value;

    const struct {
        int tenths;
        uint8_t high, low;
    } levels[] = {{653, 0x06, 0x53}, {1234, 0x12, 0x34}, {5, 0x00, 0x05}, {9999, 0x99, 0x99}, {12000, 0x99, 0x99}};
    for (const auto& c : levels) {
        const BcdPair p = BcdTenths(c.tenths);
        EXPECT_EQ(p.high, c.high) << c.tenths;
        EXPECT_EQ(p.low, c.low) << c.tenths;
    }
}

TEST(Bcd, EveryHourReadsBackUnderTheReceiversHourRule)
{
    const struct {
        int hour;
        uint8_t byte;
    } known[] = {{0, 0x00}, {9, 0x09}, {10, 0x10}, {11, 0x11}, {12, 0x32}, {13, 0x21}, {22, 0x30}, {23, 0x31}};
    for (const auto& c : known)
        EXPECT_EQ(HourByte(c.hour), c.byte) << c.hour;
    for (int hour = 0; hour < 24; ++hour) {
        const std::string hex = receiver::Hex({HourByte(hour)});
        EXPECT_EQ(receiver::ReadHour(hex[0], hex[1]), hour) << hex;
    }
}

TEST(LiveFrame, LayoutOfBothKinds)
{
    MeterState state;
    const LiveFrame timed = BuildLiveFrame(state, 653, Limit::Inside, {13, 30, 5}, FrameKind::WithTime);
    EXPECT_EQ(receiver::Hex(Bytes(timed)), "a50d0653a502001ba506213005a50ea51aa54000");
    const LiveFrame full = BuildLiveFrame(state, 653, Limit::Inside, {13, 30, 5}, FrameKind::FullStatus);
    EXPECT_EQ(receiver::Hex(Bytes(full)), "a50d0653a502001ba50ea51aa540a51100000000");
    const LiveFrame under = BuildLiveFrame(state, 253, Limit::Under, {}, FrameKind::FullStatus);
    EXPECT_EQ(receiver::Hex(Bytes(under)), "a50d0253a502001ba50ea51aa540a50800000000");
    const LiveFrame over = BuildLiveFrame(state, 1353, Limit::Over, {}, FrameKind::FullStatus);
    EXPECT_EQ(receiver::Hex(Bytes(over)), "a50d1353a502001ba50ea51aa540a511a5070000");
    EXPECT_EQ(timed.size(), 20u);
}

TEST(LiveFrame, StatusCodesOfEachStateDecode)
{
    struct Case {
        const char* name;
        MeterState state;
        int tenths;
        int fast, rec, weightingA, max, min, under, over, range;
    };
    auto make = [](bool fast, bool a, bool rec, MaxMinMode mm, Range range) {
        MeterState s;
        s.fast = fast;
        s.weightingA = a;
        s.rec = rec;
        s.maxMin = mm;
        s.range = range;
        return s;
    };
    const Case cases[] = {
        {"default", make(true, true, false, MaxMinMode::Off, Range::Auto30to130), 653, 1, 0, 1, 0, 0, 0, 0, 4},
        {"slow C rec", make(false, false, true, MaxMinMode::Off, Range::Auto30to130), 653, 0, 1, 0, 0, 0, 0, 0, 4},
        {"max", make(true, true, false, MaxMinMode::Max, Range::Low30to80), 653, 1, 0, 1, 1, 0, 0, 0, 1},
        {"min", make(true, true, false, MaxMinMode::Min, Range::Mid50to100), 653, 1, 0, 1, 0, 1, 0, 0, 2},
        {"under 50-100", make(true, true, false, MaxMinMode::Off, Range::Mid50to100), 455, 1, 0, 1, 0, 0, 1, 0, 2},
        {"under 80-130", make(true, true, false, MaxMinMode::Off, Range::High80to130), 653, 1, 0, 1, 0, 0, 1, 0, 3},
        {"over 30-80", make(true, true, false, MaxMinMode::Off, Range::Low30to80), 853, 1, 0, 1, 0, 0, 0, 1, 1},
        {"edge 80.0 inside", make(true, true, false, MaxMinMode::Off, Range::Low30to80), 800, 1, 0, 1, 0, 0, 0, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (FrameKind kind : {FrameKind::FullStatus, FrameKind::WithTime}) {
            // A full-status frame first, so limits are known before a timed frame.
            const Limit limit = LimitFor(c.state.range, c.tenths);
            const receiver::Reading r =
                Decode({BuildLiveFrame(c.state, c.tenths, limit, {9, 5, 7}, FrameKind::FullStatus),
                        BuildLiveFrame(c.state, c.tenths, limit, {9, 5, 7}, kind)});
            EXPECT_DOUBLE_EQ(r.level, c.tenths / 10.0);
            EXPECT_EQ(r.fast, c.fast);
            EXPECT_EQ(r.rec, c.rec);
            EXPECT_EQ(r.weightingA, c.weightingA);
            EXPECT_EQ(r.max, c.max);
            EXPECT_EQ(r.min, c.min);
            EXPECT_EQ(r.under, c.under);
            EXPECT_EQ(r.over, c.over);
            EXPECT_EQ(r.range, c.range);
            EXPECT_EQ(r.follow, 0);
            EXPECT_EQ(r.freeze, 0);
        }
    }
}

// The receiver clears UNDER only with OVER: every change of limit, direct
// ones between UNDER and OVER included, must read right within two frames.
TEST(LiveFrame, LimitChangesReadRight)
{
    MeterState state;
    state.range = Range::Low30to80;
    const int levels[] = {500, 900, 200, 900, 500, 200, 500, 200, 200, 900, 900};
    receiver::LiveReceiver rx;
    Limit reported = Limit::Inside;
    for (int tenths : levels) {
        const Limit actual = LimitFor(state.range, tenths);
        for (int repeat = 0; repeat < 2; ++repeat) {
            reported = NextReportedLimit(reported, actual);
            rx.OnChunk(Bytes(BuildLiveFrame(state, tenths, reported, {}, FrameKind::FullStatus)));
        }
        rx.OnChunk(Bytes(BuildLiveFrame(state, tenths, reported, {}, FrameKind::WithTime)));
        EXPECT_EQ(rx.reading().under, actual == Limit::Under) << tenths;
        EXPECT_EQ(rx.reading().over, actual == Limit::Over) << tenths;
    }
    EXPECT_EQ(NextReportedLimit(Limit::Over, Limit::Under), Limit::Inside);
    EXPECT_EQ(NextReportedLimit(Limit::Under, Limit::Over), Limit::Over);
    EXPECT_EQ(NextReportedLimit(Limit::Inside, Limit::Under), Limit::Under);
}

// Thousands of frames of random states, levels and times, sent back to back:
// the stream never holds "ff" or "bb", "a50d" only where a frame starts, and
// every frame decodes to what was sent.
TEST(LiveFrame, RandomStreamsStayCleanAndDecode)
{
    std::mt19937 rng(1234);
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    std::vector<uint8_t> stream;
    receiver::LiveReceiver rx;
    MeterState previous;
    int previousTenths = 0;
    Limit reported = Limit::Inside;
    int under = 0, over = 0;
    char lastChar = 0;
    const int kFrames = 5000;
    for (int i = 0; i < kFrames; ++i) {
        MeterState s;
        s.fast = pick(2);
        s.weightingA = pick(2);
        s.rec = pick(2);
        s.maxMin = static_cast<MaxMinMode>(pick(3));
        s.range = static_cast<Range>(1 + pick(4));
        const int tenths = pick(10000);
        const TimeOfDay time{pick(24), pick(60), pick(60)};
        const FrameKind kind = pick(2) ? FrameKind::WithTime : FrameKind::FullStatus;
        if (kind == FrameKind::FullStatus)
            reported = NextReportedLimit(reported, LimitFor(s.range, tenths));
        const LiveFrame frame = BuildLiveFrame(s, tenths, reported, time, kind);
        ASSERT_EQ(CheckLiveFrame(frame, lastChar), "") << i;
        lastChar = receiver::Hex({frame[19]})[1];
        stream.insert(stream.end(), frame.begin(), frame.end());

        rx.OnChunk(Bytes(frame));
        const int nextUnder = kind == FrameKind::FullStatus ? reported == Limit::Under : under;
        const int nextOver = kind == FrameKind::FullStatus ? reported == Limit::Over : over;
        if (i == 0) {
            previous = s;
            previousTenths = tenths;
            under = nextUnder;
            over = nextOver;
            continue;
        }
        // The chunk just fed decoded the frame before it.
        const receiver::Reading& r = rx.reading();
        ASSERT_EQ(r.level, previousTenths / 10.0) << i;
        ASSERT_EQ(r.fast, previous.fast);
        ASSERT_EQ(r.rec, previous.rec);
        ASSERT_EQ(r.weightingA, previous.weightingA);
        ASSERT_EQ(r.max, previous.maxMin == MaxMinMode::Max);
        ASSERT_EQ(r.min, previous.maxMin == MaxMinMode::Min);
        ASSERT_EQ(r.range, static_cast<int>(previous.range));
        ASSERT_EQ(r.under, under) << i;
        ASSERT_EQ(r.over, over) << i;
        previous = s;
        previousTenths = tenths;
        under = nextUnder;
        over = nextOver;
    }
    EXPECT_EQ(rx.decodedFrames(), kFrames - 1);
    EXPECT_EQ(rx.holdChunks(), 0);

    const std::string text = receiver::Hex(stream);
    EXPECT_EQ(text.find("ff"), std::string::npos);
    EXPECT_EQ(text.find("bb"), std::string::npos);
    size_t starts = 0;
    for (size_t at = text.find("a50d"); at != std::string::npos; at = text.find("a50d", at + 1)) {
        ASSERT_EQ(at % 40, 0u) << at;
        ++starts;
    }
    EXPECT_EQ(starts, static_cast<size_t>(kFrames));
}

TEST(LiveFrame, TimeItemReadsAsTheMetersClock)
{
    MeterState state;
    const struct {
        TimeOfDay time;
        const char* text;
    } cases[] = {{{0, 0, 0}, "00:00:00"}, {{9, 5, 7}, "09:05:07"}, {{12, 0, 59}, "12:00:59"}, {{23, 59, 30}, "23:59:30"}};
    for (const auto& c : cases) {
        const LiveFrame f = BuildLiveFrame(state, 500, Limit::Inside, c.time, FrameKind::WithTime);
        EXPECT_EQ(Decode({f}).time, c.text);
    }
}

TEST(LiveFrame, CheckFindsFramesThatWouldBeMisread)
{
    MeterState state;
    LiveFrame frame = BuildLiveFrame(state, 653, Limit::Inside, {}, FrameKind::FullStatus);
    EXPECT_EQ(CheckLiveFrame(frame, 0), "");
    EXPECT_EQ(CheckLiveFrame(frame, 'f'), "");  // after a HOLD byte

    LiveFrame hold = frame;
    hold[18] = 0x0F;
    hold[19] = 0xF0;  // "ff" across the boundary
    EXPECT_NE(CheckLiveFrame(hold, 0), "");

    LiveFrame falseStart = frame;
    falseStart[17] = 0x0A;
    falseStart[18] = 0x50;
    falseStart[19] = 0xD0;  // "a50d" across boundaries
    EXPECT_NE(CheckLiveFrame(falseStart, 0), "");

    LiveFrame falseCode = frame;
    falseCode[16] = 0x0A;
    falseCode[17] = 0x50;
    falseCode[18] = 0x20;  // a false FAST code
    EXPECT_NE(CheckLiveFrame(falseCode, 0), "");

    LiveFrame reply = frame;
    reply[19] = 0xBB;
    EXPECT_NE(CheckLiveFrame(reply, 0), "");

    LiveFrame noStart = frame;
    noStart[1] = 0x0E;
    EXPECT_NE(CheckLiveFrame(noStart, 0), "");
}

TEST(MeterKeys, EachKeyChangesItsOwnState)
{
    MeterState s;
    EXPECT_TRUE(PressKey(s, MeterKey::Rec));
    EXPECT_TRUE(s.rec);
    EXPECT_TRUE(PressKey(s, MeterKey::FastSlow));
    EXPECT_FALSE(s.fast);
    EXPECT_TRUE(PressKey(s, MeterKey::AC));
    EXPECT_FALSE(s.weightingA);

    const MaxMinMode cycle[] = {MaxMinMode::Max, MaxMinMode::Min, MaxMinMode::Off, MaxMinMode::Max};
    for (MaxMinMode expected : cycle) {
        PressKey(s, MeterKey::MaxMin);
        EXPECT_EQ(s.maxMin, expected);
    }
    const Range ranges[] = {Range::Low30to80, Range::Mid50to100, Range::High80to130, Range::Auto30to130,
                            Range::Low30to80};
    for (Range expected : ranges) {
        PressKey(s, MeterKey::Level);
        EXPECT_EQ(s.range, expected);
    }
}

TEST(MeterKeys, HoldIgnoresEveryKeyButStop)
{
    MeterState s;
    EXPECT_TRUE(PressKey(s, MeterKey::Stop));
    EXPECT_TRUE(s.hold);
    const MeterState held = s;
    for (MeterKey k : {MeterKey::Rec, MeterKey::MaxMin, MeterKey::FastSlow, MeterKey::Level, MeterKey::AC}) {
        EXPECT_FALSE(PressKey(s, k));
    }
    EXPECT_EQ(s.rec, held.rec);
    EXPECT_EQ(s.range, held.range);
    EXPECT_EQ(s.fast, held.fast);
    EXPECT_TRUE(PressKey(s, MeterKey::Stop));
    EXPECT_FALSE(s.hold);

    for (int b = 0; b < 256; ++b) {
        const bool key = b == 0x33 || b == 0x55 || b == 0x11 || b == 0x77 || b == 0x88 || b == 0x99;
        EXPECT_EQ(IsKeyByte(static_cast<uint8_t>(b)), key) << b;
    }
}
