#include "win32/setupapi.h"
#include "win32/internal.h"

#include "win32/text.h"

#include "serialdevices.h"

#include <cstddef>
#include <cstring>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

const GUID GUID_DEVINTERFACE_COMPORT = {0x86E0D1E0, 0x8089, 0x11D0, {0x9C, 0xE4, 0x08, 0x00, 0x3E, 0x30, 0x1F, 0x73}};
const GUID GUID_DEVCLASS_PORTS = {0x4D36E978, 0xE325, 0x11CE, {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};

namespace {

struct PortInterface {
    std::wstring devicePath;
    std::wstring friendlyName;
    std::wstring description;
    std::wstring location;  // empty: the device has none
};

struct DeviceInfoSet {
    std::vector<PortInterface> ports;
};

// Live sets. Every call on a set holds the lock, so a set cannot be destroyed under a call.
std::mutex g_setsMutex;
std::set<DeviceInfoSet*> g_sets;

DeviceInfoSet* LiveSet(HDEVINFO handle)
{
    auto* set = static_cast<DeviceInfoSet*>(handle);
    return g_sets.count(set) ? set : nullptr;
}

// The interface a record's Reserved field names, when it belongs to this set.
const PortInterface* PortOfRecord(const DeviceInfoSet& set, ULONG_PTR reserved)
{
    for (const PortInterface& port : set.ports)
        if (reinterpret_cast<ULONG_PTR>(&port) == reserved)
            return &port;
    return nullptr;
}

void FillDeviceInfo(const DeviceInfoSet& set, const PortInterface& port, SP_DEVINFO_DATA& data)
{
    data.ClassGuid = GUID_DEVCLASS_PORTS;
    data.DevInst = static_cast<DWORD>(&port - set.ports.data()) + 1;
    data.Reserved = reinterpret_cast<ULONG_PTR>(&port);
}

BOOL Fail(DWORD error)
{
    SetLastError(error);
    return FALSE;
}

}  // namespace

HDEVINFO SetupDiGetClassDevsW(const GUID* classGuid, LPCWSTR enumerator, HWND /*parent*/, DWORD flags)
{
    if (!classGuid && !(flags & DIGCF_ALLCLASSES)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    if (enumerator) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return INVALID_HANDLE_VALUE;
    }
    auto set = std::make_unique<DeviceInfoSet>();
    const bool wantsPorts = (flags & DIGCF_DEVICEINTERFACE) &&
                            ((flags & DIGCF_ALLCLASSES) || (classGuid && *classGuid == GUID_DEVINTERFACE_COMPORT));
    if (wantsPorts) {
        for (const win32::SerialPortEntry& entry : win32::ListPresentSerialPorts()) {
            set->ports.push_back({L"\\\\.\\COM" + std::to_wstring(entry.number), win32::WideFromUtf8(entry.friendlyName),
                                  win32::WideFromUtf8(entry.description), win32::WideFromUtf8(entry.location)});
        }
    }
    std::lock_guard<std::mutex> lock(g_setsMutex);
    g_sets.insert(set.get());
    SetLastError(ERROR_SUCCESS);
    return set.release();
}

BOOL SetupDiEnumDeviceInterfaces(HDEVINFO handle, PSP_DEVINFO_DATA deviceInfoData, const GUID* interfaceClassGuid,
                                 DWORD memberIndex, PSP_DEVICE_INTERFACE_DATA interfaceData)
{
    std::lock_guard<std::mutex> lock(g_setsMutex);
    DeviceInfoSet* set = LiveSet(handle);
    if (!set)
        return Fail(ERROR_INVALID_HANDLE);
    if (!interfaceClassGuid || !interfaceData)
        return Fail(ERROR_INVALID_PARAMETER);
    if (interfaceData->cbSize != sizeof(SP_DEVICE_INTERFACE_DATA))
        return Fail(ERROR_INVALID_USER_BUFFER);
    const PortInterface* port = nullptr;
    if (deviceInfoData) {
        if (deviceInfoData->cbSize != sizeof(SP_DEVINFO_DATA))
            return Fail(ERROR_INVALID_USER_BUFFER);
        const PortInterface* device = PortOfRecord(*set, deviceInfoData->Reserved);
        if (!device)
            return Fail(ERROR_INVALID_PARAMETER);
        // Each port device has exactly one interface.
        port = memberIndex == 0 ? device : nullptr;
    } else if (memberIndex < set->ports.size()) {
        port = &set->ports[memberIndex];
    }
    if (!port || !(*interfaceClassGuid == GUID_DEVINTERFACE_COMPORT))
        return Fail(ERROR_NO_MORE_ITEMS);
    interfaceData->InterfaceClassGuid = GUID_DEVINTERFACE_COMPORT;
    interfaceData->Flags = SPINT_ACTIVE;
    interfaceData->Reserved = reinterpret_cast<ULONG_PTR>(port);
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

BOOL SetupDiGetDeviceInterfaceDetailW(HDEVINFO handle, PSP_DEVICE_INTERFACE_DATA interfaceData,
                                      PSP_DEVICE_INTERFACE_DETAIL_DATA_W detail, DWORD detailSize,
                                      PDWORD requiredSize, PSP_DEVINFO_DATA deviceInfoData)
{
    std::lock_guard<std::mutex> lock(g_setsMutex);
    DeviceInfoSet* set = LiveSet(handle);
    if (!set)
        return Fail(ERROR_INVALID_HANDLE);
    if (!interfaceData)
        return Fail(ERROR_INVALID_PARAMETER);
    if (interfaceData->cbSize != sizeof(SP_DEVICE_INTERFACE_DATA))
        return Fail(ERROR_INVALID_USER_BUFFER);
    const size_t pathOffset = offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_W, DevicePath);
    if (detail ? (detailSize < pathOffset + sizeof(WCHAR) || detail->cbSize != sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W))
               : detailSize != 0)
        return Fail(ERROR_INVALID_USER_BUFFER);
    if (deviceInfoData && deviceInfoData->cbSize != sizeof(SP_DEVINFO_DATA))
        return Fail(ERROR_INVALID_USER_BUFFER);
    const PortInterface* port = PortOfRecord(*set, interfaceData->Reserved);
    if (!port)
        return Fail(ERROR_INVALID_PARAMETER);

    const size_t needed = pathOffset + (port->devicePath.size() + 1) * sizeof(WCHAR);
    if (requiredSize)
        *requiredSize = static_cast<DWORD>(needed);
    if (deviceInfoData)
        FillDeviceInfo(*set, *port, *deviceInfoData);
    if (!detail || detailSize < needed)
        return Fail(ERROR_INSUFFICIENT_BUFFER);
    std::memcpy(detail->DevicePath, port->devicePath.c_str(), (port->devicePath.size() + 1) * sizeof(WCHAR));
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

BOOL SetupDiGetDeviceRegistryPropertyW(HDEVINFO handle, PSP_DEVINFO_DATA deviceInfoData, DWORD property,
                                       PDWORD dataType, PBYTE buffer, DWORD bufferSize, PDWORD requiredSize)
{
    std::lock_guard<std::mutex> lock(g_setsMutex);
    DeviceInfoSet* set = LiveSet(handle);
    if (!set)
        return Fail(ERROR_INVALID_HANDLE);
    if (!deviceInfoData || (!buffer && bufferSize != 0))
        return Fail(ERROR_INVALID_PARAMETER);
    if (deviceInfoData->cbSize != sizeof(SP_DEVINFO_DATA))
        return Fail(ERROR_INVALID_USER_BUFFER);
    const PortInterface* port = PortOfRecord(*set, deviceInfoData->Reserved);
    if (!port)
        return Fail(ERROR_INVALID_PARAMETER);

    const std::wstring* text = nullptr;
    if (property == SPDRP_FRIENDLYNAME)
        text = &port->friendlyName;
    else if (property == SPDRP_DEVICEDESC)
        text = &port->description;
    else if (property == SPDRP_LOCATION_INFORMATION && !port->location.empty())
        text = &port->location;
    if (!text)
        return Fail(ERROR_INVALID_DATA);

    const size_t needed = (text->size() + 1) * sizeof(WCHAR);
    if (dataType)
        *dataType = REG_SZ;
    if (requiredSize)
        *requiredSize = static_cast<DWORD>(needed);
    if (bufferSize < needed)
        return Fail(ERROR_INSUFFICIENT_BUFFER);
    std::memcpy(buffer, text->c_str(), needed);
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

BOOL SetupDiDestroyDeviceInfoList(HDEVINFO handle)
{
    std::lock_guard<std::mutex> lock(g_setsMutex);
    DeviceInfoSet* set = LiveSet(handle);
    if (!set)
        return Fail(ERROR_INVALID_HANDLE);
    g_sets.erase(set);
    delete set;
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}
