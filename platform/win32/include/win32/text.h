// Text between the layer's wide strings and Linux's UTF-8 file names, device
// names and messages.
#pragma once

#include "win32/types.h"

#include <string>

namespace win32 {

// UTF-8 of a wide text; a null text gives an empty one. Values that are not
// Unicode characters become U+FFFD.
std::string Utf8FromWide(LPCWSTR text);

// Wide text of UTF-8; every byte that does not start a well-formed sequence
// becomes U+FFFD.
std::wstring WideFromUtf8(const std::string& text);

}  // namespace win32
