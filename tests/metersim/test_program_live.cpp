// The metersim program end to end, from the application's side of its port.
// Its live side: frames, keys, hold and the faults of the stream.
#include "program_fixture.h"

#include <gtest/gtest.h>

#include <csignal>
#include <ctime>
#include <fstream>

using namespace metertest;

TEST_F(Program, StreamsFramesEveryQuarterSecond)
{
    Running m({});
    ASSERT_TRUE(m.started);
    ASSERT_TRUE(m.port->IsOpen());
    m.port->Drain();
    const std::vector<TestPort::Chunk> chunks = m.port->ReadFor(2300);
    std::vector<Clock::time_point> frameTimes;
    receiver::LiveReceiver rx;
    for (const TestPort::Chunk& c : chunks) {
        const std::string hex = receiver::Hex(c.bytes);
        for (size_t at = hex.find("a50d"); at != std::string::npos; at = hex.find("a50d", at + 1))
            frameTimes.push_back(c.at);
        EXPECT_EQ(hex.find("ff"), std::string::npos);
        rx.OnBytes(c.bytes);
    }
    ASSERT_GE(frameTimes.size(), 6u);
    EXPECT_LE(frameTimes.size(), 11u);
    const double period = Seconds(frameTimes.back() - frameTimes.front()) / (frameTimes.size() - 1);
    EXPECT_GT(period, 0.2);
    EXPECT_LT(period, 0.3);

    const receiver::Reading& r = rx.reading();
    EXPECT_GE(r.level, 35.0);
    EXPECT_LE(r.level, 80.0);
    EXPECT_EQ(r.range, 4);
    EXPECT_EQ(r.fast, 1);
    EXPECT_EQ(r.weightingA, 1);
    EXPECT_EQ(r.rec, 0);
    EXPECT_EQ(r.hold, 0);
    // The meter's clock is the PC's local time.
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    ASSERT_EQ(r.time.size(), 8u);
    const int meterSeconds = std::stoi(r.time.substr(0, 2)) * 3600 + std::stoi(r.time.substr(3, 2)) * 60
                           + std::stoi(r.time.substr(6, 2));
    const int pcSeconds = local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
    EXPECT_LE(std::abs(pcSeconds - meterSeconds) % 86395, 5) << r.time;
}

TEST_F(Program, KeysChangeTheStateInTheNextFrames)
{
    Running m({"--frame-ms", "100"});
    ASSERT_TRUE(m.started);
    receiver::LiveReceiver rx;
    ASSERT_TRUE(ReadUntilReading(*m.port, rx, 3000, [](const receiver::Reading& r) { return r.range == 4; }));

    struct Step {
        uint8_t key;
        const char* event;
        std::function<bool(const receiver::Reading&)> changed;
    };
    const Step steps[] = {
        {0x55, "key REC rec on", [](const receiver::Reading& r) { return r.rec == 1; }},
        {0x77, "key FastSlow slow", [](const receiver::Reading& r) { return r.fast == 0; }},
        {0x88, "key Level range 1", [](const receiver::Reading& r) { return r.range == 1; }},
        {0x88, "key Level range 2", [](const receiver::Reading& r) { return r.range == 2; }},
        {0x99, "key AC C", [](const receiver::Reading& r) { return r.weightingA == 0; }},
        {0x11, "key MaxMin maxmin max", [](const receiver::Reading& r) { return r.max == 1 && r.min == 0; }},
        {0x11, "key MaxMin maxmin min", [](const receiver::Reading& r) { return r.min == 1 && r.max == 0; }},
        {0x11, "key MaxMin maxmin off", [](const receiver::Reading& r) { return r.min == 0 && r.max == 0; }},
        {0x55, "key REC rec off", [](const receiver::Reading& r) { return r.rec == 0; }},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.event);
        EXPECT_FALSE(step.changed(rx.reading()));
        const auto pressed = Clock::now();
        m.port->Write({step.key});
        ASSERT_TRUE(ReadUntilReading(*m.port, rx, 3000, step.changed));
        // The change goes out at once; the receiver sees it with the next frame.
        EXPECT_LT(Seconds(Clock::now() - pressed), 1.0);
        std::string line;
        ASSERT_TRUE(m.meter.WaitForLine("key", line, 3000));
        EXPECT_EQ(line, step.event);
    }
    // UNDER and OVER follow the level against the range, 50-100 dB now.
    m.meter.Send("level 45.0");
    ASSERT_TRUE(m.meter.WaitForLine("ok level", 3000));
    EXPECT_TRUE(ReadUntilReading(*m.port, rx, 3000, [](const receiver::Reading& r) {
        return r.under == 1 && r.over == 0 && r.level == 45.0;
    }));
    m.meter.Send("level 100.1");
    ASSERT_TRUE(m.meter.WaitForLine("ok level", 3000));
    EXPECT_TRUE(ReadUntilReading(*m.port, rx, 3000, [](const receiver::Reading& r) {
        return r.under == 0 && r.over == 1 && r.level == 100.1;
    }));
    // Bytes that are no keys change nothing.
    m.port->Write({0x00, 0x12, 0x5A, 0x13});
    m.port->ReadFor(400);
    EXPECT_EQ(rx.reading().range, 2);
    EXPECT_EQ(rx.reading().rec, 0);
}

