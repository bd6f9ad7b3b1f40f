// The metersim program end to end, from the application's side of its port.
#include "meter_process.h"
#include "receiver_rules.h"
#include "recordings.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <csignal>
#include <ctime>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

using namespace metertest;
using Clock = std::chrono::steady_clock;

namespace {

double Seconds(Clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

class Program : public ::testing::Test {
protected:
    Program()
        : m_ports(m_tmp.path() + "/ports")
        , m_env("COMPORTS_DIR", m_ports)
    {
    }

    std::string LinkTarget(int n) const
    {
        char target[256];
        const ssize_t len = readlink((m_ports + "/com" + std::to_string(n)).c_str(), target, sizeof(target));
        return len > 0 ? std::string(target, static_cast<size_t>(len)) : std::string();
    }

    std::string FriendlyName(int n) const
    {
        std::ifstream in(m_ports + "/com" + std::to_string(n) + ".name");
        std::string line;
        std::getline(in, line);
        return line;
    }

    bool Exists(const std::string& path) const
    {
        struct stat st {};
        return lstat(path.c_str(), &st) == 0;
    }

    testutil::TempDir m_tmp;
    std::string m_ports;
    testutil::ScopedEnv m_env;
};

// A started meter with its port open on the test side.
struct Running {
    explicit Running(const std::vector<std::string>& args)
        : meter(args)
    {
        started = ReadPortLine(meter, number, device);
        if (started)
            port = std::make_unique<TestPort>(device);
    }
    MeterProcess meter;
    bool started = false;
    int number = 0;
    std::string device;
    std::unique_ptr<TestPort> port;
};

// Feeds the port's bytes to the receiver until check(reading) holds.
bool ReadUntilReading(TestPort& port, receiver::LiveReceiver& rx, int timeoutMs,
                      const std::function<bool(const receiver::Reading&)>& check)
{
    return port.ReadUntil(timeoutMs, [&](const TestPort::Chunk& c) {
        rx.OnBytes(c.bytes);
        return check(rx.reading());
    });
}

// Hands bytes over as the application's reader does: chunks of 20 bytes, or
// fewer when the line has been quiet for 100 ms.
void FeedAsTheApplicationReads(receiver::LiveReceiver& rx, const std::vector<TestPort::Chunk>& reads)
{
    std::vector<uint8_t> pending;
    Clock::time_point last{};
    for (const TestPort::Chunk& c : reads) {
        if (!pending.empty() && c.at - last > std::chrono::milliseconds(100)) {
            rx.OnChunk(pending);
            pending.clear();
        }
        last = c.at;
        for (uint8_t b : c.bytes) {
            pending.push_back(b);
            if (pending.size() == 20) {
                rx.OnChunk(pending);
                pending.clear();
            }
        }
    }
}

void SendRequests(TestPort& port, int count)
{
    for (int i = 0; i < count; ++i) {
        port.Write({0x5A, 0xAC});
        usleep(2000);
    }
}

}  // namespace

TEST_F(Program, HelpAndRefusedStarts)
{
    {
        MeterProcess help({"--help"});
        std::string text, line;
        while (help.ReadLine(line, 5000))
            text += line + "\n";
        EXPECT_EQ(help.Wait(5000), 0);
        for (const char* phrase : {"Silicon Labs CP210x USB to UART Bridge (COMn)", "--frame-ms", "0x5A 0xAC",
                                   "recording YYYY-MM-DD HH:MM:SS INTERVAL A|C", "--control", "stall on", "vanish"})
            EXPECT_NE(text.find(phrase), std::string::npos) << phrase;
    }
    MeterProcess bad({"--frame-ms", "0"});
    EXPECT_EQ(bad.Wait(5000), 1);

    const std::string file = m_tmp.path() + "/bad.txt";
    std::ofstream(file) << "recording 2026-02-30 10:00:00 1 A\n";
    MeterProcess badFile({"--recordings", file});
    EXPECT_EQ(badFile.Wait(5000), 1);
    EXPECT_FALSE(Exists(m_ports + "/com40"));
}

TEST_F(Program, RegistersItsPortAndRemovesItOnEveryEnding)
{
    Running a({"--frame-ms", "50"});
    ASSERT_TRUE(a.started);
    EXPECT_EQ(a.number, 40);
    EXPECT_EQ(a.device.rfind("/dev/pts/", 0), 0u);
    EXPECT_EQ(LinkTarget(40), a.device);
    EXPECT_EQ(FriendlyName(40), "Silicon Labs CP210x USB to UART Bridge (COM40)");

    Running b({"--frame-ms", "50"});
    ASSERT_TRUE(b.started);
    EXPECT_EQ(b.number, 41);
    EXPECT_NE(b.device, a.device);

    // A link to an existing device is someone's port; a dangling one is free.
    ASSERT_EQ(symlink("/dev/null", (m_ports + "/com42").c_str()), 0);
    ASSERT_EQ(symlink("/dev/pts/no-such", (m_ports + "/com43").c_str()), 0);
    Running c({"--frame-ms", "50"});
    ASSERT_TRUE(c.started);
    EXPECT_EQ(c.number, 43);
    EXPECT_EQ(LinkTarget(43), c.device);

    MeterProcess taken({"--port", "41"});
    EXPECT_EQ(taken.Wait(5000), 1);
    EXPECT_EQ(LinkTarget(41), b.device);

    a.meter.Signal(SIGTERM);
    EXPECT_EQ(a.meter.Wait(5000), 0);
    EXPECT_FALSE(Exists(m_ports + "/com40"));
    EXPECT_FALSE(Exists(m_ports + "/com40.name"));

    b.meter.Signal(SIGINT);
    EXPECT_EQ(b.meter.Wait(5000), 0);
    EXPECT_FALSE(Exists(m_ports + "/com41"));

    c.meter.Send("quit");
    EXPECT_EQ(c.meter.Wait(5000), 0);
    EXPECT_FALSE(Exists(m_ports + "/com43"));
    EXPECT_EQ(LinkTarget(42), "/dev/null");

    // The numbers are free again; an explicit one is taken as asked.
    Running d({"--port", "7"});
    ASSERT_TRUE(d.started);
    EXPECT_EQ(d.number, 7);
    EXPECT_EQ(FriendlyName(7), "Silicon Labs CP210x USB to UART Bridge (COM7)");
}

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
    // In range 50-100 the room's level lies mostly below: UNDER shows.
    EXPECT_TRUE(ReadUntilReading(*m.port, rx, 5000, [](const receiver::Reading& r) { return r.under == 1; }));
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

TEST_F(Program, DownloadIsPacedLikeA9600BaudLine)
{
    Running m({"--frame-ms", "100"});
    ASSERT_TRUE(m.started);
    m.port->ReadFor(300);
    // The application repeats its request until the reply tag arrives.
    SendRequests(*m.port, 50);
    std::string line;
    ASSERT_TRUE(m.meter.WaitForLine("download", line, 3000));
    const std::vector<metersim::Recording> stored = metersim::GeneratedRecordings();
    const size_t size = 3 + metersim::BlockBytes(stored) + 1;
    EXPECT_EQ(line, "download " + std::to_string(size));

    receiver::LogCollector collector;
    Clock::time_point firstAt{}, lastAt{}, previousAt{};
    double longestGap = 0;
    std::vector<uint8_t> afterEnd;
    ASSERT_TRUE(m.port->ReadUntil(10000, [&](const TestPort::Chunk& c) {
        const bool wasSeen = collector.replySeen();
        collector.OnBytes(c.bytes);
        if (!wasSeen && collector.replySeen())
            firstAt = c.at;
        if (wasSeen)
            longestGap = std::max(longestGap, Seconds(c.at - previousAt));
        previousAt = c.at;
        if (!collector.done())
            return false;
        lastAt = c.at;
        const size_t end = receiver::Hex(c.bytes).find("dd") / 2;
        afterEnd.assign(c.bytes.begin() + static_cast<long>(end) + 1, c.bytes.end());
        return true;
    }));

    const double took = Seconds(lastAt - firstAt);
    const double expected = size / 960.0;
    EXPECT_GT(took, expected * 0.8) << took;
    EXPECT_LT(took, expected * 2.5) << took;
    EXPECT_LT(longestGap, 0.5);
    EXPECT_EQ(collector.expected(), static_cast<int>(size - 3));

    size_t total = 0;
    for (const metersim::Recording& r : stored)
        total += r.tenths.size();
    ASSERT_EQ(collector.samples().size(), total);
    size_t at = 0;
    for (size_t n = 0; n < stored.size(); ++n) {
        for (int t : stored[n].tenths) {
            EXPECT_DOUBLE_EQ(collector.samples()[at].value, t / 10.0);
            EXPECT_EQ(collector.samples()[at].recording, static_cast<int>(n + 1));
            ++at;
        }
    }
    EXPECT_TRUE(m.meter.WaitForLine("download done", 3000));

    // Live frames follow, and the repeated requests brought no second reply.
    receiver::LiveReceiver rx;
    rx.OnBytes(afterEnd);
    rx.OnBytes(Join(m.port->ReadFor(800)));
    EXPECT_GE(rx.decodedFrames(), 3);
    EXPECT_EQ(receiver::Hex(afterEnd).find("bb"), std::string::npos);
    m.meter.Send("quit");
    while (m.meter.ReadLine(line, 3000))
        EXPECT_NE(line.rfind("download ", 0), 0u) << line;
}

TEST_F(Program, DownloadsRecordingsFromFilesAndAnEmptyLogger)
{
    const std::string file = m_tmp.path() + "/rec.txt";
    std::ofstream(file) << "recording 2011-06-15 13:30:00 2 A\n65.3 70.1\nrecording 2011-06-16 08:00:58 1 C\n"
                           "40.0 41.5 42.0\n";
    Running m({"--frame-ms", "50", "--line-rate", "0", "--recordings", file});
    ASSERT_TRUE(m.started);
    m.port->ReadFor(200);
    SendRequests(*m.port, 5);
    receiver::LogCollector collector;
    ASSERT_TRUE(m.port->ReadUntil(5000, [&](const TestPort::Chunk& c) {
        collector.OnBytes(c.bytes);
        return collector.done();
    }));
    const auto& s = collector.samples();
    ASSERT_EQ(s.size(), 5u);
    EXPECT_EQ(s[0].dateTime, "15-06-2011,13:30:00");
    EXPECT_EQ(s[1].dateTime, "15-06-2011,13:30:02");
    EXPECT_DOUBLE_EQ(s[1].value, 70.1);
    EXPECT_EQ(s[1].unit, "dBA");
    EXPECT_EQ(s[4].dateTime, "16-06-2011,8:01:00");
    EXPECT_EQ(s[4].unit, "dBC");
    EXPECT_EQ(s[4].recording, 2);
    EXPECT_DOUBLE_EQ(s[4].value, 42.0);

    m.meter.Send("empty on");
    ASSERT_TRUE(m.meter.WaitForLine("ok empty on", 3000));
    m.port->ReadFor(700);  // past the time in which requests count as repeats
    SendRequests(*m.port, 3);
    receiver::LogCollector empty;
    ASSERT_TRUE(m.port->ReadUntil(3000, [&](const TestPort::Chunk& c) {
        empty.OnBytes(c.bytes);
        return empty.done();
    }));
    EXPECT_TRUE(empty.empty());
    EXPECT_TRUE(empty.samples().empty());
    EXPECT_TRUE(m.meter.WaitForLine("download 4", 3000));
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

TEST_F(Program, StalledDownloadStopsHalfWayThenFramesResume)
{
    Running m({"--frame-ms", "50", "--line-rate", "0", "--stall-download=1"});
    ASSERT_TRUE(m.started);
    m.port->ReadFor(200);
    SendRequests(*m.port, 3);
    ASSERT_TRUE(m.meter.WaitForLine("download stalled", 3000));
    receiver::LogCollector collector;
    collector.OnBytes(Join(m.port->ReadFor(100)));
    EXPECT_TRUE(collector.replySeen());
    EXPECT_FALSE(collector.done());

    // Dead quiet, requests or not, then live frames again.
    SendRequests(*m.port, 3);
    EXPECT_TRUE(Join(m.port->ReadFor(600)).empty());
    receiver::LiveReceiver rx;
    EXPECT_TRUE(ReadUntilReading(*m.port, rx, 3000, [&](const receiver::Reading&) { return rx.decodedFrames() >= 2; }));

    // Switched off, the next download goes through.
    m.meter.Send("stall off");
    ASSERT_TRUE(m.meter.WaitForLine("ok stall off", 3000));
    SendRequests(*m.port, 3);
    receiver::LogCollector whole;
    EXPECT_TRUE(m.port->ReadUntil(3000, [&](const TestPort::Chunk& c) {
        whole.OnBytes(c.bytes);
        return whole.done();
    }));
}

TEST_F(Program, VanishesAndComesBackUnderItsNumber)
{
    Running m({"--frame-ms", "50"});
    ASSERT_TRUE(m.started);
    m.meter.Send("vanish");
    std::string line;
    ASSERT_TRUE(m.meter.WaitForLine("gone", line, 3000));
    EXPECT_EQ(line, "gone COM40");
    EXPECT_FALSE(Exists(m_ports + "/com40"));
    EXPECT_TRUE(m.port->HungUp(2000));

    // Its number stays its own while it is gone.
    Running other({"--frame-ms", "50"});
    ASSERT_TRUE(other.started);
    EXPECT_EQ(other.number, 41);

    m.meter.Send("return");
    int number = 0;
    std::string device;
    ASSERT_TRUE(ReadPortLine(m.meter, number, device));
    EXPECT_EQ(number, 40);
    EXPECT_EQ(LinkTarget(40), device);
    EXPECT_EQ(FriendlyName(40), "Silicon Labs CP210x USB to UART Bridge (COM40)");
    TestPort again(device);
    receiver::LiveReceiver rx;
    rx.OnBytes(Join(again.ReadFor(500)));
    EXPECT_GE(rx.decodedFrames(), 3);

    m.meter.Send("return");
    EXPECT_TRUE(m.meter.WaitForLine("error", 3000));
}

TEST_F(Program, TimedVanishAndReturnFromTheCommandLine)
{
    Running m({"--frame-ms", "50", "--vanish-after", "300", "--return-after", "300"});
    ASSERT_TRUE(m.started);
    std::string line;
    ASSERT_TRUE(m.meter.WaitForLine("gone", line, 3000));
    int number = 0;
    std::string device;
    ASSERT_TRUE(ReadPortLine(m.meter, number, device));
    EXPECT_EQ(number, m.number);
    EXPECT_EQ(LinkTarget(number), device);
}

TEST_F(Program, ControlFifoTakesCommands)
{
    const std::string fifo = m_tmp.path() + "/control";
    Running m({"--frame-ms", "50", "--control", fifo});
    ASSERT_TRUE(m.started);
    {
        std::ofstream control(fifo);
        control << "silent on\nnonsense\n";
    }
    EXPECT_TRUE(m.meter.WaitForLine("ok silent on", 3000));
    EXPECT_TRUE(m.meter.WaitForLine("error unknown command", 3000));
    {
        std::ofstream control(fifo);
        control << "quit\n";
    }
    EXPECT_EQ(m.meter.Wait(5000), 0);
    EXPECT_FALSE(Exists(fifo));
}
