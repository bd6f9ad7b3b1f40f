// CSerialPort: a thin object over one communications device handle, and
// CSerialException, the description of a failed Win32 call.
//
// Every operation except Open is one Win32 comm call on the handle and never
// throws: the overlapped calls report through their BOOL result and
// GetLastError (FALSE with ERROR_IO_PENDING: the operation goes on), the
// others not at all. On a closed port the calls fail with
// ERROR_INVALID_HANDLE. The object keeps no per-call state: the caller
// supplies every OVERLAPPED record and keeps it alive until its operation has
// completed. Open must not run while another thread uses the port; Close may
// (the other thread's calls then fail with ERROR_INVALID_HANDLE).
#pragma once

#include "afx/exception.h"
#include "win32/comm.h"

#include <atomic>

// Parity codes -> DCB.Parity; other codes keep the device's value.
enum SerialParity { ParityEven = 0, ParityMark = 1, ParityNone = 2, ParityOdd = 3, ParitySpace = 4 };

// Stop-bit codes -> DCB.StopBits; other codes keep the device's value.
enum SerialStopBits { StopBitsOne = 0, StopBitsOnePointFive = 1, StopBitsTwo = 2 };

// Flow-control codes -> the DCB flow fields; other codes keep all of them.
enum SerialFlowControl {
    FlowNone = 0,
    FlowCtsRts = 1,
    FlowCtsDtr = 2,
    FlowDsrRts = 3,
    FlowDsrDtr = 4,
    FlowXonXoff = 5,
};

class CSerialException : public CException {
    DECLARE_DYNAMIC(CSerialException)
public:
    explicit CSerialException(DWORD error);

    // The system's text for m_dwError, cut to maxChars characters with the
    // terminator. No text for the code: an empty string and FALSE.
    BOOL GetErrorMessage(LPWSTR text, UINT maxChars, UINT* helpContext = nullptr) const override;

    DWORD m_dwError;  // the Win32 error code of the failed call
};

class CSerialPort {
public:
    CSerialPort();
    virtual ~CSerialPort();  // closes the port
    CSerialPort(const CSerialPort&) = delete;
    CSerialPort& operator=(const CSerialPort&) = delete;

    BOOL IsOpen() const;
    // Closes the device handle; nothing happens on a closed port.
    void Close();

    // Open on "\\.\COM<port>" after storing the port number.
    void OpenPort(int port, DWORD baudRate, int parity, BYTE dataBits, int stopBits, int flowControl,
                  BOOL overlapped);
    // Closes any earlier handle, opens the device exclusively (with
    // FILE_FLAG_OVERLAPPED when overlapped) and sets baud rate, parity, data
    // bits, stop bits and flow control; fDsrSensitivity is always cleared.
    // Throws CSerialException* (the caller Deletes it) with the error of the
    // first failed call; the port is then closed.
    void Open(LPCWSTR deviceName, DWORD baudRate, int parity, BYTE dataBits, int stopBits, int flowControl,
              BOOL overlapped);

    void GetTimeouts(COMMTIMEOUTS* timeouts);
    void SetTimeouts(COMMTIMEOUTS* timeouts);
    void Setup(DWORD inQueue, DWORD outQueue);
    void Purge(DWORD flags);
    void GetMask(DWORD* mask);
    void SetMask(DWORD mask);
    void GetState(DCB* dcb);
    void SetState(DCB* dcb);
    void ClearError(COMSTAT* status);  // the error bits are dropped

    BOOL WaitEvent(DWORD* mask, OVERLAPPED* overlapped);
    // Fails only with an error other than ERROR_INVALID_PARAMETER.
    BOOL GetOverlappedResult(OVERLAPPED* overlapped, DWORD* bytes, BOOL wait);
    // On TRUE *bytes (when not null) holds the bytes written / read.
    BOOL Write(const void* data, DWORD length, OVERLAPPED* overlapped, DWORD* bytes = nullptr);
    BOOL Read(void* buffer, DWORD length, OVERLAPPED* overlapped, DWORD* bytes = nullptr);
    // A write without a record; returns the bytes written (0 on failure).
    DWORD WriteBlocking(const void* data, DWORD length);
    // Ends the pending operations that the calling thread started on the port.
    BOOL CancelIo();

    std::atomic<HANDLE> m_hComm;  // INVALID_HANDLE_VALUE when closed
    BOOL m_bOverlapped;           // opened with FILE_FLAG_OVERLAPPED
    int m_nPort;                  // number given to OpenPort
};