TEST_F(Program, StopTogglesHold)
{
    Running m({"--frame-ms", "50", "--level", "61.2"});
    ASSERT_TRUE(m.started);
    receiver::LiveReceiver rx;
    ASSERT_TRUE(ReadUntilReading(*m.port, rx, 3000, [](const receiver::Reading& r) { return r.level == 61.2; }));

    m.port->Write({0x33});
    ASSERT_TRUE(m.meter.WaitForLine("key Stop hold on", 3000));
    m.port->ReadFor(150);  // the frame that may have been on its way
    const std::vector<uint8_t> held = Join(m.port->ReadFor(500));
    ASSERT_GE(held.size(), 4u);
    for (uint8_t b : held)
        ASSERT_EQ(b, 0xFF);
    rx.OnBytes(held);
    EXPECT_EQ(rx.reading().hold, 1);

    m.port->Write({0x55});
    EXPECT_TRUE(m.meter.WaitForLine("key REC ignored", 3000));

    m.port->Write({0x33});
    ASSERT_TRUE(m.meter.WaitForLine("key Stop hold off", 3000));
    const int before = rx.decodedFrames();
    ASSERT_TRUE(ReadUntilReading(*m.port, rx, 3000, [&](const receiver::Reading& r) {
        return r.hold == 0 && rx.decodedFrames() > before + 2;
    }));
    EXPECT_EQ(rx.reading().rec, 0);
    EXPECT_EQ(rx.reading().level, 61.2);
}

TEST_F(Program, SilenceAndGarbage)
{
    Running m({"--frame-ms", "20"});
    ASSERT_TRUE(m.started);
    m.meter.Send("silent on");
    ASSERT_TRUE(m.meter.WaitForLine("ok silent on", 3000));
    m.port->ReadFor(100);
    EXPECT_TRUE(Join(m.port->ReadFor(400)).empty());
    // Keys are still taken while silent.
    m.port->Write({0x55});
    EXPECT_TRUE(m.meter.WaitForLine("key REC rec on", 3000));

    m.meter.Send("silent off");
    ASSERT_TRUE(m.meter.WaitForLine("ok silent off", 3000));
    m.port->ReadFor(100);
    receiver::LiveReceiver rx;
    rx.OnBytes(Join(m.port->ReadFor(400)));
    EXPECT_GE(rx.decodedFrames(), 5);
    EXPECT_EQ(rx.reading().rec, 1);

    m.meter.Send("garbage on");
    ASSERT_TRUE(m.meter.WaitForLine("ok garbage on", 3000));
    m.port->ReadFor(100);
    const std::vector<uint8_t> noise = Join(m.port->ReadFor(400));
    EXPECT_GE(noise.size(), 100u);
    const std::string noiseHex = receiver::Hex(noise);
    size_t starts = 0;
    for (size_t at = noiseHex.find("a50d"); at != std::string::npos; at = noiseHex.find("a50d", at + 1))
        ++starts;
    EXPECT_LE(starts, 1u);

    m.meter.Send("garbage mix");
    ASSERT_TRUE(m.meter.WaitForLine("ok garbage mix", 3000));
    m.port->ReadFor(100);
    const std::vector<uint8_t> mixed = Join(m.port->ReadFor(600));
    const std::string mixedHex = receiver::Hex(mixed);
    size_t frames = 0;
    for (size_t at = mixedHex.find("a50d0"); at != std::string::npos; at = mixedHex.find("a50d0", at + 1))
        ++frames;
    EXPECT_GE(frames, 10u);
    EXPECT_GT(mixed.size(), frames * 20 + frames);  // 1-10 stray bytes before each frame
}

