// SetupAPI device-interface enumeration of the COM-port interface class.
//
// The present serial ports are the tty devices with hardware behind them (a
// USB serial bridge, a CDC-ACM modem, an on-board UART that is really there)
// and the links of the port directory (win32/ports.h). Each is numbered as
// ports.h describes (a link wins) and named as the Windows driver of its chip
// names it: SPDRP_FRIENDLYNAME "<description> (COMn)", SPDRP_DEVICEDESC the
// description alone:
//   CP210x bridge (USB vendor 0x10C4, driver cp210x)
//                             "Silicon Labs CP210x USB to UART Bridge"
//   FTDI (ftdi_sio)           "USB Serial Port"
//   Prolific (pl2303)         "Prolific USB-to-Serial Comm Port"
//   WCH (ch341)               "USB-SERIAL CH340"
//   CDC-ACM (cdc_acm)         "USB Serial Device"
//   other USB serial chips    "USB Serial Port"
//   on-board and other UARTs  "Communications Port"
// A link with a name file "comN.name" reports that name as its friendly name
// and the name without a trailing " (COMn)" as its description; a link
// without one takes the identity of the device it points to, or "Serial Port"
// when that is no device found here. A link whose target does not exist is
// not present. SPDRP_LOCATION_INFORMATION of a USB device is
// "USB\VID_vvvv&PID_pppp\<USB device kernel name>" (hexadecimal in capitals);
// other devices have none. The device path of every interface is "\\.\COMn",
// which CreateFileW opens.
//
// Identity comes from sysfs attributes (idVendor, idProduct, the driver of the
// USB interface), read through libudev (tests put a tree of their own in its
// place, win32/testing.h). A USB serial port is a tty below a device with
// "idVendor"; the device just below that one is the USB interface whose driver
// decides the name. Device nodes are looked for in /dev when links are matched
// to devices.
//
// The calls may be made from any thread. A device information set is a
// snapshot taken by SetupDiGetClassDevsW. Record sizes (cbSize) must be the
// sizeof of the records declared here, else ERROR_INVALID_USER_BUFFER.
#pragma once

#include "win32/errors.h"
#include "win32/types.h"


typedef PVOID HDEVINFO;

#define DIGCF_PRESENT 0x00000002u
#define DIGCF_DEVICEINTERFACE 0x00000010u

#define SPDRP_DEVICEDESC 0x00000000u
#define SPDRP_FRIENDLYNAME 0x0000000Cu

// {86E0D1E0-8089-11D0-9CE4-08003E301F73}: the COM-port device-interface class.
extern const GUID GUID_DEVINTERFACE_COMPORT;

struct SP_DEVINFO_DATA {
    DWORD cbSize;
    GUID ClassGuid;
    DWORD DevInst;
    ULONG_PTR Reserved;
};
typedef SP_DEVINFO_DATA* PSP_DEVINFO_DATA;

struct SP_DEVICE_INTERFACE_DATA {
    DWORD cbSize;
    GUID InterfaceClassGuid;
    DWORD Flags;
    ULONG_PTR Reserved;
};
typedef SP_DEVICE_INTERFACE_DATA* PSP_DEVICE_INTERFACE_DATA;

// A variable-size record: the path continues past the declared array.
struct SP_DEVICE_INTERFACE_DETAIL_DATA_W {
    DWORD cbSize;
    WCHAR DevicePath[1];
};
typedef SP_DEVICE_INTERFACE_DETAIL_DATA_W* PSP_DEVICE_INTERFACE_DETAIL_DATA_W;

// With DIGCF_DEVICEINTERFACE and GUID_DEVINTERFACE_COMPORT (or
// DIGCF_ALLCLASSES): a new set of the present COM-port interfaces. Any other
// class, or no DIGCF_DEVICEINTERFACE, gives an empty set; only present devices
// are ever listed. No class without DIGCF_ALLCLASSES: INVALID_HANDLE_VALUE
// with ERROR_INVALID_PARAMETER. An enumerator filter is not offered:
// INVALID_HANDLE_VALUE with ERROR_NOT_SUPPORTED. The window is not used. The
// caller frees the set with SetupDiDestroyDeviceInfoList.
HDEVINFO SetupDiGetClassDevsW(const GUID* classGuid, LPCWSTR enumerator, HWND parent, DWORD flags);

// Fills interfaceData with the memberIndex-th interface of the class (of the
// device deviceInfoData only, when that is given). Past the end, or for a
// class other than GUID_DEVINTERFACE_COMPORT: FALSE with ERROR_NO_MORE_ITEMS.
// ERROR_INVALID_HANDLE for a set that is not live, ERROR_INVALID_PARAMETER for
// a missing class or record.
BOOL SetupDiEnumDeviceInterfaces(HDEVINFO set, PSP_DEVINFO_DATA deviceInfoData, const GUID* interfaceClassGuid,
                                 DWORD memberIndex, PSP_DEVICE_INTERFACE_DATA interfaceData);

// Writes the interface's device path ("\\.\COMn", terminated) into detail,
// whose capacity is detailSize bytes. requiredSize (optional) receives the
// bytes needed, also on failure. detail may be null only with detailSize 0.
// Too small: FALSE with ERROR_INSUFFICIENT_BUFFER (deviceInfoData is still
// filled). deviceInfoData (optional) receives the device of the interface.
// ERROR_INVALID_PARAMETER for an interface record that does not come from
// this set.
BOOL SetupDiGetDeviceInterfaceDetailW(HDEVINFO set, PSP_DEVICE_INTERFACE_DATA interfaceData,
                                      PSP_DEVICE_INTERFACE_DETAIL_DATA_W detail, DWORD detailSize,
                                      PDWORD requiredSize, PSP_DEVINFO_DATA deviceInfoData);

// Reads SPDRP_FRIENDLYNAME, SPDRP_DEVICEDESC or SPDRP_LOCATION_INFORMATION as
// a terminated REG_SZ text into buffer (bufferSize bytes). dataType and
// requiredSize (optional) are set also when the buffer is too small, which
// fails with ERROR_INSUFFICIENT_BUFFER. A property the device does not have
// (any other code, or a location of a device that is not USB) fails with
// ERROR_INVALID_DATA. buffer may be null only with bufferSize 0.
BOOL SetupDiGetDeviceRegistryPropertyW(HDEVINFO set, PSP_DEVINFO_DATA deviceInfoData, DWORD property,
                                       PDWORD dataType, PBYTE buffer, DWORD bufferSize, PDWORD requiredSize);

// Frees the set. FALSE with ERROR_INVALID_HANDLE when it is not a live set.
BOOL SetupDiDestroyDeviceInfoList(HDEVINFO set);
