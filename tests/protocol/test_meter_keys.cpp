#include "frames.h"
#include "meterproto/meter_keys.h"
#include "meterproto/receive_path.h"

#include <gtest/gtest.h>

namespace {

using meterproto::BeginKeySender;
using meterproto::KeyStep;
using meterproto::SKeySender;

// The step of a sender that has written `sent` bytes, its period long ago,
// while the meter kept streaming: it writes again unless it is done.
KeyStep StepAfterPeriod(const SKeySender& sender, int sent, const SReading& now)
{
    meterproto::SKeyProgress progress;
    progress.bytesSent = sent;
    progress.chunksAtWrite = 10;
    progress.msSinceWrite = 10000;
    meterproto::SKeyLinkView view { now, {} };
    view.stream.chunks = 20;
    view.stream.previousFrameFrom = 18;
    view.stream.lastFrameFrom = 19;
    DWORD waitMs = 0;
    return meterproto::NextKeyStep(sender, progress, view, &waitMs);
}

bool Continues(const SKeySender& sender, int sent, const SReading& now)
{
    return StepAfterPeriod(sender, sent, now) == KeyStep::Write;
}

SKeySender Begin(int key, const SReading& atPress)
{
    SKeySender sender;
    EXPECT_TRUE(BeginKeySender(key, atPress, &sender));
    return sender;
}

TEST(MeterKeys, CommandBytesAndPeriods)
{
    struct Case {
        MeterKeyCode key;
        BYTE command;
        DWORD periodMs;
    };
    const Case cases[] = {
        { METER_KEY_STOP, 0x33, 600 },     { METER_KEY_REC, 0x55, 600 },   { METER_KEY_MAXMIN, 0x11, 600 },
        { METER_KEY_FASTSLOW, 0x77, 500 }, { METER_KEY_LEVEL, 0x88, 600 }, { METER_KEY_AC, 0x99, 600 },
    };
    for (const Case& c : cases) {
        const SKeySender sender = Begin(c.key, SReading());
        EXPECT_EQ(sender.key, c.key);
        EXPECT_EQ(sender.command, c.command);
        EXPECT_EQ(sender.periodMs, c.periodMs);
    }
}

TEST(MeterKeys, CodesOutsideTheTableStartNoSender)
{
    SKeySender sender;
    sender.command = 0x42;
    for (int code : { -1, 6, 100 })
        EXPECT_FALSE(BeginKeySender(code, SReading(), &sender));
    EXPECT_EQ(sender.command, 0x42);
}

// Each key repeats while its own field is as it was at the press, and stops
// once any other value is reported; changes to other fields do not matter.
TEST(MeterKeys, SenderRunsUntilItsOwnFieldChanges)
{
    struct Case {
        const char* name;
        MeterKeyCode key;
        void (*atPress)(SReading&);
        void (*unrelated)(SReading&);
        void (*change)(SReading&);
    };
    const Case cases[] = {
        { "REC", METER_KEY_REC, [](SReading&) {}, [](SReading& r) { r.fast = 1; }, [](SReading& r) { r.rec = 1; } },
        { "FastSlow", METER_KEY_FASTSLOW, [](SReading& r) { r.fast = 1; }, [](SReading& r) { r.rec = 1; },
          [](SReading& r) { r.fast = 0; } },
        { "Level", METER_KEY_LEVEL, [](SReading& r) { r.range = 2; }, [](SReading& r) { r.weightingA = 0; },
          [](SReading& r) { r.range = 1; } },
        { "AC", METER_KEY_AC, [](SReading& r) { r.weightingA = 1; }, [](SReading& r) { r.range = 3; },
          [](SReading& r) { r.weightingA = 0; } },
        { "MaxMin showing MIN", METER_KEY_MAXMIN, [](SReading& r) { r.min = 1; },
          [](SReading& r) { r.max = 1; }, [](SReading& r) { r.min = 0; } },
        { "MaxMin showing MAX", METER_KEY_MAXMIN, [](SReading& r) { r.max = 1; },
          [](SReading& r) { r.fast = 1; }, [](SReading& r) { r.max = 0; r.min = 1; } },
        { "MaxMin showing neither", METER_KEY_MAXMIN, [](SReading&) {}, [](SReading& r) { r.min = 1; },
          [](SReading& r) { r.max = 1; } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SReading now;
        c.atPress(now);
        const SKeySender sender = Begin(c.key, now);
        EXPECT_TRUE(Continues(sender, 0, now));
        c.unrelated(now);
        EXPECT_TRUE(Continues(sender, 50, now));
        c.change(now);
        EXPECT_FALSE(Continues(sender, 51, now));
    }
}

TEST(MeterKeys, LevelStopsOnAnyOtherRange)
{
    SReading now;
    now.range = 4;
    const SKeySender sender = Begin(METER_KEY_LEVEL, now);
    for (int other : { 0, 1, 2, 3, 7 }) {
        now.range = other;
        EXPECT_FALSE(Continues(sender, 1, now)) << other;
    }
}

TEST(MeterKeys, StopSendsOneByteThoughItsFieldNeverChanges)
{
    const SReading now;
    const SKeySender sender = Begin(METER_KEY_STOP, now);
    EXPECT_EQ(sender.maxSends, meterproto::kStopKeyMaxSends);
    int sent = 0;
    while (Continues(sender, sent, now) && sent < 1000)
        ++sent;
    EXPECT_EQ(sent, meterproto::kStopKeyMaxSends);
    EXPECT_EQ(sent, 1);
}

TEST(MeterKeys, EachSenderKeepsTheStateOfItsOwnPress)
{
    SReading now;
    const SKeySender ac = Begin(METER_KEY_AC, now); // A weighting at its press
    now.rec = 1;
    const SKeySender rec = Begin(METER_KEY_REC, now); // REC already on at its press
    EXPECT_TRUE(Continues(ac, 3, now));
    EXPECT_TRUE(Continues(rec, 3, now));
    now.rec = 0;
    EXPECT_TRUE(Continues(ac, 4, now));
    EXPECT_FALSE(Continues(rec, 4, now));
    EXPECT_EQ(ac.command, 0x99);
    EXPECT_EQ(rec.command, 0x55);
}

}  // namespace

namespace {

using namespace prototest;
using meterproto::SKeyLinkView;
using meterproto::SKeyProgress;

// After its first byte a sender writes again only when the period has passed
// and the second frame that began arriving after that byte still shows the
// old state; until then it waits, for the rest of the period at most.
TEST(MeterKeySteps, WriteAgainOnlyAfterThePeriodAndTwoNewerFrames)
{
    const SKeySender rec = Begin(METER_KEY_REC, SReading());
    struct Case {
        const char* name;
        DWORD msSinceWrite;
        std::uint64_t previousFrameFrom, lastFrameFrom; // chunks; the byte went out after chunk 10
        KeyStep step;
        DWORD waitMs;
    };
    const Case cases[] = {
        { "within the period", 200, 12, 13, KeyStep::Wait, 400 },
        { "just before the period ends", 599, 12, 13, KeyStep::Wait, 1 },
        { "no frame since the byte", 5000, 9, 10, KeyStep::Wait, 600 },
        { "one frame since the byte", 5000, 10, 11, KeyStep::Wait, 600 },
        { "two frames, the first begun with the byte's chunk", 5000, 10, 12, KeyStep::Wait, 600 },
        { "two frames since the byte", 600, 11, 12, KeyStep::Write, 0 },
        { "many frames since", 60000, 40, 41, KeyStep::Write, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SKeyProgress progress;
        progress.bytesSent = 1;
        progress.chunksAtWrite = 10;
        progress.msSinceWrite = c.msSinceWrite;
        SKeyLinkView view;
        view.stream.chunks = 50;
        view.stream.previousFrameFrom = c.previousFrameFrom;
        view.stream.lastFrameFrom = c.lastFrameFrom;
        DWORD waitMs = 0;
        EXPECT_EQ(meterproto::NextKeyStep(rec, progress, view, &waitMs), c.step);
        if (c.step == KeyStep::Wait) {
            EXPECT_EQ(waitMs, c.waitMs);
        }
    }
    // The first byte goes out at once, whatever the stream shows.
    SKeyProgress first;
    DWORD waitMs = 0;
    EXPECT_EQ(meterproto::NextKeyStep(rec, first, SKeyLinkView(), &waitMs), KeyStep::Write);
}

// A meter at the far end, to the millisecond: it streams a frame every
// `periodMs`, which reaches the receive path as one chunk 25 ms after the
// meter began it (a frame's time on the line at 9600 baud, and some); it
// takes a byte 2 ms after it was written and shows the press only in frames
// it begins after that. The sender decides every millisecond.
struct SimulatedLink {
    int periodMs = 250;
    int dropFirstBytes = 0; // bytes the meter misses

    int presses = 0;  // presses the meter took
    int written = 0;  // bytes the sender wrote
    int endedAtMs = -1;

    void Run(MeterKeyCode key, int pressAtMs, int limitMs)
    {
        constexpr int kLineMs = 25;
        constexpr int kByteMs = 2;
        CString strRx;
        SReading reading;
        int logBytes = 0;
        meterproto::SLiveStream stream;
        std::vector<std::pair<int, Bytes>> inFlight; // frames on the line: arrival, bytes
        std::vector<int> bytesArriving;
        bool pressed = false;
        SKeySender sender;
        SKeyProgress progress;
        int lastWriteMs = 0;
        for (int t = 0; t < limitMs && endedAtMs < 0; ++t) {
            for (auto at = bytesArriving.begin(); at != bytesArriving.end();) {
                if (*at != t) {
                    ++at;
                    continue;
                }
                at = bytesArriving.erase(at);
                if (dropFirstBytes > 0)
                    --dropFirstBytes;
                else
                    ++presses;
            }
            if (t % periodMs == 0) {
                // The meter's state: REC toggles, FastSlow toggles, Level steps the range 1..4.
                const bool on = presses % 2 == 1;
                const BYTE range = static_cast<BYTE>(presses % 4 == 0 ? 0x30 : presses % 4 == 1 ? 0x4B
                                                                   : presses % 4 == 2 ? 0x4C : 0x40);
                Bytes items = { 0xA5, static_cast<BYTE>(on ? 0x02 : 0x03), 0, 0x1B,
                                0xA5, static_cast<BYTE>(on ? 0x0A : 0x1A), 0xA5, range };
                if (key != METER_KEY_REC)
                    items[5] = 0x1A;
                if (key != METER_KEY_FASTSLOW)
                    items[1] = 0x03;
                if (key != METER_KEY_LEVEL)
                    items[7] = 0x30;
                inFlight.emplace_back(t + kLineMs, Frame(0x05, 0x00, items));
            }
            for (auto frame = inFlight.begin(); frame != inFlight.end();) {
                if (frame->first != t) {
                    ++frame;
                    continue;
                }
                meterproto::ReceiveChunk(Hex(frame->second), meterproto::LIVE_FRAME, false, false, strRx, reading,
                                         logBytes, kToday, stream);
                frame = inFlight.erase(frame);
            }
            if (t == pressAtMs) {
                pressed = BeginKeySender(key, reading, &sender);
                ASSERT_TRUE(pressed);
            }
            if (!pressed)
                continue;
            progress.msSinceWrite = static_cast<DWORD>(t - lastWriteMs);
            DWORD waitMs = 0;
            const KeyStep step = meterproto::NextKeyStep(sender, progress, SKeyLinkView { reading, stream.position }, &waitMs);
            if (step == KeyStep::End) {
                endedAtMs = t;
            } else if (step == KeyStep::Write) {
                ++written;
                ++progress.bytesSent;
                progress.chunksAtWrite = stream.position.chunks;
                lastWriteMs = t;
                bytesArriving.push_back(t + kByteMs);
            }
        }
    }
};

// Any frame period up to 1.9 s and any moment of the press: the meter takes
// the press once, and the sender ends once the change is decoded.
TEST(MeterKeySteps, OnePressChangesTheMeterOnceAtAnyFramePeriod)
{
    for (MeterKeyCode key : { METER_KEY_REC, METER_KEY_FASTSLOW, METER_KEY_LEVEL }) {
        for (int periodMs : { 20, 100, 250, 500, 600, 1000, 1500, 1900 }) {
            for (int phase = 0; phase < periodMs; phase += std::max(1, periodMs / 37)) {
                SCOPED_TRACE(testing::Message() << "key " << key << ", frames every " << periodMs << " ms, pressed "
                                                << phase << " ms into a period");
                SimulatedLink link;
                link.periodMs = periodMs;
                const int pressAt = 3 * periodMs + phase;
                link.Run(key, pressAt, pressAt + 20000);
                ASSERT_EQ(link.presses, 1);
                ASSERT_EQ(link.written, 1);
                // Shown in the next frame the meter begins, decoded when the one after it arrives.
                ASSERT_GE(link.endedAtMs, 0);
                ASSERT_LE(link.endedAtMs - pressAt, 2 * periodMs + 30);
            }
        }
    }
}

// A byte the meter missed is sent again, and the press then counts once.
TEST(MeterKeySteps, AMissedByteIsSentAgain)
{
    for (int periodMs : { 100, 250, 500, 1000, 1900 }) {
        for (int missed : { 1, 2 }) {
            SCOPED_TRACE(testing::Message() << periodMs << " ms, " << missed << " missed");
            SimulatedLink link;
            link.periodMs = periodMs;
            link.dropFirstBytes = missed;
            const int pressAt = 3 * periodMs + periodMs / 3;
            link.Run(METER_KEY_REC, pressAt, pressAt + 60000);
            EXPECT_EQ(link.presses, 1);
            EXPECT_EQ(link.written, missed + 1);
            // Each further byte waits for two frames begun after the one before.
            EXPECT_LE(link.endedAtMs - pressAt, (missed + 1) * (3 * periodMs + 600));
        }
    }
}

}  // namespace
