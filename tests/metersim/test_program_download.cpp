// The metersim program end to end, from the application's side of its port.
// Its logger download.
#include "program_fixture.h"
#include "recordings.h"

#include <gtest/gtest.h>

#include <csignal>
#include <ctime>
#include <fstream>

using namespace metertest;

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
