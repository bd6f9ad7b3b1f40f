// Communications devices: serial lines opened with CreateFileW and driven with
// the Win32 comm calls, on termios.
//
// Every call on a handle that is not an open device fails with
// ERROR_INVALID_HANDLE. Once the device has vanished (a USB adapter pulled
// out, the far side of a pseudo-terminal closed), operations that were
// pending complete with ERROR_ACCESS_DENIED and every later call except
// CloseHandle fails at once with ERROR_ACCESS_DENIED. PurgeComm, CancelIo and
// CloseHandle complete the operations they end with ERROR_OPERATION_ABORTED.
//
// Overlapped operations (handles opened with FILE_FLAG_OVERLAPPED) reset the
// record's event when they start. They return TRUE when they complete at once
// (the event is then signalled as well) and FALSE with ERROR_IO_PENDING when
// they go on; on completion the record holds status and byte count and the
// event is signalled. Handles opened without the flag perform every call
// synchronously.
#pragma once

#include "win32/kernel.h"

#define GENERIC_READ 0x80000000u
#define GENERIC_WRITE 0x40000000u
#define OPEN_EXISTING 3u
#define FILE_ATTRIBUTE_NORMAL 0x00000080u
#define FILE_FLAG_OVERLAPPED 0x40000000u


// Opens a communications device: "\\.\COMn" or "COMn" (any case; the device
// that win32::DeviceForComNumber gives for n) or an absolute device path such
// as "/dev/ttyUSB0". The creation disposition must be OPEN_EXISTING. The
// device is held exclusively by the handle: a second open, from this process
// or another, fails with ERROR_ACCESS_DENIED. A missing device gives
// ERROR_FILE_NOT_FOUND, a path that is not a terminal ERROR_NOT_SUPPORTED,
// other dispositions ERROR_INVALID_PARAMETER. The line is put in raw mode with
// its speed and framing left as they were; the handle starts with an input
// queue of 4096 bytes, all time-outs 0 and an empty event mask. Sharing mode,
// security attributes and template are ignored.
HANDLE CreateFileW(LPCWSTR fileName, DWORD desiredAccess, DWORD shareMode, LPSECURITY_ATTRIBUTES attributes,
                   DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE templateFile);

// Reads into buffer: overlapped handles need a record (ERROR_INVALID_PARAMETER
// without one). The read completes as the time-outs (COMMTIMEOUTS) say; bytes
// come from the handle's input queue in arrival order. bytesRead is written
// when the read completes at once. ERROR_ACCESS_DENIED on a handle opened
// without GENERIC_READ.
BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesRead, LPOVERLAPPED overlapped);
// Writes are queued in order; a write completes when all its bytes have been
// handed to the line, or when its total time-out passes (success with the
// bytes written so far). ERROR_ACCESS_DENIED without GENERIC_WRITE.
BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD bytesToWrite, LPDWORD bytesWritten, LPOVERLAPPED overlapped);

// Ends the pending operations that the calling thread started on the handle,
// with ERROR_OPERATION_ABORTED. Also found through GetProcAddress.
BOOL CancelIo(HANDLE file);


#define NOPARITY 0
#define ODDPARITY 1
#define EVENPARITY 2
#define MARKPARITY 3
#define SPACEPARITY 4

#define ONESTOPBIT 0
#define ONE5STOPBITS 1
#define TWOSTOPBITS 2

#define DTR_CONTROL_HANDSHAKE 0x02

#define RTS_CONTROL_HANDSHAKE 0x02

struct DCB {
    DWORD DCBlength;
    DWORD BaudRate;
    DWORD fBinary : 1;
    DWORD fParity : 1;
    DWORD fOutxCtsFlow : 1;
    DWORD fOutxDsrFlow : 1;
    DWORD fDtrControl : 2;
    DWORD fDsrSensitivity : 1;
    DWORD fTXContinueOnXoff : 1;
    DWORD fOutX : 1;
    DWORD fInX : 1;
    DWORD fErrorChar : 1;
    DWORD fNull : 1;
    DWORD fRtsControl : 2;
    DWORD fAbortOnError : 1;
    DWORD fDummy2 : 17;
    WORD wReserved;
    WORD XonLim;
    WORD XoffLim;
    BYTE ByteSize;
    BYTE Parity;
    BYTE StopBits;
    char XonChar;
    char XoffChar;
    char ErrorChar;
    char EofChar;
    char EvtChar;
    WORD wReserved1;
};
typedef DCB* LPDCB;

