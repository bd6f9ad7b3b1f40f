#include "PortNames.h"
#include "support/fakesysfs.h"
#include "support/ptyline.h"
#include "win32/testing.h"
#include "seriallink/SerialEnum.h"
#include "seriallink/SerialPort.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using testutil::PortDirectory;
using testutil::PtyLine;

typedef CArray<SSerInfo, SSerInfo&> PortList;

// A machine of our own: a sysfs-like tree, an empty /dev and a port directory.
class FakeMachine {
public:
    FakeMachine()
        : m_sysfs(m_tmp.path() + "/sys"),
          m_tree(m_sysfs.root(), m_tmp.path() + "/dev")
    {
    }
    testutil::FakeSysfs& sysfs() { return m_sysfs; }

private:
    testutil::TempDir m_tmp;
    testutil::FakeSysfs m_sysfs;
    win32test::ScopedDeviceTree m_tree;
    PortDirectory m_ports;
};

const SSerInfo* FindByFriendlyName(const PortList& ports, const wchar_t* name)
{
    for (INT_PTR i = 0; i < ports.GetSize(); ++i) {
        if (ports[i].strFriendlyName == name)
            return &ports[i];
    }
    return nullptr;
}

TEST(SerialEnum, NameFixUps)
{
    struct Case {
        const wchar_t* portName;
        const wchar_t* friendlyName;
        const wchar_t* description;
        const wchar_t* wantFriendly;
        const wchar_t* wantDescription;
    };
    const Case cases[] = {
        {L"", L"Silicon Labs CP210x USB to UART Bridge (COM4)", L"", L"Silicon Labs CP210x USB to UART Bridge (COM4)",
         L"Silicon Labs CP210x USB to UART Bridge"},
        {L"", L"Meter (left) (COM5)", L"", L"Meter (left) (COM5)", L"Meter (left) (COM5)"},
        {L"", L"Bridge (COM6)", L"Kept (as is)", L"Bridge (COM6)", L"Kept (as is)"},
        {L"COM3", L"", L"", L"COM3", L"COM3"},
        {L"", L" (COM7)", L"", L" (COM7)", L" (COM7)"},
        {L"", L"Odd (COM8) x", L"", L"Odd (COM8) x", L"Odd (COM8) x"},
        {L"", L"", L"", L"", L""},
    };
    for (const Case& c : cases) {
        SSerInfo info;
        info.strPortName = c.portName;
        info.strFriendlyName = c.friendlyName;
        info.strPortDesc = c.description;
        seriallink::FillMissingNames(info);
        EXPECT_STREQ(c.wantFriendly, info.strFriendlyName.GetString());
        EXPECT_STREQ(c.wantDescription, info.strPortDesc.GetString()) << "from " << c.friendlyName;
    }
}

TEST(SerialEnum, BridgesAndLinkedPortsWithTheirNames)
{
    FakeMachine machine;
    machine.sysfs().AddUsbSerial("ttyUSB0", "1-2", "10c4", "ea60", "cp210x", "cp210x");
    machine.sysfs().AddUsbSerial("ttyUSB1", "1-3", "10c4", "ea60", "cp210x", "cp210x");
    PtyLine named(5, "Meter (left) (COM5)");
    PtyLine plain(6);

    PortList ports;
    SSerInfo junk;
    ports.Add(junk);  // the array is emptied first
    ListSerialPorts(ports, FALSE);
    ASSERT_EQ(4, ports.GetSize());

    for (const wchar_t* name : {L"Silicon Labs CP210x USB to UART Bridge (COM33)",
                                L"Silicon Labs CP210x USB to UART Bridge (COM34)"}) {
        const SSerInfo* bridge = FindByFriendlyName(ports, name);
        ASSERT_NE(nullptr, bridge) << "missing " << name;
        EXPECT_STREQ(L"Silicon Labs CP210x USB to UART Bridge", bridge->strPortDesc.GetString());
        EXPECT_TRUE(bridge->strPortName.IsEmpty());
        EXPECT_FALSE(bridge->bUsbDevice);
    }
    const SSerInfo* bridge = FindByFriendlyName(ports, L"Silicon Labs CP210x USB to UART Bridge (COM33)");
    EXPECT_STREQ(L"\\\\.\\COM33", bridge->strDevPath.GetString());

    const SSerInfo* meter = FindByFriendlyName(ports, L"Meter (left) (COM5)");
    ASSERT_NE(nullptr, meter);
    EXPECT_STREQ(L"Meter (left)", meter->strPortDesc.GetString());
    EXPECT_STREQ(L"\\\\.\\COM5", meter->strDevPath.GetString());
    // The path reported opens the port.
    CSerialPort port;
    EXPECT_NO_THROW(port.Open(meter->strDevPath, 9600, ParityNone, 8, StopBitsOne, FlowNone, FALSE));
    EXPECT_TRUE(port.IsOpen());
}

TEST(SerialEnum, TheBusyFilterRemovesAdjacentBusyPorts)
{
    FakeMachine machine;
    PtyLine first(5), second(6), third(7), fourth(8);
    CSerialPort holdFirst, holdSecond, holdFourth;
    holdFirst.OpenPort(5, 9600, ParityNone, 8, StopBitsOne, FlowNone, FALSE);
    holdSecond.OpenPort(6, 9600, ParityNone, 8, StopBitsOne, FlowNone, FALSE);
    holdFourth.OpenPort(8, 9600, ParityNone, 8, StopBitsOne, FlowNone, FALSE);

    PortList ports;
    ListSerialPorts(ports, FALSE);
    EXPECT_EQ(4, ports.GetSize());
    ListSerialPorts(ports, TRUE);
    ASSERT_EQ(1, ports.GetSize());
    EXPECT_STREQ(L"\\\\.\\COM7", ports[0].strDevPath.GetString());
    EXPECT_STREQ(L"Serial Port", ports[0].strPortDesc.GetString());
    // The filter's own probe leaves the port free.
    CSerialPort probe;
    EXPECT_NO_THROW(probe.OpenPort(7, 9600, ParityNone, 8, StopBitsOne, FlowNone, FALSE));
}

TEST(SerialEnum, AMachineWithoutPortsGivesAnEmptyList)
{
    FakeMachine machine;
    PortList ports;
    EXPECT_NO_THROW(ListSerialPorts(ports, TRUE));
    EXPECT_EQ(0, ports.GetSize());
}

TEST(SerialEnum, OlderSystemsGetTheNumberedPorts)
{
    FakeMachine machine;
    for (DWORD platform : { VER_PLATFORM_WIN32_NT, VER_PLATFORM_WIN32_WINDOWS }) {
        win32test::ScopedWindowsVersion version(platform, 4, 0, 1381);
        PortList ports;
        ListSerialPorts(ports, FALSE);
        ASSERT_EQ(16, ports.GetSize());
        for (int n = 1; n <= 16; ++n) {
            CString name;
            name.Format(L"COM%d", n);
            const SSerInfo& info = ports[n - 1];
            EXPECT_TRUE(info.strPortName == name);
            EXPECT_TRUE(info.strFriendlyName == name);
            EXPECT_TRUE(info.strPortDesc == name);
            EXPECT_TRUE(info.strDevPath == L"\\\\.\\" + name);
        }
    }
    PortList appended;
    ListNumberedPorts(appended);
    ListNumberedPorts(appended);
    EXPECT_EQ(32, appended.GetSize());
    EXPECT_TRUE(appended[16].strFriendlyName.IsEmpty());
}

}  // namespace
