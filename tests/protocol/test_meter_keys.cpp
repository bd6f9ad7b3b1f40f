#include "meterproto/meter_keys.h"

#include <gtest/gtest.h>

namespace {

using meterproto::BeginKeySender;
using meterproto::KeySenderContinues;
using meterproto::SKeySender;

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
        EXPECT_TRUE(KeySenderContinues(sender, 0, now));
        c.unrelated(now);
        EXPECT_TRUE(KeySenderContinues(sender, 50, now));
        c.change(now);
        EXPECT_FALSE(KeySenderContinues(sender, 51, now));
    }
}

TEST(MeterKeys, LevelStopsOnAnyOtherRange)
{
    SReading now;
    now.range = 4;
    const SKeySender sender = Begin(METER_KEY_LEVEL, now);
    for (int other : { 0, 1, 2, 3, 7 }) {
        now.range = other;
        EXPECT_FALSE(KeySenderContinues(sender, 1, now)) << other;
    }
}

TEST(MeterKeys, StopSendsOneByteThoughItsFieldNeverChanges)
{
    const SReading now;
    const SKeySender sender = Begin(METER_KEY_STOP, now);
    EXPECT_EQ(sender.maxSends, meterproto::kStopKeyMaxSends);
    int sent = 0;
    while (KeySenderContinues(sender, sent, now) && sent < 1000)
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
    EXPECT_TRUE(KeySenderContinues(ac, 3, now));
    EXPECT_TRUE(KeySenderContinues(rec, 3, now));
    now.rec = 0;
    EXPECT_TRUE(KeySenderContinues(ac, 4, now));
    EXPECT_FALSE(KeySenderContinues(rec, 4, now));
    EXPECT_EQ(ac.command, 0x99);
    EXPECT_EQ(rec.command, 0x55);
}

}  // namespace
