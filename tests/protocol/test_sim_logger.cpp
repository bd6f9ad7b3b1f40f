// The simulated meter's logger replies, cut into chunks as a serial line cuts
// them, come out of the collector and the parser as the recordings it holds.
#include "frames.h"

#include "logger_reply.h"
#include "recordings.h"

#include "meterproto/logger_parse.h"
#include "meterproto/logger_reply.h"

#include <gtest/gtest.h>

#include <ctime>
#include <random>

namespace {

// Start time plus k intervals, read independently through the C library's
// UTC calendar.
CString TimeOfSample(const metersim::Recording& r, int k)
{
    std::tm t {};
    t.tm_year = r.year - 1900;
    t.tm_mon = r.month - 1;
    t.tm_mday = r.day;
    t.tm_hour = r.hour;
    t.tm_min = r.minute;
    t.tm_sec = r.second;
    const std::time_t at = timegm(&t) + static_cast<std::time_t>(k) * r.intervalSeconds;
    std::tm out {};
    gmtime_r(&at, &out);
    CString text;
    text.Format(L"%.2d-%.2d-%d,%d:%.2d:%.2d", out.tm_mday, out.tm_mon + 1, out.tm_year + 1900, out.tm_hour,
        out.tm_min, out.tm_sec);
    return text;
}

// The download text as the collector hands it over, from chunks of 1 to 20
// bytes, with live frames on the line before the reply.
CString Collect(const std::vector<uint8_t>& reply, std::mt19937& random)
{
    std::vector<uint8_t> line;
    for (int i = 0; i < 3; ++i) {
        const auto frame = prototest::Frame(0x06, 0x50);
        line.insert(line.end(), frame.begin(), frame.end());
    }
    line.insert(line.end(), reply.begin(), reply.end());
    CString strRx;
    meterproto::SLogCollector collector;
    int logBytes = 0;
    size_t at = 0;
    while (at < line.size()) {
        const size_t size = std::min<size_t>(line.size() - at, std::uniform_int_distribution<size_t>(1, 20)(random));
        logBytes += static_cast<int>(size);
        const auto chunk = meterproto::CollectLogChunk(
            meterproto::ChunkToHex(line.data() + at, static_cast<int>(size)), strRx, collector, logBytes);
        at += size;
        if (chunk.step == meterproto::ELogStep::Complete) {
            EXPECT_EQ(at, line.size()) << "ended before the end mark";
            return chunk.text;
        }
        if (at >= 60 + 3) { // three frames and the reply header
            EXPECT_EQ(chunk.step, meterproto::ELogStep::Receiving);
        }
    }
    ADD_FAILURE() << "no end mark";
    return CString();
}

TEST(SimulatedLogger, EveryStoredRecordingComesBackWithItsUnitRateAndTimes)
{
    std::vector<metersim::Recording> stored = metersim::GeneratedRecordings();
    metersim::Recording leap;
    leap.weightingA = false;
    leap.year = 2028;
    leap.month = 2;
    leap.day = 28;
    leap.hour = 23;
    leap.minute = 59;
    leap.second = 0;
    leap.intervalSeconds = 99;
    leap.tenths = { 0, 9999, 1234, 405, 600 };
    stored.push_back(leap);
    metersim::Recording none = leap;
    none.tenths.clear();
    stored.insert(stored.begin() + 1, none);

    const auto reply = metersim::BuildLoggerReply(stored);
    std::mt19937 random(42);
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE(round);
        const auto data = meterproto::ParseLoggerText(Collect(reply.bytes, random));
        EXPECT_EQ(data.blocks, static_cast<int>(stored.size()));
        size_t at = 0;
        for (size_t block = 0; block < stored.size(); ++block) {
            const metersim::Recording& r = stored[block];
            for (size_t k = 0; k < r.tenths.size(); ++k, ++at) {
                ASSERT_LT(at, data.samples.size());
                const auto& s = data.samples[at];
                EXPECT_DOUBLE_EQ(s.value, r.tenths[k] / 10.0);
                EXPECT_EQ(s.unit, r.weightingA ? L"dBA" : L"dBC");
                EXPECT_EQ(s.recordSet, static_cast<int>(block) + 1);
                EXPECT_DOUBLE_EQ(s.interval, r.intervalSeconds);
                EXPECT_EQ(s.dateTime, TimeOfSample(r, static_cast<int>(k)));
            }
        }
        EXPECT_EQ(at, data.samples.size());
    }
}

}  // namespace
