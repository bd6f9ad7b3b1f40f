#include "number_text.h"

#include <charconv>

namespace metersim {

namespace {

bool StartsWithDigit(const std::string& text)
{
    return !text.empty() && text[0] >= '0' && text[0] <= '9';
}

}  // namespace

std::optional<int> ParseLevelText(const std::string& text)
{
    if (!StartsWithDigit(text))
        return std::nullopt;
    const char* end = text.data() + text.size();
    int whole = 0;
    const auto [rest, error] = std::from_chars(text.data(), end, whole);
    if (error != std::errc() || whole > 999)
        return std::nullopt;
    int tenth = 0;
    if (rest != end) {
        if (rest[0] != '.' || rest + 2 != end || rest[1] < '0' || rest[1] > '9')
            return std::nullopt;
        tenth = rest[1] - '0';
    }
    return whole * 10 + tenth;
}

std::optional<int> ParseWholeNumber(const std::string& text, int limit)
{
    if (!StartsWithDigit(text))
        return std::nullopt;
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [rest, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || rest != end || value > limit)
        return std::nullopt;
    return value;
}

}  // namespace metersim
