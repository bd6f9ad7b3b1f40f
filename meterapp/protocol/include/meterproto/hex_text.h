// Received bytes as the receive path keeps them: lower-case hex text.
#pragma once

#include "afx/cstring.h"
#include "win32/types.h"

namespace meterproto {

// The digits of hex text, indexed by nibble.
constexpr char kHexDigits[] = "0123456789abcdef";

// Two lower-case hex digits per byte, in order ("%.2x" each). A null pointer
// or a length of 0 or less gives an empty text.
CString ChunkToHex(const BYTE* data, int length);

}  // namespace meterproto
