// Builds sysfs-like trees for enumeration tests (the layout that
// win32test::ScopedDeviceTree reads, described in win32/testing.h).
#pragma once

#include <filesystem>
#include <fstream>
#include <map>
#include <string>

namespace testutil {

class FakeSysfs {
public:
    using Attributes = std::map<std::string, std::string>;

    explicit FakeSysfs(std::string root) : m_root(std::move(root))
    {
        std::filesystem::create_directories(m_root + "/class/tty");
        std::filesystem::create_directories(m_root + "/devices");
    }

    const std::string& root() const { return m_root; }

    // A device directory devices/<path> with a uevent file, attributes and
    // optionally a bound driver.
    void AddDevice(const std::string& path, const Attributes& attributes = {}, const std::string& driver = "")
    {
        const std::string dir = m_root + "/devices/" + path;
        std::filesystem::create_directories(dir);
        Write(dir + "/uevent", driver.empty() ? "" : "DRIVER=" + driver + "\n");
        for (const auto& [name, value] : attributes)
            Write(dir + "/" + name, value + "\n");
        if (!driver.empty()) {
            const std::string driverDir = m_root + "/bus/any/drivers/" + driver;
            std::filesystem::create_directories(driverDir);
            std::filesystem::create_directory_symlink(driverDir, dir + "/driver");
        }
    }

    // A tty device below devices/<parent>/tty/<name>, listed in class/tty.
    // An empty parent makes a virtual tty (devices/virtual/tty/<name>).
    void AddTty(const std::string& name, const std::string& parent, const Attributes& attributes = {})
    {
        const std::string dir =
            m_root + "/devices/" + (parent.empty() ? "virtual/tty/" : parent + "/tty/") + name;
        std::filesystem::create_directories(dir);
        Write(dir + "/uevent", "DEVNAME=" + name + "\n");
        for (const auto& [attribute, value] : attributes)
            Write(dir + "/" + attribute, value + "\n");
        if (!parent.empty())
            std::filesystem::create_directory_symlink(m_root + "/devices/" + parent, dir + "/device");
        std::filesystem::create_directory_symlink(dir, m_root + "/class/tty/" + name);
    }

    // A USB serial adapter: USB device devices/usb1/<usb> with the ids,
    // interface <usb>:1.0 bound to interfaceDriver, and when portDriver is
    // given a usb-serial port device in between, as usb-serial drivers make.
    void AddUsbSerial(const std::string& tty, const std::string& usb, const std::string& vendor,
                      const std::string& product, const std::string& interfaceDriver,
                      const std::string& portDriver = "")
    {
        const std::string usbPath = "usb1/" + usb;
        if (!std::filesystem::exists(m_root + "/devices/" + usbPath))
            AddDevice(usbPath, {{"idVendor", vendor}, {"idProduct", product}, {"product", "Adapter"}}, "usb");
        const std::string interfacePath = usbPath + "/" + usb + ":1.0";
        if (!std::filesystem::exists(m_root + "/devices/" + interfacePath))
            AddDevice(interfacePath, {{"bInterfaceNumber", "00"}}, interfaceDriver);
        std::string parent = interfacePath;
        if (!portDriver.empty()) {
            parent = interfacePath + "/" + tty;
            AddDevice(parent, {{"port_number", "0"}}, portDriver);
        }
        AddTty(tty, parent);
    }

    // An on-board UART ttyS<k> of the 8250 driver; uartType 0 is PORT_UNKNOWN.
    void AddUart(const std::string& tty, const std::string& uartType)
    {
        const std::string parent = "platform/serial8250";
        if (!std::filesystem::exists(m_root + "/devices/" + parent))
            AddDevice(parent, {}, "serial8250");
        AddTty(tty, parent, {{"type", uartType}});
    }

private:
    static void Write(const std::string& path, const std::string& text)
    {
        std::ofstream out(path, std::ios::trunc);
        out << text;
    }

    std::string m_root;
};

}  // namespace testutil
