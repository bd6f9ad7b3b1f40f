// The serial ports present on the machine, named as the Windows drivers of
// their chips name them. This is the one place that decides which tty devices
// count as ports, which COM number each has and what it is called.
#pragma once

#include "devicesource.h"
#include "win32/port_numbers.h"

#include <string>
#include <vector>

namespace win32 {

struct SerialPortEntry {
    int number = 0;            // n of COMn
    std::string friendlyName;  // UTF-8, as SPDRP_FRIENDLYNAME reports it
    std::string description;   // UTF-8, as SPDRP_DEVICEDESC reports it
    std::string location;      // SPDRP_LOCATION_INFORMATION; empty when the device has none
};

// Which devices count: tty devices with a parent device (virtual consoles and
// pseudo-terminals have none) whose UART is there (attribute "type" absent or
// not 0), numbered by ComNumberForKernelName, together with every link of the
// port directory whose target exists. A device that a link points to (same
// resolved path as deviceNodeDir/<kernel name>) is listed once, under the
// link's number; a device whose kernel number belongs to a link that points
// elsewhere is left out, since "\\.\COMn" opens the link's target. Links
// resolving to the same target are listed once, under the lowest number.
// Ordered by number.
std::vector<SerialPortEntry> ListSerialPortEntries(DeviceSource& source, const std::vector<PortLink>& links,
                                                   const std::string& portDirectory,
                                                   const std::string& deviceNodeDir);

// The same over MakeDeviceSource(), ReadPortLinks(), PortDirectory() and
// DeviceNodeDirectory(). Without a device source only the links are listed.
std::vector<SerialPortEntry> ListPresentSerialPorts();

}  // namespace win32
