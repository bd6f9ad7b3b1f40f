// How the layer numbers ports and reads the port directory (win32/ports.h).
#pragma once

#include "win32/ports.h"

#include <string>
#include <vector>

namespace win32 {

struct PortLink {
    int number = 0;            // N of "comN"
    std::string target;        // where the link points, as written in it
    std::string friendlyName;  // first line of "comN.name"; empty when absent
};

// The COM number of a kernel tty name such as "ttyUSB0"; 0 when it has none.
int ComNumberForKernelName(const std::string& kernelName);

// The kernel name numbered n by the blocks above; empty when none.
std::string KernelNameForComNumber(int n);

// The links of the port directory, ordered by number. Entries that are not
// symbolic links named "comN" (N >= 1) are ignored. A link's friendly name is
// the first line of the regular file comN.name beside it, of which no more
// than a few hundred bytes are read; anything else there gives no name.
std::vector<PortLink> ReadPortLinks();

// Parses "\\.\COMn", "COMn" (any case); 0 when the name is not of that form.
int ComNumberFromDeviceName(const std::wstring& name);

}  // namespace win32
