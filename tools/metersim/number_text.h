// Numbers typed by people: levels in files and commands, counts in options.
#pragma once

#include <optional>
#include <string>

namespace metersim {

// A level in dB with at most one decimal ("65", "65.3") as tenths; nullopt
// when text is not one or lies outside 0-999.9.
std::optional<int> ParseLevelText(const std::string& text);

// A plain decimal number without sign, at most limit; nullopt otherwise.
std::optional<int> ParseWholeNumber(const std::string& text, int limit);

}  // namespace metersim
