// COM port numbers on Linux.
//
// The port directory holds links "comN" to device nodes, like the dosdevices
// folder of Windows compatibility layers; a link may carry a friendly name of
// its own in a text file "comN.name" beside it. A link always wins. A port
// without a link is numbered from its kernel name in fixed blocks, so that a
// port's number does not move when another port appears:
//   ttyS k   -> COM(1 + k)     k < 32
//   ttyUSB k -> COM(33 + k)    k < 32
//   ttyACM k -> COM(65 + k)    k < 32
//   ttyAMA k -> COM(97 + k)    k < 32
// Other kernel names get a number only through a link.
#pragma once

#include <string>
#include <vector>

namespace win32 {

struct PortLink {
    int number = 0;            // N of "comN"
    std::string target;        // where the link points, as written in it
    std::string friendlyName;  // first line of "comN.name"; empty when absent
};

// $COMPORTS_DIR, else $XDG_CONFIG_HOME/comports, else $HOME/.config/comports.
std::string PortDirectory();

// The COM number of a kernel tty name such as "ttyUSB0"; 0 when it has none.
int ComNumberForKernelName(const std::string& kernelName);

// The kernel name numbered n by the blocks above; empty when none.
std::string KernelNameForComNumber(int n);

// The links of the port directory, ordered by number. Entries that are not
// symbolic links named "comN" (N >= 1) are ignored. A link's friendly name is
// the first line of the regular file comN.name beside it, of which no more
// than a few hundred bytes are read; anything else there gives no name.
std::vector<PortLink> ReadPortLinks();

// The device node that "\\.\COMn" opens: the target of link comN (or COMN) when
// there is one, a relative target taken from the port directory, otherwise
// /dev/<kernel name>; empty when n has neither.
std::string DeviceForComNumber(int n);

// Parses "\\.\COMn", "COMn" (any case); 0 when the name is not of that form.
int ComNumberFromDeviceName(const std::wstring& name);

// Creates or replaces link comN -> device (and comN.name when friendlyName is
// not empty), creating the directory when needed. Returns false and sets
// errno on failure.
bool WritePortLink(int n, const std::string& device, const std::string& friendlyName);

// Removes link comN and its name file; true when nothing is left of them.
bool RemovePortLink(int n);

}  // namespace win32
