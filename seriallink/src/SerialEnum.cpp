#include "seriallink/SerialEnum.h"

#include "PortNames.h"

#include "win32/comm.h"
#include "win32/errors.h"
#include "win32/setupapi.h"
#include "win32/system.h"

#include <cstddef>
#include <vector>

namespace {

// Device paths of up to 128 characters fit, as in the 262-byte buffer of Windows.
const size_t kDevicePathChars = 129;
// Properties of up to 255 characters fit, as in a 512-byte buffer of Windows.
const size_t kPropertyChars = 256;
const int kNumberedPorts = 16;

[[noreturn]] void ThrowFailure(LPCWSTR format, DWORD error)
{
    CString message;
    message.Format(format, error);
    throw message;
}

// Frees the device information set however the walk ends.
class DeviceSet {
public:
    explicit DeviceSet(HDEVINFO set) : m_set(set) {}
    ~DeviceSet() { SetupDiDestroyDeviceInfoList(m_set); }
    DeviceSet(const DeviceSet&) = delete;
    DeviceSet& operator=(const DeviceSet&) = delete;
    HDEVINFO get() const { return m_set; }

private:
    HDEVINFO m_set;
};

bool ReadProperty(HDEVINFO set, SP_DEVINFO_DATA& device, DWORD property, WCHAR (&text)[kPropertyChars])
{
    return SetupDiGetDeviceRegistryPropertyW(set, &device, property, nullptr, reinterpret_cast<PBYTE>(text),
                                             sizeof(text), nullptr) != FALSE;
}

bool IsBusy(const CString& devicePath)
{
    const HANDLE handle =
        CreateFileW(devicePath, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return true;
    CloseHandle(handle);
    return false;
}

}  // namespace

namespace seriallink {

void FillMissingNames(SSerInfo& info)
{
    if (info.strFriendlyName.IsEmpty())
        info.strFriendlyName = info.strPortName;
    if (info.strPortDesc.IsEmpty()) {
        info.strPortDesc = info.strFriendlyName;
        const int open = info.strPortDesc.Find(L" (");
        const int close = info.strPortDesc.Find(L')');
        if (open > 0 && close == info.strPortDesc.GetLength() - 1)
            info.strPortDesc = info.strPortDesc.Left(open);
    }
}

}  // namespace seriallink

void ListSerialPorts(CArray<SSerInfo, SSerInfo&>& ports, BOOL ignoreBusy)
{
    ports.RemoveAll();

    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof(version);
    if (!GetVersionExW(&version))
        ThrowFailure(L"Could not get OS version. (err=%lx)", GetLastError());

    // Below version 5 (outside what the program supports) every platform gets the numbered ports.
    if (version.dwMajorVersion >= 5)
        ListPortsBySetupApi(ports);
    else
        ListNumberedPorts(ports);

    for (INT_PTR i = 0; i < ports.GetSize();) {
        if (ignoreBusy && IsBusy(ports[i].strDevPath)) {
            ports.RemoveAt(i);  // the next entry moves into i
            continue;
        }
        seriallink::FillMissingNames(ports[i]);
        ++i;
    }
}

void ListPortsBySetupApi(CArray<SSerInfo, SSerInfo&>& ports)
{
    const HDEVINFO set = SetupDiGetClassDevsW(&GUID_DEVINTERFACE_COMPORT, nullptr, nullptr,
                                              DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (set == INVALID_HANDLE_VALUE)
        ThrowFailure(L"SetupDiGetClassDevs failed. (err=%lx)", GetLastError());
    DeviceSet guard(set);

    const size_t detailBytes =
        offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_W, DevicePath) + kDevicePathChars * sizeof(WCHAR);
    std::vector<DWORD> detailStore((detailBytes + sizeof(DWORD) - 1) / sizeof(DWORD));
    auto* detail = reinterpret_cast<PSP_DEVICE_INTERFACE_DETAIL_DATA_W>(detailStore.data());
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);

    SP_DEVICE_INTERFACE_DATA interfaceData{};
    interfaceData.cbSize = sizeof(interfaceData);
    for (DWORD index = 0;; ++index) {
        if (!SetupDiEnumDeviceInterfaces(set, nullptr, &GUID_DEVINTERFACE_COMPORT, index, &interfaceData)) {
            const DWORD error = GetLastError();
            if (error == ERROR_NO_MORE_ITEMS)
                break;
            ThrowFailure(L"SetupDiEnumDeviceInterfaces failed. (err=%lx)", error);
        }
        SP_DEVINFO_DATA device{};
        device.cbSize = sizeof(device);
        if (!SetupDiGetDeviceInterfaceDetailW(set, &interfaceData, detail, static_cast<DWORD>(detailBytes), nullptr,
                                              &device))
            ThrowFailure(L"SetupDiGetDeviceInterfaceDetail failed. (err=%lx)", GetLastError());

        WCHAR friendlyName[kPropertyChars] = {};
        WCHAR description[kPropertyChars] = {};
        if (ReadProperty(set, device, SPDRP_FRIENDLYNAME, friendlyName) &&
            ReadProperty(set, device, SPDRP_DEVICEDESC, description)) {
            SSerInfo info;
            info.strDevPath = detail->DevicePath;
            info.strFriendlyName = friendlyName;
            info.strPortDesc = description;
            ports.Add(info);
        }
    }
}

void ListNumberedPorts(CArray<SSerInfo, SSerInfo&>& ports)
{
    for (int n = 1; n <= kNumberedPorts; ++n) {
        SSerInfo info;
        info.strPortName.Format(L"COM%d", n);
        info.strDevPath = L"\\\\.\\" + info.strPortName;
        ports.Add(info);
    }
}
