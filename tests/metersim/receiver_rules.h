// The receiving application's reading rules, as an independent check of what
// the simulated meter sends: live frames, status codes and HOLD found by
// substring search over lower-case hex text, and the logger reply collected
// and parsed the same way. Written from the receiver's rules, not from the
// meter's encoders.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace receiver {

std::string Hex(const std::vector<uint8_t>& bytes);

struct Reading {
    double level = 50.0;
    std::string time;  // hour:minute:second of the last time item
    int range = -1;    // -1: never reported
    int weightingA = -1;
    int fast = 0, rec = 0, max = 0, min = 0, hold = 0, under = 0, over = 0;
    int follow = 0, freeze = 0;
};

// The live receive path: chunks of 1..20 bytes in arrival order.
class LiveReceiver {
public:
    void OnChunk(const std::vector<uint8_t>& chunk);
    // Feeds bytes cut into chunks of at most 20.
    void OnBytes(const std::vector<uint8_t>& bytes);

    const Reading& reading() const { return m_reading; }
    int decodedFrames() const { return m_decoded; }
    int holdChunks() const { return m_holdChunks; }

private:
    void DecodeFrame(const std::string& frame);

    Reading m_reading;
    std::string m_rx;
    int m_decoded = 0;
    int m_holdChunks = 0;
};

// The hour rule shared by the time item and the logger header: units digit,
// +10 for bit 0 of the flag character's code, +12 for bit 1, 24 reads 12.
int ReadHour(char flag, char units);

struct LoggedSample {
    double value = 0;
    std::string dateTime;  // "%.2d-%.2d-%d,%d:%.2d:%.2d"
    std::string unit;
    int recording = 0;
    double interval = 0;
};

// The download collector and parser, fed the chunks that arrive after the
// request (live text before the reply tag included).
class LogCollector {
public:
    void OnChunk(const std::vector<uint8_t>& chunk);
    void OnBytes(const std::vector<uint8_t>& bytes);

    bool replySeen() const { return m_replySeen; }
    bool done() const { return m_done; }
    bool empty() const { return m_empty; }
    int expected() const { return m_expected; }
    const std::vector<LoggedSample>& samples() const { return m_samples; }

private:
    void Parse(const std::string& text);
    void MakeSamples(const std::string& text, bool dropTrailingPair);
    void ReadHeader(const std::string& header);

    std::string m_rx;
    bool m_replySeen = false;
    bool m_done = false;
    bool m_empty = false;
    int m_expected = 0;
    int m_block = 0;
    int m_day = 0, m_hour = 0, m_minute = 0, m_second = 0, m_year = 0, m_month = 0;
    double m_interval = 0;
    std::string m_unit;
    std::vector<LoggedSample> m_samples;
};

}  // namespace receiver
