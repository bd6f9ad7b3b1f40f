#include "support/fakesysfs.h"
#include "support/scopedenv.h"
#include "support/tempdir.h"
#include "win32/port_numbers.h"
#include "win32/setupapi.h"
#include "win32/testing.h"
#include "win32/internal.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdio>
#include <fstream>
#include <optional>
#include <unistd.h>
#include <vector>

namespace {

struct ListedPort {
    std::wstring devicePath;
    std::wstring friendlyName;
    std::wstring description;
    std::optional<std::wstring> location;
};

std::optional<std::wstring> ReadProperty(HDEVINFO set, SP_DEVINFO_DATA& device, DWORD property)
{
    // 256 characters, the capacity callers give these buffers.
    WCHAR text[256];
    DWORD type = 0;
    if (!SetupDiGetDeviceRegistryPropertyW(set, &device, property, &type, reinterpret_cast<PBYTE>(text),
                                           sizeof(text), nullptr))
        return std::nullopt;
    EXPECT_EQ(type, REG_SZ);
    return std::wstring(text);
}

// The present COM-port interfaces, asked for as the port enumeration asks.
HDEVINFO PresentPortInterfaces()
{
    return SetupDiGetClassDevsW(&GUID_DEVINTERFACE_COMPORT, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
}

// Checks that set holds no COM-port interface, then destroys it.
void ExpectNoInterfacesAndDestroy(HDEVINFO set)
{
    SP_DEVICE_INTERFACE_DATA interfaceData{};
    interfaceData.cbSize = sizeof(interfaceData);
    SetLastError(0);
    EXPECT_FALSE(SetupDiEnumDeviceInterfaces(set, nullptr, &GUID_DEVINTERFACE_COMPORT, 0, &interfaceData));
    EXPECT_EQ(GetLastError(), ERROR_NO_MORE_ITEMS);
    EXPECT_TRUE(SetupDiDestroyDeviceInfoList(set));
}

// Walks the COM-port interfaces as the port enumeration does.
std::vector<ListedPort> ListPorts()
{
    std::vector<ListedPort> ports;
    HDEVINFO set = PresentPortInterfaces();
    EXPECT_NE(set, INVALID_HANDLE_VALUE);
    if (set == INVALID_HANDLE_VALUE)
        return ports;
    alignas(SP_DEVICE_INTERFACE_DETAIL_DATA_W) BYTE buffer[offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_W, DevicePath) +
                                                           128 * sizeof(WCHAR)];
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(buffer);
    for (DWORD index = 0;; ++index) {
        SP_DEVICE_INTERFACE_DATA interfaceData{};
        interfaceData.cbSize = sizeof(interfaceData);
        if (!SetupDiEnumDeviceInterfaces(set, nullptr, &GUID_DEVINTERFACE_COMPORT, index, &interfaceData)) {
            EXPECT_EQ(GetLastError(), ERROR_NO_MORE_ITEMS);
            break;
        }
        EXPECT_TRUE(interfaceData.InterfaceClassGuid == GUID_DEVINTERFACE_COMPORT);
        SP_DEVINFO_DATA device{};
        device.cbSize = sizeof(device);
        detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
        if (!SetupDiGetDeviceInterfaceDetailW(set, &interfaceData, detail, sizeof(buffer), nullptr, &device)) {
            ADD_FAILURE() << "detail failed with " << GetLastError();
            break;
        }
        EXPECT_TRUE(device.ClassGuid == GUID_DEVCLASS_PORTS);
        ListedPort port;
        port.devicePath = detail->DevicePath;
        port.friendlyName = ReadProperty(set, device, SPDRP_FRIENDLYNAME).value_or(L"<none>");
        port.description = ReadProperty(set, device, SPDRP_DEVICEDESC).value_or(L"<none>");
        port.location = ReadProperty(set, device, SPDRP_LOCATION_INFORMATION);
        if (!port.location) {
            EXPECT_EQ(GetLastError(), ERROR_INVALID_DATA);
        }
        ports.push_back(port);
    }
    EXPECT_TRUE(SetupDiDestroyDeviceInfoList(set));
    return ports;
}

// The CP210x bridge that AddUsbSerial("ttyUSB0", "1-2", "10c4", "ea60", ...)
// makes, listed as COM<number>.
void ExpectCp210xOnHub12(const ListedPort& port, int number)
{
    const std::wstring com = L"COM" + std::to_wstring(number);
    EXPECT_EQ(port.devicePath, L"\\\\.\\" + com);
    EXPECT_EQ(port.friendlyName, L"Silicon Labs CP210x USB to UART Bridge (" + com + L")");
    EXPECT_EQ(port.description, L"Silicon Labs CP210x USB to UART Bridge");
    ASSERT_TRUE(port.location);
    EXPECT_EQ(*port.location, L"USB\\VID_10C4&PID_EA60\\1-2");
}

// A fake machine: sysfs tree, device node folder and port directory of its own.
class Enumeration : public ::testing::Test {
protected:
    Enumeration()
        : sysfs(tmp.path() + "/sys"),
          devDir(tmp.path() + "/dev"),
          portDir(tmp.path() + "/ports"),
          tree(sysfs.root(), devDir),
          portsEnv("COMPORTS_DIR", portDir)
    {
        std::filesystem::create_directories(devDir);
        std::filesystem::create_directories(portDir);
    }

