// Where the serial-port enumeration learns about tty devices: libudev on the
// machine, or a tree that a test library puts in its place. Both answer the
// same few questions, so the naming and filtering logic is written once.
#pragma once

#include <functional>
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

// The devices that the enumeration and the device watcher see: the machine's
// (libudev, device nodes in /dev) unless a test library has put a tree of its
// own in their place.
struct DeviceTree {
    std::function<std::unique_ptr<DeviceSource>()> makeSource;  // empty: libudev
    std::string nodeDirectory;                                  // empty: /dev
};

// Uses `tree` from now on (any thread); returns the one it replaces.
DeviceTree UseDeviceTree(DeviceTree tree);

// A source of the tree in use; null when libudev cannot start.
std::unique_ptr<DeviceSource> MakeDeviceSource();

// The absolute path with every link followed; empty when it does not exist.
std::string ResolvedPath(const std::string& path);

// Where the device nodes of the tree in use live.
std::string DeviceNodeDirectory();

}  // namespace win32
