#include "number_text.h"

namespace metersim {

std::optional<int> ParseLevelText(const std::string& text)
{
    int whole = 0;
    size_t i = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        whole = whole * 10 + (text[i] - '0');
        if (whole > 999)
            return std::nullopt;
    }
    if (i == 0)
        return std::nullopt;
    int tenth = 0;
    if (i < text.size()) {
        if (text[i] != '.' || i + 2 != text.size() || text[i + 1] < '0' || text[i + 1] > '9')
            return std::nullopt;
        tenth = text[i + 1] - '0';
    }
    return whole * 10 + tenth;
}

std::optional<int> ParseWholeNumber(const std::string& text, int limit)
{
    if (text.empty() || text.size() > 9)
        return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value > limit)
        return std::nullopt;
    return value;
}

}  // namespace metersim
