#include "logger_reply.h"

#include "bcd.h"
#include "live_frame.h"

namespace metersim {

namespace {

bool IsLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month)
{
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month == 2 && IsLeapYear(year))
        return 29;
    return kDays[month - 1];
}

}  // namespace

std::string RecordingProblem(const Recording& r)
{
    if (r.year < 2000 || r.year > 2099)
        return "year " + std::to_string(r.year) + " outside 2000-2099";
    if (r.month < 1 || r.month > 12)
        return "month " + std::to_string(r.month) + " outside 1-12";
    if (r.day < 1 || r.day > DaysInMonth(r.year, r.month))
        return "day " + std::to_string(r.day) + " does not exist in that month";
    if (r.hour < 0 || r.hour > 23 || r.minute < 0 || r.minute > 59 || r.second < 0 || r.second > 59)
        return "time of day out of range";
    if (r.intervalSeconds < 1 || r.intervalSeconds > 99)
        return "interval " + std::to_string(r.intervalSeconds) + " outside 1-99 s";
    for (int t : r.tenths) {
        if (t < 0 || t > 9999)
            return "level " + std::to_string(t / 10.0) + " outside 0-999.9 dB";
    }
    return {};
}

size_t BlockBytes(const std::vector<Recording>& recordings)
{
    size_t total = 0;
    for (const Recording& r : recordings)
        total += kLogHeaderBytes + 1 + 2 * r.tenths.size();
    return total;
}

LoggerReply BuildLoggerReply(const std::vector<Recording>& recordings)
{
    LoggerReply reply;
    const size_t blocks = std::min(BlockBytes(recordings), kLoggerCapacityBytes);
    const size_t count = blocks ? blocks + 1 + kLogCountOffset : kLogEmptyCount;
    reply.bytes = {kLogReplyTag, static_cast<uint8_t>(count >> 8), static_cast<uint8_t>(count & 0xFF)};
    for (const Recording& r : recordings) {
        const uint8_t header[kLogHeaderBytes] = {
            r.weightingA ? kLogUnitA : kLogUnitC,
            BcdByte(r.year - 2000),
            BcdByte(r.month),
            BcdByte(r.day),
            HourByte(r.hour),
            BcdByte(r.minute),
            BcdByte(r.second),
            BcdByte(r.intervalSeconds),
        };
        reply.bytes.insert(reply.bytes.end(), header, header + kLogHeaderBytes);
        reply.markOffsets.push_back(reply.bytes.size());
        reply.bytes.push_back(kLogBlockMark);
        for (int t : r.tenths) {
            const BcdPair sample = BcdTenths(t);
            reply.bytes.push_back(sample.high);
            reply.bytes.push_back(sample.low);
        }
    }
    reply.bytes.push_back(kLogEnd);
    return reply;
}

std::string CheckLoggerReply(const LoggerReply& reply)
{
    const std::string text = HexText(reply.bytes.data(), reply.bytes.size());
    if (text.find("bb") != 0)
        return "the first \"bb\" is not the reply tag";
    if (text.size() < 8)
        return "reply too short";
    const std::string data = text.substr(6);
    if (data.find("dd") != data.size() - 2)
        return "the first \"dd\" is not the end mark";
    size_t from = 0;
    for (size_t mark : reply.markOffsets) {
        const size_t expected = 2 * mark - 6;
        const size_t found = data.find("ac", from);
        if (found != expected)
            return "block mark at byte " + std::to_string(mark) + " is not the next \"ac\"";
        from = found + 2;
    }
    if (data.find("ac", from) < data.size() - 2)
        return "\"ac\" after the last block mark";
    return {};
}

}  // namespace metersim
