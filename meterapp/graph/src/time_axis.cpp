#include "graph/time_axis.h"

#include "graph/geometry.h"
#include "meterdata/records.h"

#include <afx/ctime.h>

#include <climits>
#include <cmath>
#include <string>

namespace graph {

const wchar_t kEmptyGraphStartText[] = L"23-07-2010,00:00:00";

namespace {

// One "%d" of scanf: blanks, an optional sign, at least one digit. Values
// beyond the int range saturate, which every range check below refuses.
bool ScanInt(const std::string& text, size_t& pos, int* out)
{
    while (pos < text.size() && (text[pos] == ' ' || (text[pos] >= '\t' && text[pos] <= '\r')))
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    const size_t digits = pos;
    long long value = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        if (value <= INT_MAX)
            value = value * 10 + (text[pos] - '0');
        ++pos;
    }
    if (pos == digits)
        return false;
    value = negative ? -value : value;
    *out = value > INT_MAX ? INT_MAX : (value < INT_MIN ? INT_MIN : static_cast<int>(value));
    return true;
}

bool ScanLiteral(const std::string& text, size_t& pos, char literal)
{
    if (pos >= text.size() || text[pos] != literal)
        return false;
    ++pos;
    return true;
}

// trunc(seconds), kept where adding it to a time cannot overflow.
long long TruncSeconds(double seconds)
{
    constexpr double kLimit = 4.0e18;
    if (std::isnan(seconds))
        return 0;
    if (seconds >= kLimit)
        return static_cast<long long>(kLimit);
    if (seconds <= -kLimit)
        return -static_cast<long long>(kLimit);
    return static_cast<long long>(seconds);
}

bool AddSeconds(std::time_t t, long long seconds, std::time_t* out)
{
    long long sum = 0;
    if (__builtin_add_overflow(static_cast<long long>(t), seconds, &sum))
        return false;
    *out = static_cast<std::time_t>(sum);
    return true;
}

} // namespace

bool ReadTimeText(const CString& text, std::time_t* out)
{
    std::string bytes;
    bytes.reserve(static_cast<size_t>(text.GetLength()));
    for (int i = 0; i < text.GetLength(); ++i) {
        const char byte = static_cast<char>(text.GetAt(i) & 0xFF);
        if (byte == '\0')
            break;
        bytes.push_back(byte);
    }
    int day = 0, month = 0, year = 0, hour = 0, minute = 0, second = 0;
    size_t pos = 0;
    if (!(ScanInt(bytes, pos, &day) && ScanLiteral(bytes, pos, '-') && ScanInt(bytes, pos, &month)
            && ScanLiteral(bytes, pos, '-') && ScanInt(bytes, pos, &year) && ScanLiteral(bytes, pos, ',')
            && ScanInt(bytes, pos, &hour) && ScanLiteral(bytes, pos, ':') && ScanInt(bytes, pos, &minute)
            && ScanLiteral(bytes, pos, ':') && ScanInt(bytes, pos, &second)))
        return false;
    // CTime refuses fields out of their ranges, years it does not hold and
    // times the calendar cannot convert.
    const std::time_t t = CTime(year, month, day, hour, minute, second).GetTime();
    if (t == static_cast<std::time_t>(-1))
        return false;
    *out = t;
    return true;
}

bool FormatTickTime(std::time_t t, CString* fullText, CString* label)
{
    std::tm local {};
    if (!CTime(t).GetLocalTm(&local))
        return false;
    *fullText = FormatSampleDateTime(local);
    label->Format(L"%.2d:%.2d:%.2d", local.tm_hour, local.tm_min, local.tm_sec);
    return true;
}

CString TimeOfDayLabel(const CString& dateTime)
{
    const int comma = dateTime.Find(L',');
    return comma < 0 ? dateTime : dateTime.Mid(comma + 1);
}

STimeTickLabels LabelTimeTicks(const CObArray& records, const CString& startText,
    const int tickIndex[kTimeTicks], const long long startOffsetSeconds[2])
{
    STimeTickLabels ticks;
    const INT_PTR count = records.GetSize();
    for (int m = 0; m < kTimeTicks; ++m) {
        const int index = tickIndex[m];
        if (index >= 0 && index < count) {
            ticks.fullText[m] = RecordAt(records, index)->m_strDateTime;
            ticks.label[m] = TimeOfDayLabel(ticks.fullText[m]);
            continue;
        }
        std::time_t tick = 0;
        bool built = false;
        CString source;
        if (m < 2) {
            source = startText;
            std::time_t start = 0;
            built = ReadTimeText(startText, &start) && AddSeconds(start, startOffsetSeconds[m], &tick);
        } else {
            std::time_t previous = 0, beforeThat = 0;
            source = ticks.fullText[m - 1];
            if (ReadTimeText(ticks.fullText[m - 1], &previous)) {
                source = ticks.fullText[m - 2];
                built = ReadTimeText(ticks.fullText[m - 2], &beforeThat)
                    && AddSeconds(previous, static_cast<long long>(previous) - beforeThat, &tick);
            }
        }
        if (!built || !FormatTickTime(tick, &ticks.fullText[m], &ticks.label[m])) {
            ticks.fullText[m].Empty();
            ticks.label[m].Empty();
            ticks.labelled = m;
            ticks.failedText = source;
            break;
        }
    }
    return ticks;
}

SScreenTimeAxis ScreenTimeAxis(const SGraphState& s, const CObArray& records)
{
    CString startText = kEmptyGraphStartText;
    double rate = kEmptyGraphRate;
    if (records.GetSize() > 0) {
        const CObjData* first = RecordAt(records, 0);
        startText = first->m_strDateTime;
        rate = first->m_dInterval;
    }
    const int width = s.m_nPlotWidth;
    SScreenTimeAxis axis;
    int tickIndex[kTimeTicks];
    long long startOffset[2];
    for (int m = 0; m < kTimeTicks; ++m) {
        axis.x[m] = m * width / 5 + PLOT_LEFT;
        const double offset = std::trunc(m * width / 5.0);
        tickIndex[m] = IndexAtOffset(s, offset);
        if (m < 2)
            startOffset[m] = TruncSeconds(m * width * s.m_dXScale / 5 * rate);
    }
    axis.labels = LabelTimeTicks(records, startText, tickIndex, startOffset);
    return axis;
}

} // namespace graph
