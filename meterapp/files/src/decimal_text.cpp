#include "meterfiles/decimal_text.h"

#include <charconv>
#include <cmath>

namespace meterfiles {

double ReadDecimalNumber(const char* text, size_t length)
{
    const char* at = text;
    const char* const end = text + length;
    while (at < end && (*at == ' ' || *at == '\t' || *at == '\r' || *at == '\n' || *at == '\v' || *at == '\f'))
        ++at;
    bool negative = false;
    if (at < end && (*at == '+' || *at == '-'))
        negative = *at++ == '-';
    // from_chars alone would also take "inf", "nan" and a second minus.
    if (at == end || !((*at >= '0' && *at <= '9') || *at == '.'))
        return 0.0;
    double value = 0.0;
    const std::from_chars_result read = std::from_chars(at, end, value);
    if (read.ec != std::errc() || !std::isfinite(value))
        return 0.0;
    return negative ? -value : value;
}

}  // namespace meterfiles