    // A device node (a plain file stands in for it).
    std::string AddNode(const std::string& name)
    {
        const std::string path = devDir + "/" + name;
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream(path) << "";
        return path;
    }

    testutil::TempDir tmp;
    testutil::FakeSysfs sysfs;
    std::string devDir;
    std::string portDir;
    win32test::ScopedDeviceTree tree;
    testutil::ScopedEnv portsEnv;
};

TEST_F(Enumeration, MachineWithoutPortsGivesAnEmptySet)
{
    // Consoles and pseudo-terminal masters have no hardware behind them.
    sysfs.AddTty("tty0", "");
    sysfs.AddTty("console", "");
    sysfs.AddTty("ptmx", "");

    HDEVINFO set = PresentPortInterfaces();
    ASSERT_NE(set, INVALID_HANDLE_VALUE);
    ExpectNoInterfacesAndDestroy(set);

    // An empty tree, and one that does not exist at all.
    EXPECT_TRUE(ListPorts().empty());
    win32test::ScopedDeviceTree missing(tmp.path() + "/nowhere", devDir);
    EXPECT_TRUE(ListPorts().empty());
}

TEST_F(Enumeration, Cp210xBridgeIsNamedAsItsWindowsDriverNamesIt)
{
    sysfs.AddUsbSerial("ttyUSB0", "1-2", "10c4", "ea60", "cp210x", "cp210x");

    std::vector<ListedPort> ports = ListPorts();
    ASSERT_EQ(ports.size(), 1u);
    ExpectCp210xOnHub12(ports[0], 33);
}

TEST_F(Enumeration, TwoBridgesAreBothListedWithTheirNumbers)
{
    sysfs.AddUsbSerial("ttyUSB1", "1-3", "10c4", "ea60", "cp210x", "cp210x");
    sysfs.AddUsbSerial("ttyUSB0", "1-2", "10c4", "ea60", "cp210x", "cp210x");

    std::vector<ListedPort> ports = ListPorts();
    ASSERT_EQ(ports.size(), 2u);
    EXPECT_EQ(ports[0].friendlyName, L"Silicon Labs CP210x USB to UART Bridge (COM33)");
    EXPECT_EQ(ports[0].devicePath, L"\\\\.\\COM33");
    EXPECT_EQ(ports[1].friendlyName, L"Silicon Labs CP210x USB to UART Bridge (COM34)");
    EXPECT_EQ(ports[1].devicePath, L"\\\\.\\COM34");
}

TEST_F(Enumeration, OtherChipsGetTheirDriversNames)
{
    sysfs.AddUsbSerial("ttyUSB0", "1-1", "0403", "6001", "ftdi_sio", "ftdi_sio");
    sysfs.AddUsbSerial("ttyUSB1", "1-2", "067b", "2303", "pl2303", "pl2303");
    // The port device of ch341 has a driver name of its own; the interface's decides.
    sysfs.AddUsbSerial("ttyUSB2", "1-3", "1a86", "7523", "ch341", "ch341-uart");
    // The cp210x driver serves other vendors' chips too; only Silicon Labs' are their bridge.
    sysfs.AddUsbSerial("ttyUSB3", "1-4", "1234", "5678", "cp210x", "cp210x");
    sysfs.AddUsbSerial("ttyUSB4", "1-5", "0e8d", "0003", "option", "option1");
    // CDC-ACM: the tty hangs straight off the interface.
    sysfs.AddUsbSerial("ttyACM0", "1-6", "2341", "0043", "cdc_acm");

    std::vector<ListedPort> ports = ListPorts();
    ASSERT_EQ(ports.size(), 6u);
    const std::pair<const wchar_t*, const wchar_t*> expected[] = {
        {L"USB Serial Port (COM33)", L"USB Serial Port"},
        {L"Prolific USB-to-Serial Comm Port (COM34)", L"Prolific USB-to-Serial Comm Port"},
        {L"USB-SERIAL CH340 (COM35)", L"USB-SERIAL CH340"},
        {L"USB Serial Port (COM36)", L"USB Serial Port"},
        {L"USB Serial Port (COM37)", L"USB Serial Port"},
        {L"USB Serial Device (COM65)", L"USB Serial Device"},
    };
    for (size_t i = 0; i < ports.size(); ++i) {
        EXPECT_EQ(ports[i].friendlyName, expected[i].first);
        EXPECT_EQ(ports[i].description, expected[i].second);
        ASSERT_TRUE(ports[i].location) << i;
        EXPECT_EQ(ports[i].location->compare(0, 4, L"USB\\"), 0) << i;
    }
    EXPECT_EQ(*ports[5].location, L"USB\\VID_2341&PID_0043\\1-6");
}

TEST_F(Enumeration, OnBoardPortsOnlyWhereTheUartIsThere)
{
    sysfs.AddUart("ttyS0", "4");
    sysfs.AddUart("ttyS1", "0");
    sysfs.AddUart("ttyS2", "0");
    sysfs.AddUart("ttyS3", "14");
    // A UART with a kernel name outside every numbering block has no number.
    sysfs.AddUart("ttyS40", "4");

    std::vector<ListedPort> ports = ListPorts();
    ASSERT_EQ(ports.size(), 2u);
    EXPECT_EQ(ports[0].friendlyName, L"Communications Port (COM1)");
    EXPECT_EQ(ports[0].description, L"Communications Port");
    EXPECT_FALSE(ports[0].location);
    EXPECT_EQ(ports[1].friendlyName, L"Communications Port (COM4)");
    EXPECT_EQ(ports[1].devicePath, L"\\\\.\\COM4");
}

TEST_F(Enumeration, LinkWithItsOwnNameAnnouncesItself)
{
    const std::string pty = AddNode("pts/5");
    ASSERT_TRUE(win32::WritePortLink(40, pty, "Silicon Labs CP210x USB to UART Bridge (COM40)"));

    std::vector<ListedPort> ports = ListPorts();
    ASSERT_EQ(ports.size(), 1u);
    EXPECT_EQ(ports[0].devicePath, L"\\\\.\\COM40");
    EXPECT_EQ(ports[0].friendlyName, L"Silicon Labs CP210x USB to UART Bridge (COM40)");
    EXPECT_EQ(ports[0].description, L"Silicon Labs CP210x USB to UART Bridge");
    EXPECT_FALSE(ports[0].location);
}

TEST_F(Enumeration, LinkToADeviceListsItOnceUnderTheLinksNumber)
{
    sysfs.AddUsbSerial("ttyUSB0", "1-2", "10c4", "ea60", "cp210x", "cp210x");
    sysfs.AddUsbSerial("ttyUSB1", "1-3", "0403", "6001", "ftdi_sio", "ftdi_sio");
    AddNode("ttyUSB0");
    AddNode("ttyUSB1");
    // A relative target, as "ln -s" writes it, and an absolute one.
    ASSERT_EQ(symlink("../dev/ttyUSB0", (portDir + "/com7").c_str()), 0);
    ASSERT_TRUE(win32::WritePortLink(3, devDir + "/ttyUSB1", ""));

    std::vector<ListedPort> ports = ListPorts();
    ASSERT_EQ(ports.size(), 2u);
    EXPECT_EQ(ports[0].devicePath, L"\\\\.\\COM3");
    EXPECT_EQ(ports[0].friendlyName, L"USB Serial Port (COM3)");
    ExpectCp210xOnHub12(ports[1], 7);
}

TEST_F(Enumeration, LinksThatPointNowhereOrElsewhere)
{
    sysfs.AddUsbSerial("ttyUSB0", "1-2", "10c4", "ea60", "cp210x", "cp210x");
    AddNode("ttyUSB0");
    const std::string pty = AddNode("pts/2");
    ASSERT_TRUE(win32::WritePortLink(5, devDir + "/ttyUSB9", "Gone (COM5)"));
    ASSERT_TRUE(win32::WritePortLink(9, pty, ""));
    // COM33 belongs to the link now, so the bridge behind ttyUSB0 cannot be reached by it.
    ASSERT_TRUE(win32::WritePortLink(33, pty, ""));
    // Not "comN": ignored.
    ASSERT_EQ(symlink(pty.c_str(), (portDir + "/modem").c_str()), 0);

    std::vector<ListedPort> ports = ListPorts();
    ASSERT_EQ(ports.size(), 1u);
    EXPECT_EQ(ports[0].devicePath, L"\\\\.\\COM9");
    EXPECT_EQ(ports[0].friendlyName, L"Serial Port (COM9)");
    EXPECT_EQ(ports[0].description, L"Serial Port");
}

TEST_F(Enumeration, NameFilesAreTakenAsTheyStand)
{
    const std::string pty = AddNode("pts/1");
    ASSERT_TRUE(win32::WritePortLink(2, pty, "Meter \xC3\xA9 (lab) (COM2)"));
    ASSERT_TRUE(win32::WritePortLink(3, AddNode("pts/3"), "Plain name"));
    ASSERT_TRUE(win32::WritePortLink(4, AddNode("pts/4"), "Bad \xFF\xC3 text"));

    std::vector<ListedPort> ports = ListPorts();
    ASSERT_EQ(ports.size(), 3u);
    EXPECT_EQ(ports[0].friendlyName, L"Meter \u00E9 (lab) (COM2)");
    EXPECT_EQ(ports[0].description, L"Meter \u00E9 (lab)");
    EXPECT_EQ(ports[1].friendlyName, L"Plain name");
    EXPECT_EQ(ports[1].description, L"Plain name");
    EXPECT_EQ(ports[2].friendlyName, L"Bad \uFFFD\uFFFD text");
}

class SetupCalls : public Enumeration {
protected:
    void SetUp() override
    {
        sysfs.AddUsbSerial("ttyUSB0", "1-2", "10c4", "ea60", "cp210x", "cp210x");
        set = PresentPortInterfaces();
        ASSERT_NE(set, INVALID_HANDLE_VALUE);
        interfaceData.cbSize = sizeof(interfaceData);
        ASSERT_TRUE(SetupDiEnumDeviceInterfaces(set, nullptr, &GUID_DEVINTERFACE_COMPORT, 0, &interfaceData));
        device.cbSize = sizeof(device);
        ASSERT_FALSE(SetupDiGetDeviceInterfaceDetailW(set, &interfaceData, nullptr, 0, nullptr, &device));
    }
    void TearDown() override
    {
        if (set != INVALID_HANDLE_VALUE) {
            EXPECT_TRUE(SetupDiDestroyDeviceInfoList(set));
        }
    }

