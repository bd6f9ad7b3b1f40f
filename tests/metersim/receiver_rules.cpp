#include "receiver_rules.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace receiver {

namespace {

// Leading decimal digits of text; none gives 0.
long LeadingNumber(const std::string& text)
{
    long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            break;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::string Sub(const std::string& text, size_t from, size_t count)
{
    return from >= text.size() ? std::string() : text.substr(from, count);
}

}  // namespace

std::string Hex(const std::vector<uint8_t>& bytes)
{
    std::string text;
    char two[3];
    for (uint8_t b : bytes) {
        std::snprintf(two, sizeof(two), "%.2x", b);
        text += two;
    }
    return text;
}

int ReadHour(char flag, char units)
{
    int hour = (units >= '0' && units <= '9') ? units - '0' : 0;
    if (flag & 1)
        hour += 10;
    if (flag & 2)
        hour += 12;
    return hour == 24 ? 12 : hour;
}

void LiveReceiver::OnBytes(const std::vector<uint8_t>& bytes)
{
    for (size_t at = 0; at < bytes.size(); at += 20)
        OnChunk(std::vector<uint8_t>(bytes.begin() + at, bytes.begin() + std::min(bytes.size(), at + 20)));
}

void LiveReceiver::OnChunk(const std::vector<uint8_t>& chunk)
{
    const std::string hex = Hex(chunk);
    if (hex.find("ff") != std::string::npos) {
        m_reading.hold = 1;
        ++m_holdChunks;
        return;
    }
    m_rx += hex;
    if (m_rx.size() < 40)
        return;
    m_reading.hold = 0;
    const size_t f = m_rx.find("a50d");
    if (f == std::string::npos)
        return;
    if (f > 0) {
        m_rx.erase(0, f);
        return;
    }
    if (m_rx.size() == 40) {
        m_rx = hex;
        return;
    }
    const std::string frame = m_rx.substr(0, 40);
    m_rx.erase(0, 40);
    DecodeFrame(frame);
}

void LiveReceiver::DecodeFrame(const std::string& frame)
{
    ++m_decoded;
    std::string levelText = frame[4] == '0' ? frame.substr(5, 2) : frame.substr(4, 3);
    levelText += ".";
    levelText += frame[7];
    m_reading.level = std::strtod(levelText.c_str(), nullptr);
    if (frame.compare(14, 2, "1b") == 0)
        m_reading.weightingA = 1;
    else if (frame.compare(14, 2, "1c") == 0)
        m_reading.weightingA = 0;
    const size_t p = frame.find("a506");
    if (p != std::string::npos) {
        const char flag = p + 4 < frame.size() ? frame[p + 4] : 0;
        const char units = p + 5 < frame.size() ? frame[p + 5] : 0;
        char text[64];
        std::snprintf(text, sizeof(text), "%.2d:%s:%s", ReadHour(flag, units), Sub(frame, p + 6, 2).c_str(),
                      Sub(frame, p + 8, 2).c_str());
        m_reading.time = text;
    }
    auto has = [&](const char* code) { return frame.find(code) != std::string::npos; };
    Reading& r = m_reading;
    if (has("a502")) r.fast = 1;
    if (has("a503")) r.fast = 0;
    if (has("a504")) { r.max = 1; r.min = 0; }
    if (has("a505")) { r.min = 1; r.max = 0; }
    if (has("a50e")) { r.max = 0; r.min = 0; }
    if (has("a508")) r.under = 1;
    if (has("a511")) { r.under = 0; r.over = 0; }
    if (has("a507")) r.over = 1;
    if (has("a50a")) r.rec = 1;
    if (has("a51a")) r.rec = 0;
    r.follow = has("a50b");
    r.freeze = has("a50c");
    if (has("a530")) r.range = 1;
    if (has("a54b")) r.range = 2;
    if (has("a54c")) r.range = 3;
    if (has("a540")) r.range = 4;
}

void LogCollector::OnBytes(const std::vector<uint8_t>& bytes)
{
    for (size_t at = 0; at < bytes.size(); at += 20)
        OnChunk(std::vector<uint8_t>(bytes.begin() + at, bytes.begin() + std::min(bytes.size(), at + 20)));
}

void LogCollector::OnChunk(const std::vector<uint8_t>& chunk)
{
    if (m_done)
        return;
    const std::string hex = Hex(chunk);
    m_rx += hex;
    if (m_replySeen) {
        if (hex.find("dd") != std::string::npos)
            Parse(m_rx.substr(0, m_rx.find("dd") + 2));
        return;
    }
    const size_t b = m_rx.find("bb");
    if (b == std::string::npos)
        return;
    m_rx.erase(0, b);
    if (m_rx.size() < 6)
        return;
    const int n = static_cast<int>(std::strtol(m_rx.substr(2, 4).c_str(), nullptr, 16));
    m_rx.erase(0, 6);
    m_expected = n - 98;
    m_replySeen = true;
    if (m_expected == 2) {
        m_empty = true;
        m_done = true;
        return;
    }
    const size_t d = m_rx.find("dd");
    if (d != std::string::npos)
        Parse(m_rx.substr(0, d + 2));
}

void LogCollector::Parse(const std::string& text)
{
    std::string rest = text;
    for (size_t p; (p = rest.find("ac")) != std::string::npos;) {
        const std::string header = p >= 16 ? rest.substr(p - 16, 16) : rest.substr(0, 16);
        const std::string samples = p > 16 ? rest.substr(0, p - 16) : std::string();
        rest = rest.substr(p + 2);
        if (!samples.empty())
            MakeSamples(samples, false);
        ++m_block;
        ReadHeader(header);
    }
    const size_t d = rest.find("dd");
    if (d != std::string::npos)
        MakeSamples(rest.substr(0, d), true);
    m_done = true;
}

void LogCollector::MakeSamples(const std::string& text, bool dropTrailingPair)
{
    const size_t end = dropTrailingPair ? (text.size() >= 2 ? text.size() - 2 : 0) : text.size();
    for (size_t at = 0; at < end; at += 4) {
        LoggedSample s;
        s.value = LeadingNumber(text.substr(at, 4)) / 10.0;
        char when[64];
        std::snprintf(when, sizeof(when), "%.2d-%.2d-%d,%d:%.2d:%.2d", m_day, m_month, m_year, m_hour, m_minute,
                      m_second);
        s.dateTime = when;
        s.unit = m_unit;
        s.recording = m_block;
        s.interval = m_interval;
        m_samples.push_back(s);
        std::tm t{};
        t.tm_year = m_year - 1900;
        t.tm_mon = m_month - 1;
        t.tm_mday = m_day;
        t.tm_hour = m_hour;
        t.tm_min = m_minute;
        t.tm_sec = m_second + static_cast<int>(m_interval);
        t.tm_isdst = -1;
        std::mktime(&t);
        m_year = t.tm_year + 1900;
        m_month = t.tm_mon + 1;
        m_day = t.tm_mday;
        m_hour = t.tm_hour;
        m_minute = t.tm_min;
        m_second = t.tm_sec;
    }
}

void LogCollector::ReadHeader(const std::string& header)
{
    m_year = static_cast<int>(LeadingNumber("20" + Sub(header, 2, 2)));
    m_month = static_cast<int>(LeadingNumber(Sub(header, 4, 2)));
    m_hour = ReadHour(header.size() > 8 ? header[8] : 0, header.size() > 9 ? header[9] : 0);
    m_unit = Sub(header, 0, 2) == "aa" ? "dBA" : "dBC";
    m_day = static_cast<int>(LeadingNumber(Sub(header, 6, 2)));
    m_minute = static_cast<int>(LeadingNumber(Sub(header, 10, 2)));
    m_second = static_cast<int>(LeadingNumber(Sub(header, 12, 2)));
    m_interval = static_cast<double>(LeadingNumber(Sub(header, 14, 2)));
}

}  // namespace receiver
