#include "meterproto/logger_parse.h"

#include "meterproto/frame_decode.h"
#include "meterproto/logger_reply.h"

#include <ctime>

namespace meterproto {

namespace {

constexpr int kHeaderChars = 16;
constexpr int kSampleChars = 4;

struct SBlockStart {
    CString unit;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    double interval = 0;
};

wchar_t CharAt(const CString& text, int index)
{
    return index >= 0 && index < text.GetLength() ? text[index] : L'\0';
}

bool InRange(const SBlockStart& s)
{
    return s.year >= 1900 && s.month >= 1 && s.month <= 12 && s.day >= 1 && s.day <= 31 && s.hour >= 0 && s.hour <= 23
        && s.minute >= 0 && s.minute <= 59 && s.second >= 0 && s.second <= 59;
}

// The header rule; characters past the end of the text read as absent.
SBlockStart ReadHeader(const CString& header)
{
    SBlockStart s;
    s.unit = CharAt(header, 0) == L'a' && CharAt(header, 1) == L'a' ? L"dBA" : L"dBC";
    s.year = LeadingDecimal(L"20" + header.Mid(2, 2), 0, 4);
    s.month = LeadingDecimal(header, 4, 2);
    s.day = LeadingDecimal(header, 6, 2);
    s.hour = HourFromHexChars(CharAt(header, 8), CharAt(header, 9));
    s.minute = LeadingDecimal(header, 10, 2);
    s.second = LeadingDecimal(header, 12, 2);
    s.interval = LeadingDecimal(header, 14, 2);
    return s;
}

// One block's samples at their times. A header in range has a year of
// 2000-2099 and an interval of at most 99 s, and a block has fewer samples than
// its text has characters, so the times stay far inside what time_t and tm hold.
class BlockWriter {
public:
    BlockWriter(const SBlockStart& start, int recordSet) : m_start(start), m_recordSet(recordSet)
    {
        if (!InRange(start))
            return;
        // timegm counts a day past the month's end on into the next month.
        tm fields{};
        fields.tm_year = start.year - 1900;
        fields.tm_mon = start.month - 1;
        fields.tm_mday = start.day;
        fields.tm_hour = start.hour;
        fields.tm_min = start.minute;
        fields.tm_sec = start.second;
        m_seconds = timegm(&fields);
        m_steps = m_seconds != static_cast<time_t>(-1);
    }

    // Samples from the groups of text[begin, end): groups start at begin,
    // begin + 4, ... while the start lies before `stop`.
    void Add(std::vector<SLoggedSample>& out, const CString& text, int begin, int end, int stop)
    {
        for (int group = begin; group < stop; group += kSampleChars) {
            const int length = group + kSampleChars <= end ? kSampleChars : end - group;
            out.push_back({ LeadingDecimal(text, group, length) / 10.0, Now(), m_start.unit, m_recordSet,
                m_start.interval });
            m_seconds += static_cast<time_t>(m_start.interval);
        }
    }

private:
    CString Now() const
    {
        int year = m_start.year, month = m_start.month, day = m_start.day;
        int hour = m_start.hour, minute = m_start.minute, second = m_start.second;
        tm fields{};
        if (m_steps && gmtime_r(&m_seconds, &fields)) {
            year = fields.tm_year + 1900;
            month = fields.tm_mon + 1;
            day = fields.tm_mday;
            hour = fields.tm_hour;
            minute = fields.tm_min;
            second = fields.tm_sec;
        }
        CString text;
        text.Format(L"%.2d-%.2d-%d,%d:%.2d:%.2d", day, month, year, hour, minute, second);
        return text;
    }

    SBlockStart m_start;
    int m_recordSet;
    bool m_steps = false;
    time_t m_seconds = 0;
};

}  // namespace

int LeadingDecimal(const CString& text, int start, int count)
{
    int value = 0;
    const int end = start + count < text.GetLength() ? start + count : text.GetLength();
    for (int i = start; i < end && text[i] >= L'0' && text[i] <= L'9'; ++i)
        value = value * 10 + (text[i] - L'0');
    return value;
}

SLoggerData ParseLoggerText(const CString& text)
{
    SLoggerData data;
    int rest = 0;  // where the text not yet parsed begins
    bool haveBlock = false;
    SBlockStart block;
    for (int mark; (mark = text.Find(kLogBlockMarkText, rest)) >= 0;) {
        const int before = mark - rest;
        const int headerStart = before >= kHeaderChars ? mark - kHeaderChars : rest;
        const int samplesEnd = before >= kHeaderChars + 1 ? mark - kHeaderChars : rest;
        const CString header = text.Mid(headerStart, kHeaderChars);
        if (haveBlock && samplesEnd > rest)
            BlockWriter(block, data.blocks).Add(data.samples, text, rest, samplesEnd, samplesEnd);
        rest = mark + 2;
        ++data.blocks;
        block = ReadHeader(header);
        haveBlock = true;
    }
    const int end = text.Find(kLogEndText, rest);
    if (haveBlock && end >= 0)
        BlockWriter(block, data.blocks).Add(data.samples, text, rest, end, end - 2);
    return data;
}

}  // namespace meterproto
