// Enumeration of the machine's serial ports with their friendly names.
#pragma once

#include "afx/collections.h"
#include "afx/cstring.h"

// One serial port.
struct SSerInfo {
    CString strDevPath;       // what CreateFileW opens
    CString strPortName;      // "COMn" on the numbered-port path; empty from SetupAPI
    CString strFriendlyName;  // e.g. "Silicon Labs CP210x USB to UART Bridge (COM4)"
    BOOL bUsbDevice = FALSE;  // not filled: always FALSE
    CString strPortDesc;      // the device description
};

// Empties ports and fills it with the present serial ports: through SetupAPI
// from Windows 2000 (version 5) on, otherwise COM1 to COM16. With ignoreBusy
// TRUE, ports that cannot be opened exclusively now are left out (also those
// this program holds). An empty friendly name becomes the port name; an empty
// description becomes the friendly name without a trailing " (...)".
// Throws a CString (by value) on failure, such as
// "SetupDiGetClassDevs failed. (err=5)"; the entries found before stay in the
// array, without the busy filter and the name fix-ups.
void ListSerialPorts(CArray<SSerInfo, SSerInfo&>& ports, BOOL ignoreBusy);

// Appends the present COM-port interfaces that have both a friendly name and
// a description. Throws a CString on failure as above.
void ListPortsBySetupApi(CArray<SSerInfo, SSerInfo&>& ports);

// Appends COM1 to COM16 ("\\.\COMn"), without probing them.
void ListNumberedPorts(CArray<SSerInfo, SSerInfo&>& ports);
