// Finding the meter's port among the machine's serial ports.
#pragma once

#include "afx/cstring.h"

#include <vector>

namespace meterproto {

// The friendly-name prefix of the meter's USB-to-UART bridge (38 characters),
// compared case-sensitively.
constexpr wchar_t kMeterPortPrefix[] = L"Silicon Labs CP210x USB to UART Bridge";
// Characters trimmed from both ends of what follows the prefix.
constexpr wchar_t kMeterPortTrimSet[] = L"(COM) ";

// The port number of the meter's bridge, from the friendly names of the
// enumerated ports in enumeration order. Of the names that start with the
// prefix and go on after it, the last wins; a name that is the bare prefix is
// no match. The rest of its name, trimmed of the trim set at both ends, gives
// the number by its leading decimal digits (0 without any; at most INT_MAX).
// Returns false, leaving *portNumber alone, when no name matches.
bool FindMeterPort(const std::vector<CString>& friendlyNames, int* portNumber);

// The number that a friendly name's remainder after the prefix gives, as above.
int MeterPortNumberFromRemainder(const CString& remainder);

}  // namespace meterproto
