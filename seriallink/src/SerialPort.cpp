#include "seriallink/SerialPort.h"

#include "win32/errors.h"

#include <string>

namespace {

void ApplyParity(DCB& dcb, int parity)
{
    switch (parity) {
    case ParityEven: dcb.Parity = EVENPARITY; break;
    case ParityMark: dcb.Parity = MARKPARITY; break;
    case ParityNone: dcb.Parity = NOPARITY; break;
    case ParityOdd: dcb.Parity = ODDPARITY; break;
    case ParitySpace: dcb.Parity = SPACEPARITY; break;
    default: break;
    }
}

void ApplyStopBits(DCB& dcb, int stopBits)
{
    switch (stopBits) {
    case StopBitsOne: dcb.StopBits = ONESTOPBIT; break;
    case StopBitsOnePointFive: dcb.StopBits = ONE5STOPBITS; break;
    case StopBitsTwo: dcb.StopBits = TWOSTOPBITS; break;
    default: break;
    }
}

void ApplyFlowControl(DCB& dcb, int flowControl)
{
    switch (flowControl) {
    case FlowNone:
        dcb.fOutxCtsFlow = 0;
        dcb.fOutxDsrFlow = 0;
        dcb.fOutX = 0;
        dcb.fInX = 0;
        break;
    case FlowCtsRts:
        dcb.fOutxCtsFlow = 1;
        dcb.fOutxDsrFlow = 0;
        dcb.fRtsControl = RTS_CONTROL_HANDSHAKE;
        dcb.fOutX = 0;
        dcb.fInX = 0;
        break;
    case FlowCtsDtr:
        dcb.fOutxCtsFlow = 1;
        dcb.fOutxDsrFlow = 0;
        dcb.fDtrControl = DTR_CONTROL_HANDSHAKE;
        dcb.fOutX = 0;
        dcb.fInX = 0;
        break;
    case FlowDsrRts:
        dcb.fOutxCtsFlow = 0;
        dcb.fOutxDsrFlow = 1;
        dcb.fRtsControl = RTS_CONTROL_HANDSHAKE;
        dcb.fOutX = 0;
        dcb.fInX = 0;
        break;
    case FlowDsrDtr:
        dcb.fOutxCtsFlow = 0;
        dcb.fOutxDsrFlow = 1;
        dcb.fDtrControl = DTR_CONTROL_HANDSHAKE;
        dcb.fOutX = 0;
        dcb.fInX = 0;
        break;
    case FlowXonXoff:
        dcb.fOutxCtsFlow = 0;
        dcb.fOutxDsrFlow = 0;
        dcb.fOutX = 1;
        dcb.fInX = 1;
        dcb.XonChar = 0x11;
        dcb.XoffChar = 0x13;
        dcb.XonLim = 100;
        dcb.XoffLim = 100;
        break;
    default: break;
    }
}

}  // namespace

CSerialPort::CSerialPort() : m_hComm(INVALID_HANDLE_VALUE), m_bOverlapped(FALSE), m_nPort(0) {}

CSerialPort::~CSerialPort()
{
    Close();
}

BOOL CSerialPort::IsOpen() const
{
    return m_hComm != INVALID_HANDLE_VALUE;
}

void CSerialPort::Close()
{
    const HANDLE handle = m_hComm.exchange(INVALID_HANDLE_VALUE);
    if (handle == INVALID_HANDLE_VALUE)
        return;
    CloseHandle(handle);
    m_bOverlapped = FALSE;
}

void CSerialPort::OpenPort(int port, DWORD baudRate, int parity, BYTE dataBits, int stopBits, int flowControl,
                           BOOL overlapped)
{
    m_nPort = port;
    const std::wstring name = L"\\\\.\\COM" + std::to_wstring(port);
    Open(name.c_str(), baudRate, parity, dataBits, stopBits, flowControl, overlapped);
}

void CSerialPort::Open(LPCWSTR deviceName, DWORD baudRate, int parity, BYTE dataBits, int stopBits, int flowControl,
                       BOOL overlapped)
{
    Close();
    const DWORD flags = FILE_ATTRIBUTE_NORMAL | (overlapped ? FILE_FLAG_OVERLAPPED : 0u);
    m_hComm = CreateFileW(deviceName, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, flags, nullptr);
    if (m_hComm == INVALID_HANDLE_VALUE)
        throw new CSerialException(GetLastError());
    m_bOverlapped = overlapped;

    DCB dcb{};
    dcb.DCBlength = sizeof(DCB);
    if (!GetCommState(m_hComm, &dcb)) {
        const DWORD error = GetLastError();
        Close();
        throw new CSerialException(error);
    }
    dcb.BaudRate = baudRate;
    ApplyParity(dcb, parity);
    dcb.ByteSize = dataBits;
    ApplyStopBits(dcb, stopBits);
    dcb.fDsrSensitivity = 0;
    ApplyFlowControl(dcb, flowControl);
    if (!SetCommState(m_hComm, &dcb)) {
        const DWORD error = GetLastError();
        Close();
        throw new CSerialException(error);
    }
}

void CSerialPort::GetTimeouts(COMMTIMEOUTS* timeouts)
{
    GetCommTimeouts(m_hComm, timeouts);
}

void CSerialPort::SetTimeouts(COMMTIMEOUTS* timeouts)
{
    SetCommTimeouts(m_hComm, timeouts);
}

void CSerialPort::Setup(DWORD inQueue, DWORD outQueue)
{
    SetupComm(m_hComm, inQueue, outQueue);
}

void CSerialPort::Purge(DWORD flags)
{
    PurgeComm(m_hComm, flags);
}

void CSerialPort::GetMask(DWORD* mask)
{
    GetCommMask(m_hComm, mask);
}

void CSerialPort::SetMask(DWORD mask)
{
    SetCommMask(m_hComm, mask);
}

void CSerialPort::GetState(DCB* dcb)
{
    GetCommState(m_hComm, dcb);
}

void CSerialPort::SetState(DCB* dcb)
{
    SetCommState(m_hComm, dcb);
}

void CSerialPort::ClearError(COMSTAT* status)
{
    DWORD errors = 0;
    ClearCommError(m_hComm, &errors, status);
}

BOOL CSerialPort::WaitEvent(DWORD* mask, OVERLAPPED* overlapped)
{
    return WaitCommEvent(m_hComm, mask, overlapped);
}

BOOL CSerialPort::GetOverlappedResult(OVERLAPPED* overlapped, DWORD* bytes, BOOL wait)
{
    if (::GetOverlappedResult(m_hComm, overlapped, bytes, wait))
        return TRUE;
    return GetLastError() == ERROR_INVALID_PARAMETER ? TRUE : FALSE;
}

BOOL CSerialPort::Write(const void* data, DWORD length, OVERLAPPED* overlapped, DWORD* bytes)
{
    DWORD written = 0;
    const BOOL ok = WriteFile(m_hComm, data, length, &written, overlapped);
    if (ok && bytes)
        *bytes = written;
    return ok;
}

BOOL CSerialPort::Read(void* buffer, DWORD length, OVERLAPPED* overlapped, DWORD* bytes)
{
    DWORD got = 0;
    const BOOL ok = ReadFile(m_hComm, buffer, length, &got, overlapped);
    if (ok && bytes)
        *bytes = got;
    return ok;
}

DWORD CSerialPort::WriteBlocking(const void* data, DWORD length)
{
    DWORD written = 0;
    if (!WriteFile(m_hComm, data, length, &written, nullptr))
        return 0;
    return written;
}

BOOL CSerialPort::CancelIo()
{
    return ::CancelIo(m_hComm);
}
