#include "meterfiles/decimal_text.h"

#include <charconv>
#include <cmath>

namespace meterfiles {

namespace {

bool IsBlank(wchar_t c)
{
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\v' || c == L'\f';
}

bool IsDigit(wchar_t c)
{
    return c >= L'0' && c <= L'9';
}

}  // namespace

double ReadDecimalNumber(const wchar_t* text, size_t length)
{
    size_t i = 0;
    while (i < length && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < length && (text[i] == L'+' || text[i] == L'-'))
        negative = text[i++] == L'-';

    // Only the characters that make up the number are copied, so an enormous
    // text costs no more than its number.
    std::string number;
    size_t digits = 0;
    while (i < length && IsDigit(text[i])) {
        number.push_back(static_cast<char>(text[i++]));
        ++digits;
    }
    if (i < length && text[i] == L'.') {
        number.push_back('.');
        ++i;
        while (i < length && IsDigit(text[i])) {
            number.push_back(static_cast<char>(text[i++]));
            ++digits;
        }
    }
    if (digits == 0)
        return 0.0;
    if (i < length && (text[i] == L'e' || text[i] == L'E')) {
        size_t j = i + 1;
        std::string exponent = "e";
        if (j < length && (text[j] == L'+' || text[j] == L'-'))
            exponent.push_back(static_cast<char>(text[j++]));
        if (j < length && IsDigit(text[j])) {
            while (j < length && IsDigit(text[j]))
                exponent.push_back(static_cast<char>(text[j++]));
            number += exponent;
        }
    }

    double value = 0.0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    (void)end;
    if (error != std::errc() || !std::isfinite(value))
        return 0.0;
    return negative ? -value : value;
}

double ReadDecimalNumber(const CString& text)
{
    return ReadDecimalNumber(text.GetString(), static_cast<size_t>(text.GetLength()));
}

void AppendFixed(std::string& out, double value, int width, int precision)
{
    // Wide enough for the largest double written in full.
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, precision);
    const size_t length = result.ec == std::errc() ? static_cast<size_t>(result.ptr - buffer) : 0;
    if (static_cast<int>(length) < width)
        out.append(static_cast<size_t>(width) - length, ' ');
    out.append(buffer, length);
}

}  // namespace meterfiles
