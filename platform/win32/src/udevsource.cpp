#include "devicesource.h"

#include <libudev.h>

namespace win32 {

namespace {

using UdevContext = std::shared_ptr<udev>;

// Holds its own reference to the device, so a parent outlives the child it came from.
class UdevNode : public DeviceNode {
public:
    UdevNode(UdevContext context, udev_device* device) : m_context(std::move(context)), m_device(device) {}
    ~UdevNode() override { udev_device_unref(m_device); }
    UdevNode(const UdevNode&) = delete;
    UdevNode& operator=(const UdevNode&) = delete;

    std::string SysName() const override { return Text(udev_device_get_sysname(m_device)); }

    std::string Driver() const override { return Text(udev_device_get_driver(m_device)); }

    std::optional<std::string> Attribute(const std::string& name) const override
    {
        const char* value = udev_device_get_sysattr_value(m_device, name.c_str());
        if (!value)
            return std::nullopt;
        return std::string(value);
    }

    std::unique_ptr<DeviceNode> Parent() const override
    {
        // The parent belongs to this device; take a reference of our own.
        udev_device* parent = udev_device_get_parent(m_device);
        if (!parent)
            return nullptr;
        return std::make_unique<UdevNode>(m_context, udev_device_ref(parent));
    }

private:
    static std::string Text(const char* text) { return text ? text : ""; }

    UdevContext m_context;
    udev_device* m_device;
};

class UdevSource : public DeviceSource {
public:
    explicit UdevSource(UdevContext context) : m_context(std::move(context)) {}

    std::vector<std::unique_ptr<DeviceNode>> TtyDevices() override
    {
        std::vector<std::unique_ptr<DeviceNode>> devices;
        udev_enumerate* enumerate = udev_enumerate_new(m_context.get());
        if (!enumerate)
            return devices;
        if (udev_enumerate_add_match_subsystem(enumerate, "tty") >= 0 && udev_enumerate_scan_devices(enumerate) >= 0) {
            udev_list_entry* entry;
            udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(enumerate))
            {
                const char* syspath = udev_list_entry_get_name(entry);
                udev_device* device = syspath ? udev_device_new_from_syspath(m_context.get(), syspath) : nullptr;
                if (device)
                    devices.push_back(std::make_unique<UdevNode>(m_context, device));
            }
        }
        udev_enumerate_unref(enumerate);
        return devices;
    }

private:
    UdevContext m_context;
};

}  // namespace

std::unique_ptr<DeviceSource> MakeUdevDeviceSource()
{
    udev* context = udev_new();
    if (!context)
        return nullptr;
    return std::make_unique<UdevSource>(UdevContext(context, udev_unref));
}

}  // namespace win32
