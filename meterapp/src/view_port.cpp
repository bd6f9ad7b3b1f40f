// Finding and opening the meter's port.
#include "meterapp/decibar_view.h"

#include "meterapp/key_senders.h"
#include "meterapp/port_dlg.h"
#include "meterproto/port_search.h"
#include "resource.h"

#include <seriallink/ComPort.h>
#include <seriallink/SerialEnum.h>

namespace {

const UINT kOpenPortDelayMs = 2000;
const int kReadChunkBytes = 20;
const int kManualPortPreset = 3;

} // namespace

// Throws the enumeration's CString when the port list cannot be read.
bool CDecibarView::FindMeterPortNumber(int* port)
{
    CArray<SSerInfo, SSerInfo&> ports;
    ListSerialPorts(ports, FALSE);
    std::vector<CString> friendlyNames;
    for (INT_PTR i = 0; i < ports.GetSize(); ++i)
        friendlyNames.push_back(ports[i].strFriendlyName);
    return meterproto::FindMeterPort(friendlyNames, port);
}

void CDecibarView::DetectAndOpenMeterPort()
{
    try {
        int port = 0;
        if (!FindMeterPortNumber(&port))
            return;
        m_nPortNumber = port;
        OpenMeterPort(m_nPortNumber);
        StartWatchdog();
    } catch (const CString&) {
        // The port list could not be read: start-up goes on without a port.
    }
}

void CDecibarView::DetectMeterPort()
{
    try {
        int port = 0;
        if (!FindMeterPortNumber(&port))
            return;
        m_nPortNumber = port;
        SetTimer(TIMER_OPEN_PORT, kOpenPortDelayMs, nullptr);
    } catch (const CString&) {
        // As at start-up: no port, no message.
    }
}

bool CDecibarView::OpenMeterPort(int port)
{
    m_pKeySenders->StopAll();
    m_pPort->Close();
    m_hwndReceiver = GetSafeHwnd();
    if (!m_pPort->Open(port, AutoReceiveMode, 9600, ParityNone, 8, StopBitsOne, FlowNone)) {
        CString text;
        text.Format(L"Warning:Can't open COM%d!", port);
        AfxMessageBox(text, MB_OK | MB_ICONINFORMATION);
        return false;
    }
    m_pPort->m_pReadThread->m_nReadSize = kReadChunkBytes;
    m_pPort->SetReceiveCallback(&CDecibarView::OnMeterBytes, this);
    return true;
}

LRESULT CDecibarView::OnPortChanged(WPARAM, LPARAM)
{
    if (m_bAutoPort)
        DetectMeterPort();
    return 1;
}

void CDecibarView::OnComPortAuto()
{
    m_bAutoPort = true;
    if (!m_bConnected)
        DetectMeterPort();
}

void CDecibarView::OnComPortManual()
{
    m_bAutoPort = false;
    CPort dialog(nullptr);
    dialog.m_nPort = kManualPortPreset;
    if (dialog.DoModal() == IDOK)
        OpenMeterPort(static_cast<int>(dialog.m_nPort));
}