// GetCommState gives the settings last given to SetCommState; before the
// first one, those read from the line at open. The line carries: BaudRate
// (the standard termios rates, other rates through BOTHER where the driver
// takes them), ByteSize 5..8, Parity (MARKPARITY and SPACEPARITY through
// CMSPAR), StopBits (ONE5STOPBITS as two stop bits, which a UART sends as 1.5
// with 5 data bits), fParity (input parity checking), fOutxCtsFlow or
// fRtsControl RTS_CONTROL_HANDSHAKE (CRTSCTS), fOutX/fInX with XonChar and
// XoffChar (IXON/IXOFF, VSTART/VSTOP), fDtrControl and fRtsControl enable or
// disable (the modem lines, where the driver has them), EvtChar (EV_RXFLAG).
// The other fields are only kept: fOutxDsrFlow, DTR_CONTROL_HANDSHAKE,
// RTS_CONTROL_TOGGLE, fDsrSensitivity, fTXContinueOnXoff, fErrorChar, fNull,
// fAbortOnError, XonLim, XoffLim, ErrorChar, EofChar.
// SetCommState fails with ERROR_INVALID_PARAMETER, changing nothing, for a
// rate of 0 or one the driver refuses, ByteSize outside 5..8, Parity above 4,
// StopBits above 2, or equal XonChar and XoffChar while fOutX or fInX is set.
BOOL GetCommState(HANDLE file, LPDCB dcb);
BOOL SetCommState(HANDLE file, LPDCB dcb);

struct COMMTIMEOUTS {
    DWORD ReadIntervalTimeout;
    DWORD ReadTotalTimeoutMultiplier;
    DWORD ReadTotalTimeoutConstant;
    DWORD WriteTotalTimeoutMultiplier;
    DWORD WriteTotalTimeoutConstant;
};
typedef COMMTIMEOUTS* LPCOMMTIMEOUTS;

// Milliseconds, captured by each read or write when it starts:
// - interval (not 0, not MAXDWORD): once a byte has arrived, a read completes
//   when this long passes without a further byte;
// - total: a read completes after multiplier * bytes asked + constant (a
//   write likewise with its own pair); 0 and 0 means no total limit;
// - interval MAXDWORD with both read totals 0: a read returns at once with
//   what is queued, possibly nothing;
// - interval MAXDWORD, multiplier MAXDWORD, constant between 1 and MAXDWORD-1:
//   a read returns at once with what is queued, else with the first bytes to
//   arrive, else empty after the constant.
// A read always completes when its buffer is full; a time-out completes it
// successfully with the bytes it has. All MAXDWORD for the three read values
// is refused with ERROR_INVALID_PARAMETER.
BOOL GetCommTimeouts(HANDLE file, LPCOMMTIMEOUTS timeouts);
BOOL SetCommTimeouts(HANDLE file, LPCOMMTIMEOUTS timeouts);

// Sets the input queue's capacity (0 keeps it). Once the queue is full the
// handle stops taking bytes from the line until reads make room, leaving them
// to the driver and its flow control. The output size is only recorded.
BOOL SetupComm(HANDLE file, DWORD inQueue, DWORD outQueue);

#define PURGE_TXABORT 0x0001u
#define PURGE_RXABORT 0x0002u
#define PURGE_TXCLEAR 0x0004u
#define PURGE_RXCLEAR 0x0008u
// TXABORT / RXABORT complete pending writes / reads with
// ERROR_OPERATION_ABORTED; TXCLEAR / RXCLEAR discard the output / input
// queue, the driver's included. Other bits: ERROR_INVALID_PARAMETER.
BOOL PurgeComm(HANDLE file, DWORD flags);

struct COMSTAT {
    DWORD fCtsHold : 1;
    DWORD fDsrHold : 1;
    DWORD fRlsdHold : 1;
    DWORD fXoffHold : 1;
    DWORD fXoffSent : 1;
    DWORD fEof : 1;
    DWORD fTxim : 1;
    DWORD fReserved : 25;
    DWORD cbInQue;
    DWORD cbOutQue;
};
typedef COMSTAT* LPCOMSTAT;

// Returns and clears the line errors seen since the last call: CE_OVERRUN,
// CE_FRAME, CE_RXPARITY, CE_BREAK from the driver's counters, CE_RXOVER when
// the driver's own buffer overflowed (lines whose driver keeps no counters,
// pseudo-terminals among them, report none). COMSTAT gives the bytes in the
// input queue and the bytes not yet sent (queued writes and the driver's
// output); its hold flags stay 0. Both pointers may be null.
BOOL ClearCommError(HANDLE file, LPDWORD errors, LPCOMSTAT status);


// The events WaitCommEvent reports. Each event is reported when it happens:
// EV_RXCHAR when bytes arrive, EV_RXFLAG when EvtChar arrives, EV_RX80FULL
// when the input queue reaches 80 %, EV_TXEMPTY when the last queued byte has
// left, EV_ERR / EV_BREAK with the errors of ClearCommError, EV_CTS, EV_DSR,
// EV_RLSD, EV_RING when the line changes (seen when the handle next takes
// bytes or completes a write: Linux gives no wake-up for modem lines).
// EV_PERR, EV_EVENT1 and EV_EVENT2 are accepted and never occur. Events in the
// mask that happen while no wait is pending are kept and complete the next
// wait at once. SetCommMask completes a pending wait successfully with mask 0
// and drops kept events outside the new mask. Bits above EV_EVENT2:
// ERROR_INVALID_PARAMETER.
BOOL SetCommMask(HANDLE file, DWORD mask);
BOOL GetCommMask(HANDLE file, LPDWORD mask);
// One wait at a time per handle; a second, or a wait with an empty mask,
// fails with ERROR_INVALID_PARAMETER. eventMask is written on completion, so
// it must stay valid until then.
BOOL WaitCommEvent(HANDLE file, LPDWORD eventMask, LPOVERLAPPED overlapped);
