#include "afx/fixed.h"

#include <charconv>
#include <cmath>
#include <limits>

double AfxTieAwayFromZero(double value, int decimals)
{
    // value × 10^d ends in exactly one half when 2 × value × 10^d =
    // value × 2^(d+1) × 5^d is an odd integer, that is when value × 2^(d+1)
    // is one (5^d is odd). Scaling by a power of two is exact.
    if (decimals < 0 || !std::isfinite(value))
        return value;
    const double scaled = std::ldexp(value, decimals + 1);
    if (!std::isfinite(scaled) || std::trunc(scaled) != scaled || std::fmod(scaled, 2.0) == 0.0)
        return value;
    return std::nextafter(value, value > 0 ? std::numeric_limits<double>::infinity()
                                           : -std::numeric_limits<double>::infinity());
}

void AfxAppendFixed(std::string& out, double value, int width, int decimals)
{
    // Wide enough for the largest double written in full.
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, AfxTieAwayFromZero(value, decimals),
                                      std::chars_format::fixed, decimals);
    const size_t length = result.ec == std::errc() ? static_cast<size_t>(result.ptr - buffer) : 0;
    if (static_cast<int>(length) < width)
        out.append(static_cast<size_t>(width) - length, ' ');
    out.append(buffer, length);
}