TEST_F(Program, FramesCutIntoPiecesStillDecode)
{
    Running m({"--frame-ms", "100", "--cut", "--level", "72.4"});
    ASSERT_TRUE(m.started);
    m.port->ReadFor(150);
    const std::vector<TestPort::Chunk> chunks = m.port->ReadFor(1500);
    size_t pieces = 0;
    for (const TestPort::Chunk& c : chunks)
        pieces += c.bytes.size() % 20 != 0;
    EXPECT_GE(pieces, 10u);
    receiver::LiveReceiver rx;
    FeedAsTheApplicationReads(rx, chunks);
    EXPECT_GE(rx.decodedFrames(), 8);
    EXPECT_DOUBLE_EQ(rx.reading().level, 72.4);
    EXPECT_EQ(rx.reading().range, 4);
}

// A meter that shows a press only in its next regular frame: no frame comes
// early, and the first one after the press carries the change.
TEST_F(Program, KeysInTheNextFrameOnly)
{
    Running m({"--frame-ms", "400", "--keys-in-next-frame"});
    ASSERT_TRUE(m.started);
    receiver::LiveReceiver rx;
    ASSERT_TRUE(ReadUntilReading(*m.port, rx, 3000, [](const receiver::Reading& r) { return r.range == 4; }));
    for (const uint8_t key : {uint8_t{0x55}, uint8_t{0x88}, uint8_t{0x99}}) {
        SCOPED_TRACE(int(key));
        // Press just after a frame, so that the next one is a whole period away.
        std::vector<uint8_t> frame;
        ASSERT_TRUE(m.port->ReadUntil(3000, [&](const TestPort::Chunk& c) {
            frame.insert(frame.end(), c.bytes.begin(), c.bytes.end());
            return frame.size() >= 20;
        }));
        rx.OnBytes(frame);
        const receiver::Reading before = rx.reading();
        const auto pressed = Clock::now();
        m.port->Write({key});
        ASSERT_TRUE(m.meter.WaitForLine("key", 3000));
        std::vector<uint8_t> next;
        ASSERT_TRUE(m.port->ReadUntil(3000, [&](const TestPort::Chunk& c) {
            next.insert(next.end(), c.bytes.begin(), c.bytes.end());
            return next.size() >= 20;
        }));
        EXPECT_GE(Seconds(Clock::now() - pressed), 0.25);
        // Decoded once the next frame's start follows it.
        rx.OnBytes(next);
        rx.OnBytes({0xA5, 0x0D});
        const receiver::Reading after = rx.reading();
        EXPECT_TRUE(after.rec != before.rec || after.range != before.range || after.weightingA != before.weightingA);
    }
}

// Key bytes lost on the line change nothing; the meter's own state says so.
TEST_F(Program, DroppedKeyBytesAndTheStateCommand)
{
    Running m({"--frame-ms", "100"});
    ASSERT_TRUE(m.started);
    std::string line;
    m.meter.Send("state");
    ASSERT_TRUE(m.meter.WaitForLine("state", line, 3000));
    EXPECT_EQ(line, "state hold off rec off maxmin off speed fast range 4 weighting A");
    m.meter.Send("drop 2");
    ASSERT_TRUE(m.meter.WaitForLine("ok drop 2", 3000));
    m.port->Write({0x55});
    ASSERT_TRUE(m.meter.WaitForLine("key", line, 3000));
    EXPECT_EQ(line, "key REC dropped");
    m.port->Write({0x88});
    ASSERT_TRUE(m.meter.WaitForLine("key", line, 3000));
    EXPECT_EQ(line, "key Level dropped");
    m.port->Write({0x55});
    ASSERT_TRUE(m.meter.WaitForLine("key", line, 3000));
    EXPECT_EQ(line, "key REC rec on");
    m.meter.Send("state");
    ASSERT_TRUE(m.meter.WaitForLine("state", line, 3000));
    EXPECT_EQ(line, "state hold off rec on maxmin off speed fast range 4 weighting A");
}
