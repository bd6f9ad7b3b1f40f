#include "serialdevices.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <set>

namespace win32 {

namespace {

// Deep enough for any real USB topology; a guard against a tree that loops.
const int kMaxAncestors = 32;

struct DeviceIdentity {
    std::string description;
    std::string location;
};

struct UsbChip {
    const char* interfaceDriver;
    int vendor;  // -1: any vendor
    const char* description;
};

// The names the Windows drivers of these chips give their ports.
const UsbChip kUsbChips[] = {
    {"cp210x", 0x10C4, "Silicon Labs CP210x USB to UART Bridge"},
    {"ftdi_sio", -1, "USB Serial Port"},
    {"pl2303", -1, "Prolific USB-to-Serial Comm Port"},
    {"ch341", -1, "USB-SERIAL CH340"},
    {"cdc_acm", -1, "USB Serial Device"},
};
const char kOtherUsbDescription[] = "USB Serial Port";
const char kOnBoardDescription[] = "Communications Port";
const char kUnknownLinkDescription[] = "Serial Port";

int ParseHex(const std::optional<std::string>& text)
{
    if (!text || text->empty() || text->size() > 4)
        return -1;
    char* end = nullptr;
    long value = std::strtol(text->c_str(), &end, 16);
    return *end == '\0' ? static_cast<int>(value) : -1;
}

std::string WithPortName(const std::string& description, int number)
{
    return description + " (COM" + std::to_string(number) + ")";
}

// A trailing " (COMn)" removed; the text itself when it has none.
std::string WithoutPortName(const std::string& name)
{
    const size_t open = name.rfind(" (COM");
    if (open == std::string::npos || open == 0 || name.back() != ')')
        return name;
    const std::string digits = name.substr(open + 5, name.size() - open - 6);
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos)
        return name;
    return name.substr(0, open);
}

std::string TrimTrailingSpace(std::string text)
{
    while (!text.empty() && (text.back() == '\r' || text.back() == ' ' || text.back() == '\t'))
        text.pop_back();
    return text;
}

// The identity of a tty device with hardware behind it; nullopt when it has
// no parent device or its UART is not there (PORT_UNKNOWN).
std::optional<DeviceIdentity> IdentifyTty(const DeviceNode& tty)
{
    std::unique_ptr<DeviceNode> parent = tty.Parent();
    if (!parent)
        return std::nullopt;
    if (std::optional<std::string> type = tty.Attribute("type"); type && *type == "0")
        return std::nullopt;

    // Up to the USB device; the node just below it is the interface whose driver serves the port.
    std::unique_ptr<DeviceNode> below;
    std::unique_ptr<DeviceNode> node = std::move(parent);
    for (int depth = 0; node && depth < kMaxAncestors; ++depth) {
        std::optional<std::string> vendorText = node->Attribute("idVendor");
        if (vendorText) {
            const int vendor = ParseHex(vendorText);
            const int product = ParseHex(node->Attribute("idProduct"));
            const std::string driver = below ? below->Driver() : node->Driver();
            DeviceIdentity identity{kOtherUsbDescription, {}};
            for (const UsbChip& chip : kUsbChips) {
                if (driver == chip.interfaceDriver && (chip.vendor < 0 || chip.vendor == vendor)) {
                    identity.description = chip.description;
                    break;
                }
            }
            char ids[32];
            std::snprintf(ids, sizeof(ids), "VID_%04X&PID_%04X", vendor < 0 ? 0 : vendor, product < 0 ? 0 : product);
            identity.location = "USB\\" + std::string(ids) + "\\" + node->SysName();
            return identity;
        }
        below = std::move(node);
        node = below->Parent();
    }
    return DeviceIdentity{kOnBoardDescription, {}};
}

struct HardwarePort {
    int kernelNumber;
    std::string nodePath;  // resolved when the node exists
    DeviceIdentity identity;
};

std::vector<HardwarePort> HardwarePorts(DeviceSource& source, const std::string& deviceNodeDir)
{
    std::vector<HardwarePort> ports;
    for (const std::unique_ptr<DeviceNode>& tty : source.TtyDevices()) {
        std::optional<DeviceIdentity> identity = IdentifyTty(*tty);
        if (!identity)
            continue;
        const std::string name = tty->SysName();
        std::string nodePath = deviceNodeDir + "/" + name;
        if (std::string resolved = ResolvedPath(nodePath); !resolved.empty())
            nodePath = resolved;
        ports.push_back({ComNumberForKernelName(name), nodePath, *identity});
    }
    return ports;
}

}  // namespace

std::vector<SerialPortEntry> ListSerialPortEntries(DeviceSource& source, const std::vector<PortLink>& links,
                                                   const std::string& portDirectory,
                                                   const std::string& deviceNodeDir)
{
    std::vector<HardwarePort> hardware = HardwarePorts(source, deviceNodeDir);
    std::vector<bool> claimed(hardware.size(), false);
    std::set<int> linkNumbers;
    std::set<std::string> linkTargets;
    std::vector<SerialPortEntry> entries;

    std::vector<PortLink> ordered = links;
    std::sort(ordered.begin(), ordered.end(), [](const PortLink& a, const PortLink& b) { return a.number < b.number; });
    for (const PortLink& link : ordered) {
        if (link.number < 1 || link.target.empty() || !linkNumbers.insert(link.number).second)
            continue;
        // A relative target is relative to the link's directory, as the kernel reads it.
        const std::string target =
            ResolvedPath(link.target[0] == '/' ? link.target : portDirectory + "/" + link.target);
        if (target.empty() || !linkTargets.insert(target).second)
            continue;
        const DeviceIdentity* device = nullptr;
        for (size_t i = 0; i < hardware.size(); ++i) {
            if (hardware[i].nodePath == target) {
                claimed[i] = true;
                device = &hardware[i].identity;
                break;
            }
        }
        SerialPortEntry entry;
        entry.number = link.number;
        const std::string ownName = TrimTrailingSpace(link.friendlyName);
        if (!ownName.empty()) {
            entry.friendlyName = ownName;
            entry.description = WithoutPortName(ownName);
        } else {
            entry.description = device ? device->description : kUnknownLinkDescription;
            entry.friendlyName = WithPortName(entry.description, link.number);
        }
        if (device)
            entry.location = device->location;
        entries.push_back(entry);
    }

    for (size_t i = 0; i < hardware.size(); ++i) {
        const HardwarePort& port = hardware[i];
        if (claimed[i] || port.kernelNumber < 1 || linkNumbers.count(port.kernelNumber))
            continue;
        entries.push_back({port.kernelNumber, WithPortName(port.identity.description, port.kernelNumber),
                           port.identity.description, port.identity.location});
    }

    std::sort(entries.begin(), entries.end(),
              [](const SerialPortEntry& a, const SerialPortEntry& b) { return a.number < b.number; });
    return entries;
}

std::vector<SerialPortEntry> ListPresentSerialPorts()
{
    std::unique_ptr<DeviceSource> source = MakeDeviceSource();
    struct NoDevices : DeviceSource {
        std::vector<std::unique_ptr<DeviceNode>> TtyDevices() override { return {}; }
    } none;
    return ListSerialPortEntries(source ? *source : none, ReadPortLinks(), PortDirectory(), DeviceNodeDirectory());
}

}  // namespace win32
