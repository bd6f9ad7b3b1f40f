#include "afx/fixed.h"
#include "tie.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <vector>

double AfxTieAwayFromZero(double value, int decimals)
{
    // value × 10^d ends in exactly one half when 2 × value × 10^d =
    // value × 2^(d+1) × 5^d is an odd integer, that is when value × 2^(d+1)
    // is one (5^d is odd). Scaling by a power of two is exact. No double is
    // an odd multiple of less than 2^-1074.
    if (decimals < 0 || decimals > 1073 || !std::isfinite(value))
        return value;
    const double scaled = std::ldexp(value, decimals + 1);
    if (!std::isfinite(scaled) || std::trunc(scaled) != scaled || std::fmod(scaled, 2.0) == 0.0)
        return value;
    return std::nextafter(value, value > 0 ? std::numeric_limits<double>::infinity()
                                           : -std::numeric_limits<double>::infinity());
}

void AfxAppendFixed(std::string& out, double value, int width, int decimals)
{
    if (decimals < 0)
        decimals = 6;  // as printf takes a negative precision: none given
    value = AfxTieAwayFromZero(value, decimals);
    // 309 digits before the point at most, then the decimals asked for.
    char small[400];
    std::vector<char> large;
    char* buffer = small;
    size_t size = sizeof small;
    if (decimals > 80) {
        large.resize(static_cast<size_t>(decimals) + 320);
        buffer = large.data();
        size = large.size();
    }
    const auto result = std::to_chars(buffer, buffer + size, value, std::chars_format::fixed, decimals);
    const size_t length = result.ec == std::errc() ? static_cast<size_t>(result.ptr - buffer) : 0;
    if (static_cast<int>(length) < width)
        out.append(static_cast<size_t>(width) - length, ' ');
    out.append(buffer, length);
}
