#include "meterdata/setup_preview.h"

#include <cmath>

namespace {

bool FormatUnpadded(std::time_t t, CString* text)
{
    std::tm local {};
    if (!localtime_r(&t, &local))
        return false;
    text->Format(L"%d-%d-%d,%d:%d:%d", local.tm_mday, local.tm_mon + 1, local.tm_year + 1900, local.tm_hour,
        local.tm_min, local.tm_sec);
    return true;
}

} // namespace

SSetupPreview ComputeSetupPreview(int points, double interval, std::time_t now)
{
    SSetupPreview preview;
    const double total = points * interval;
    // Whole hours of any int count at up to 10 s fit an int; the rest is below an hour.
    const double hours = std::trunc(total / 3600);
    const double minutes = std::trunc((total - hours * 3600) / 60);
    const double seconds = std::trunc(total - hours * 3600 - minutes * 60);
    preview.duration.Format(L"%lld hour %d minute %d second", static_cast<long long>(hours),
        static_cast<int>(minutes), static_cast<int>(seconds));
    FormatUnpadded(now, &preview.start);
    long long end = 0;
    if (std::isfinite(total) && std::fabs(total) < 1e15
        && !__builtin_add_overflow(static_cast<long long>(now), static_cast<long long>(std::trunc(total)), &end))
        FormatUnpadded(static_cast<std::time_t>(end), &preview.end);
    return preview;
}
