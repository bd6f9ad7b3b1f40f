// Where the serial-port enumeration learns about tty devices: libudev on the
// machine, or a directory tree laid out like sysfs for tests. Both answer the
// same few questions, so the naming and filtering logic is written once.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace win32 {

// One device of the device tree (a tty class device or one of its ancestors).
class DeviceNode {
public:
    virtual ~DeviceNode() = default;
    // Kernel name: "ttyUSB0", "1-2:1.0", "1-2".
    virtual std::string SysName() const = 0;
    // Name of the bound driver; empty when none is bound.
    virtual std::string Driver() const = 0;
    // A sysfs attribute without its line end; nullopt when the
    // device has no such attribute or it cannot be read.
    virtual std::optional<std::string> Attribute(const std::string& name) const = 0;
    // The next device up the tree; null at the top. Virtual consoles and
    // pseudo-terminals have none.
    virtual std::unique_ptr<DeviceNode> Parent() const = 0;
};

class DeviceSource {
public:
    virtual ~DeviceSource() = default;
    // The devices of the "tty" class, in no particular order. Empty when the
    // tree cannot be read.
    virtual std::vector<std::unique_ptr<DeviceNode>> TtyDevices() = 0;
};

// The machine's devices through libudev; null when libudev cannot start.
std::unique_ptr<DeviceSource> MakeUdevDeviceSource();

// A sysfs-like tree below root:
//   root/class/tty/<name>           directory of a tty device (or a link to one)
//   root/class/tty/<name>/device    link to its parent device (optional)
//   root/devices/...                devices; a directory is a device when it
//                                   holds a file "uevent"
//   <device>/<attribute>            attribute values as text files
//   <device>/driver                 link whose last component names the driver
// Parents above the first are found by walking up to the nearest directory
// below root/devices that holds "uevent". Pointing root at "/sys" reads the
// machine's own sysfs.
std::unique_ptr<DeviceSource> MakeSysfsTreeDeviceSource(const std::string& root);

// The tree of $WIN32_SYSFS_ROOT when that is set and not empty, else libudev.
std::unique_ptr<DeviceSource> MakeDeviceSource();

// The absolute path with every link followed; empty when it does not exist.
std::string ResolvedPath(const std::string& path);

// Where device nodes live: $WIN32_DEV_DIR when set and not empty, else "/dev".
std::string DeviceNodeDirectory();

}  // namespace win32
