#include "meterfiles/decimal_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>

namespace meterfiles {

namespace {

template <class Char> bool IsBlank(Char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

template <class Char> bool IsDigit(Char c)
{
    return c >= '0' && c <= '9';
}

template <class Char> double ReadNumber(const Char* text, size_t length)
{
    size_t i = 0;
    while (i < length && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < length && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';

    // Most numbers are short, without an exponent: an integer of up to 15
    // digits divided by a power of ten is the correctly rounded value, as
    // both are exact doubles and the division rounds once.
    {
        static const double kPowers[] = { 1, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13,
            1e14, 1e15 };
        size_t j = i;
        int64_t mantissa = 0;
        int count = 0;
        int decimals = 0;
        while (j < length && IsDigit(text[j]) && count < 16) {
            mantissa = mantissa * 10 + (text[j++] - '0');
            ++count;
        }
        if (j < length && text[j] == '.') {
            ++j;
            while (j < length && IsDigit(text[j]) && count < 16) {
                mantissa = mantissa * 10 + (text[j++] - '0');
                ++count;
                ++decimals;
            }
        }
        const bool more = j < length && (IsDigit(text[j]) || text[j] == 'e' || text[j] == 'E');
        if (count > 0 && count <= 15 && !more) {
            const double value = static_cast<double>(mantissa) / kPowers[decimals];
            return negative ? -value : value;
        }
    }

    // Only the characters that make up the number are copied, so an enormous
    // text costs no more than its number.
    std::string number;
    size_t digits = 0;
    while (i < length && IsDigit(text[i])) {
        number.push_back(static_cast<char>(text[i++]));
        ++digits;
    }
    if (i < length && text[i] == '.') {
        number.push_back('.');
        ++i;
        while (i < length && IsDigit(text[i])) {
            number.push_back(static_cast<char>(text[i++]));
            ++digits;
        }
    }
    if (digits == 0)
        return 0.0;
    if (i < length && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        std::string exponent = "e";
        if (j < length && (text[j] == '+' || text[j] == '-'))
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

}  // namespace

double ReadDecimalNumber(const wchar_t* text, size_t length)
{
    return ReadNumber(text, length);
}

double ReadDecimalNumber(const char* text, size_t length)
{
    return ReadNumber(text, length);
}

double ReadDecimalNumber(const CString& text)
{
    return ReadDecimalNumber(text.GetString(), static_cast<size_t>(text.GetLength()));
}

}  // namespace meterfiles
