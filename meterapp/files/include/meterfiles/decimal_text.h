// Numbers in the files' texts, read the same way in every locale (they are
// written by AfxAppendFixed, afx/fixed.h).
#pragma once

#include <cstddef>

namespace meterfiles {

// Reads a decimal number from the front of text: blanks (space, tab, CR, LF,
// VT, FF) are skipped, then an optional sign, digits with an optional point
// and an optional exponent; reading stops at the first character that cannot
// continue the number. No digits, or a number beyond the range of a double,
// give 0. Words such as "inf" or "nan" are not numbers.
double ReadDecimalNumber(const char* text, size_t length);

}  // namespace meterfiles
