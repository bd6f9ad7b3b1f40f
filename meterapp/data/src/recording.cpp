#include "meterdata/recording.h"

#include <charconv>
#include <cmath>
#include <string>
#include <utility>

void ResetRecordingStatistics(SStatInfo& stat)
{
    stat.average = 0;
    stat.max = 0;
    stat.maxTime.Empty();
    stat.minTime.Empty();
    stat.min = 150;
    stat.startTime.Empty();
    stat.sum = 0;
}

bool ParseRateText(const CString& text, double* seconds)
{
    *seconds = 0;
    // The characters a decimal number may hold; from_chars reads the longest
    // number among them and knows nothing of locales.
    std::string narrow;
    int i = 0;
    while (i < text.GetLength() && (text[i] == L' ' || text[i] == L'\t'))
        ++i;
    for (; i < text.GetLength(); ++i) {
        const wchar_t c = text[i];
        if (!((c >= L'0' && c <= L'9') || c == L'.' || c == L'-' || c == L'+' || c == L'e' || c == L'E'))
            break;
        narrow.push_back(static_cast<char>(c));
    }
    const char* begin = narrow.c_str();
    if (!narrow.empty() && narrow[0] == '+')
        ++begin;
    double value = 0;
    const auto result = std::from_chars(begin, narrow.c_str() + narrow.size(), value);
    if (result.ec != std::errc() || !std::isfinite(value))
        return false;
    *seconds = value;
    return true;
}

UINT SamplePeriodMs(double seconds)
{
    const double ms = seconds * 1000;
    if (!(ms >= 1) || ms > 4.0e9)
        return 0;
    return static_cast<UINT>(ms);
}

ESampleTick DecideSampleTick(bool hold, bool connected, INT_PTR count, int maxSamples)
{
    if (hold || !connected)
        return ESampleTick::Skip;
    if (count >= maxSamples)
        return ESampleTick::Stop;
    return ESampleTick::Take;
}

CObjData* MakeSample(double level, bool weightingA, const std::tm& local, double interval)
{
    // A text made by formatting keeps the formatting's larger buffer; the
    // record takes over what it is given, and a recording holds 40,000 of them.
    const CString formatted = FormatSampleDateTime(local);
    CString dateTime(static_cast<LPCWSTR>(formatted));
    return new CObjData(level, std::move(dateTime), weightingA ? L"dBA" : L"dBC", 0, interval);
}

SSampleEffect AddSampleToStatistics(SStatInfo& stat, const CObArray& records)
{
    SSampleEffect effect;
    const INT_PTR count = records.GetSize();
    if (count == 0)
        return effect;
    stat.startTime = RecordAt(records, 0)->m_strDateTime;
    const CObjData* last = RecordAt(records, count - 1);
    const double value = last->m_dValue;
    if (value > stat.max) {
        stat.max = value;
        stat.maxTime = last->m_strDateTime;
        stat.maxUnit = last->m_strUnit;
        effect.newMax = true;
    }
    if (value < stat.min) {
        stat.min = value;
        stat.minTime = last->m_strDateTime;
        stat.minUnit = last->m_strUnit;
        effect.newMin = true;
    }
    stat.sum += value;
    stat.average = stat.sum / static_cast<double>(count);
    return effect;
}
