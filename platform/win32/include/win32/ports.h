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

namespace win32 {

// $COMPORTS_DIR, else $XDG_CONFIG_HOME/comports, else $HOME/.config/comports.
std::string PortDirectory();

// The device node that "\\.\COMn" opens: the target of link comN (or COMN) when
// there is one, a relative target taken from the port directory, otherwise
// /dev/<kernel name>; empty when n has neither.
std::string DeviceForComNumber(int n);

// Creates or replaces link comN -> device (and comN.name when friendlyName is
// not empty), creating the directory when needed. Returns false and sets
// errno on failure.
bool WritePortLink(int n, const std::string& device, const std::string& friendlyName);

// Removes link comN and its name file; true when nothing is left of them.
bool RemovePortLink(int n);

}  // namespace win32