    HDEVINFO set = INVALID_HANDLE_VALUE;
    SP_DEVICE_INTERFACE_DATA interfaceData{};
    SP_DEVINFO_DATA device{};
};

TEST_F(SetupCalls, DetailNeedsRoomForThePathAndItsTerminator)
{
    const DWORD offset = offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_W, DevicePath);
    const DWORD needed = offset + sizeof(L"\\\\.\\COM33");
    DWORD required = 0;
    SetLastError(0);
    EXPECT_FALSE(SetupDiGetDeviceInterfaceDetailW(set, &interfaceData, nullptr, 0, &required, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(required, needed);

    std::vector<BYTE> buffer(needed + 16, 0xFF);
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(buffer.data());
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
    required = 0;
    EXPECT_FALSE(SetupDiGetDeviceInterfaceDetailW(set, &interfaceData, detail, needed - 1, &required, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(required, needed);
    EXPECT_EQ(buffer[offset], 0xFF) << "nothing written on failure";

    EXPECT_TRUE(SetupDiGetDeviceInterfaceDetailW(set, &interfaceData, detail, needed, nullptr, nullptr));
    EXPECT_EQ(std::wstring(detail->DevicePath), L"\\\\.\\COM33");
    EXPECT_EQ(buffer[needed], 0xFF) << "nothing written past the size given";

    // A buffer with room for nothing, and a size without a buffer.
    EXPECT_FALSE(SetupDiGetDeviceInterfaceDetailW(set, &interfaceData, detail, offset, nullptr, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_USER_BUFFER);
    EXPECT_FALSE(SetupDiGetDeviceInterfaceDetailW(set, &interfaceData, nullptr, 100, nullptr, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_USER_BUFFER);
}

TEST_F(SetupCalls, PropertyNeedsRoomForTheTextAndItsTerminator)
{
    const std::wstring name = L"Silicon Labs CP210x USB to UART Bridge (COM33)";
    const DWORD needed = static_cast<DWORD>((name.size() + 1) * sizeof(WCHAR));
    std::vector<BYTE> buffer(needed + 8, 0xFF);
    DWORD required = 0;
    DWORD type = 0;

    EXPECT_FALSE(SetupDiGetDeviceRegistryPropertyW(set, &device, SPDRP_FRIENDLYNAME, &type, nullptr, 0, &required));
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(required, needed);
    EXPECT_EQ(type, REG_SZ);

    // Room for the characters but not the terminator.
    EXPECT_FALSE(SetupDiGetDeviceRegistryPropertyW(set, &device, SPDRP_FRIENDLYNAME, nullptr, buffer.data(),
                                                   needed - sizeof(WCHAR), &required));
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(buffer[0], 0xFF);

    required = 0;
    EXPECT_TRUE(SetupDiGetDeviceRegistryPropertyW(set, &device, SPDRP_FRIENDLYNAME, nullptr, buffer.data(), needed,
                                                  &required));
    EXPECT_EQ(required, needed);
    EXPECT_EQ(std::wstring(reinterpret_cast<const WCHAR*>(buffer.data())), name);
    EXPECT_EQ(buffer[needed], 0xFF);

    EXPECT_FALSE(SetupDiGetDeviceRegistryPropertyW(set, &device, 1 /* SPDRP_HARDWAREID */, nullptr, buffer.data(),
                                                   needed, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_DATA);
    EXPECT_FALSE(SetupDiGetDeviceRegistryPropertyW(set, &device, SPDRP_FRIENDLYNAME, nullptr, nullptr, 8, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST_F(SetupCalls, RecordSizesAreChecked)
{
    SP_DEVICE_INTERFACE_DATA wrongInterface = interfaceData;
    wrongInterface.cbSize = 28;
    EXPECT_FALSE(SetupDiEnumDeviceInterfaces(set, nullptr, &GUID_DEVINTERFACE_COMPORT, 0, &wrongInterface));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_USER_BUFFER);
    EXPECT_FALSE(SetupDiGetDeviceInterfaceDetailW(set, &wrongInterface, nullptr, 0, nullptr, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_USER_BUFFER);

    SP_DEVINFO_DATA wrongDevice = device;
    wrongDevice.cbSize = sizeof(wrongDevice) + 4;
    WCHAR text[64];
    EXPECT_FALSE(SetupDiGetDeviceRegistryPropertyW(set, &wrongDevice, SPDRP_FRIENDLYNAME, nullptr,
                                                   reinterpret_cast<PBYTE>(text), sizeof(text), nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_USER_BUFFER);
    EXPECT_FALSE(SetupDiGetDeviceInterfaceDetailW(set, &interfaceData, nullptr, 0, nullptr, &wrongDevice));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_USER_BUFFER);

    alignas(SP_DEVICE_INTERFACE_DETAIL_DATA_W) BYTE buffer[256];
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(buffer);
    detail->cbSize = 6;
    EXPECT_FALSE(SetupDiGetDeviceInterfaceDetailW(set, &interfaceData, detail, sizeof(buffer), nullptr, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_USER_BUFFER);
}

TEST_F(SetupCalls, RecordsFromElsewhereAndDeadSetsAreRefused)
{
    // A record that no enumeration filled.
    SP_DEVINFO_DATA forged{};
    forged.cbSize = sizeof(forged);
    forged.Reserved = 12345;
    WCHAR text[64];
    EXPECT_FALSE(SetupDiGetDeviceRegistryPropertyW(set, &forged, SPDRP_FRIENDLYNAME, nullptr,
                                                   reinterpret_cast<PBYTE>(text), sizeof(text), nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);

    // Restricted to one device, the set has exactly its interface.
    SP_DEVICE_INTERFACE_DATA again{};
    again.cbSize = sizeof(again);
    EXPECT_TRUE(SetupDiEnumDeviceInterfaces(set, &device, &GUID_DEVINTERFACE_COMPORT, 0, &again));
    EXPECT_EQ(again.Reserved, interfaceData.Reserved);
    EXPECT_FALSE(SetupDiEnumDeviceInterfaces(set, &device, &GUID_DEVINTERFACE_COMPORT, 1, &again));
    EXPECT_EQ(GetLastError(), ERROR_NO_MORE_ITEMS);
    // Another interface class has no members.
    const GUID other = {0x12345678, 1, 2, {3, 4, 5, 6, 7, 8, 9, 10}};
    EXPECT_FALSE(SetupDiEnumDeviceInterfaces(set, nullptr, &other, 0, &again));
    EXPECT_EQ(GetLastError(), ERROR_NO_MORE_ITEMS);

    EXPECT_TRUE(SetupDiDestroyDeviceInfoList(set));
    HDEVINFO dead = set;
    set = INVALID_HANDLE_VALUE;
    EXPECT_FALSE(SetupDiDestroyDeviceInfoList(dead));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(SetupDiEnumDeviceInterfaces(INVALID_HANDLE_VALUE, nullptr, &GUID_DEVINTERFACE_COMPORT, 0, &again));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST_F(Enumeration, OtherClassesGiveAnEmptySet)
{
    sysfs.AddUsbSerial("ttyUSB0", "1-2", "10c4", "ea60", "cp210x", "cp210x");
    const GUID other = {0x12345678, 1, 2, {3, 4, 5, 6, 7, 8, 9, 10}};
    for (auto [guid, flags] : {std::pair{&other, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE},
                               std::pair{&GUID_DEVINTERFACE_COMPORT, DIGCF_PRESENT}}) {
        HDEVINFO set = SetupDiGetClassDevsW(guid, nullptr, nullptr, flags);
        ASSERT_NE(set, INVALID_HANDLE_VALUE);
        ExpectNoInterfacesAndDestroy(set);
    }
    EXPECT_EQ(SetupDiGetClassDevsW(nullptr, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

// The machine's own devices, through libudev and through its sysfs read as a tree.
TEST(MachineEnumeration, RealDevicesListWithoutPortsThatHaveNoUart)
{
    testutil::TempDir ports;
    testutil::ScopedEnv portsEnv("COMPORTS_DIR", ports.path());

    std::vector<ListedPort> viaUdev = ListPorts();
    for (const ListedPort& port : viaUdev) {
        const int number = win32::ComNumberFromDeviceName(port.devicePath);
        ASSERT_GT(number, 0);
        const std::wstring suffix = L" (COM" + std::to_wstring(number) + L")";
        ASSERT_GT(port.friendlyName.size(), suffix.size());
        EXPECT_EQ(port.friendlyName.substr(port.friendlyName.size() - suffix.size()), suffix);
        const std::string kernelName = win32::KernelNameForComNumber(number);
        if (kernelName.compare(0, 4, "ttyS") == 0) {
            std::ifstream type("/sys/class/tty/" + kernelName + "/type");
            std::string value;
            std::getline(type, value);
            EXPECT_NE(value, "0") << kernelName << " has no UART";
        }
    }

    win32test::ScopedDeviceTree tree("/sys", "/dev");
    std::vector<ListedPort> viaTree = ListPorts();
    ASSERT_EQ(viaTree.size(), viaUdev.size());
    for (size_t i = 0; i < viaUdev.size(); ++i) {
        EXPECT_EQ(viaTree[i].devicePath, viaUdev[i].devicePath);
        EXPECT_EQ(viaTree[i].friendlyName, viaUdev[i].friendlyName);
        EXPECT_EQ(viaTree[i].location, viaUdev[i].location);
    }
    std::printf("ports on this machine: %zu\n", viaUdev.size());
    for (const ListedPort& port : viaUdev)
        std::printf("  %ls  %ls\n", port.devicePath.c_str(), port.friendlyName.c_str());
}

}  // namespace
