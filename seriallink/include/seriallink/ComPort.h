// CComPort: a serial link with a reader thread that hands received bytes to a
// callback.
//
// Life: construct, Open (port, receive mode, line settings), set the reader's
// chunk size through m_pReadThread->m_nReadSize, SetReceiveCallback, Write
// from any thread, Close (or delete). Open, Close, SetReceiveCallback and the
// chunk-size store belong to one thread (the user-interface thread).
//
// Reception. The reader runs one loop chosen by the receive mode and delivers
// each non-empty read (1 to m_nReadSize bytes, in arrival order) to the
// receive callback on the reader thread. The bytes are a heap copy valid only
// during the call. Bytes read while no callback is set are dropped. A
// callback stays set across Close and Open. A read completes when its chunk is
// full or 100 ms after the last byte of a burst. A failing port operation ends
// the reader silently; the port stays open without reception until Close.
//
// Closing. Close signals the stop event (GetStopEvent), sleeps 1 s and waits
// up to 2 s more for the reader to end: it takes 1 s to 3 s. The receive
// callback may be blocked at that moment waiting for the very thread that is
// inside Close (a synchronous call to the user-interface thread). Therefore:
// - a callback that waits for another thread should also wait on
//   GetStopEvent(), which Close signals first; once it returns, the reader
//   ends and Close completes normally;
// - when the reader has still not ended after the waits, Close closes the
//   device (so that it can be opened again at once) but frees nothing the
//   reader uses: the reader takes over the serial port object and the stop
//   event, and when its callback returns it ends its loop and frees them and
//   itself. From the moment Close returns it no longer reads this object and
//   delivers nothing more; a callback call already in progress continues with
//   the user pointer it was given.
//
// Writing. Write serialises writers; an overlapped write waits for its
// completion or for Close, whichever comes first. Write on a closed port (or
// in the middle of Close) returns 0. In ManualQueryMode a blocking write that
// cannot finish is aborted by Close.
#pragma once

#include "seriallink/ReadComThread.h"
#include "seriallink/SerialPort.h"

#include <atomic>
#include <mutex>

// Receive modes given to CComPort::Open: they choose the reader's loop and
// the kind of handle. Values other than 0, 1 and 2 act as RxCharReceiveMode.
enum ReceiveMode {
    ManualQueryMode = 0,    // blocking handle; the reader only waits for stop
    CommEventMode = 1,      // comm events (mask 511), no reads
    AutoReceiveMode = 2,    // reads and comm events (mask 511), each with its own event
    RxCharReceiveMode = 3,  // reads and comm events (mask 507) on one shared event
};

// The receive callback: user pointer, the bytes (valid during the call), count.
extern "C" typedef void (*ReceiveCallback)(void* userData, char* data, int length);
// The comm-event callback: the port, the events that occurred, the port status.
extern "C" typedef void (*CommEventCallback)(CSerialPort* port, DWORD eventMask, COMSTAT status);

class CComPort {
public:
    CComPort();
    virtual ~CComPort();  // closes an open port
    CComPort(const CComPort&) = delete;
    CComPort& operator=(const CComPort&) = delete;

    // Opens COM<port> (codes of SerialParity, SerialStopBits,
    // SerialFlowControl) with a read interval time-out of 100 ms and no other
    // time-outs, queues of 4096 bytes, both directions purged, and starts the
    // reader. True when the port is open and the reader runs. False when the
    // port cannot be opened or configured (nothing is left running) or when
    // an event cannot be made (call Close then), or when called while Close
    // is running on this object. A port that is still open is closed first.
    bool Open(int port, int receiveMode, DWORD baudRate, int parity, BYTE dataBits, int stopBits,
              int flowControl);
    // Ends the reader and closes the port; returns at once when not open or
    // already closing.
    void Close();
    // Writes length bytes and returns the bytes written: 0 when not open or
    // closing, or on failure; those written so far when Close interrupts it.
    DWORD Write(const char* data, DWORD length);
    // Replaces the receive callback and its user pointer; fn may be null.
    void SetReceiveCallback(ReceiveCallback fn, void* userData);

    CSerialPort* GetSerialPort() const { return m_pSerialPort; }
    HANDLE GetStopEvent() const { return m_hStopEvent.load(); }
    int GetReceiveMode() const { return m_nReceiveMode; }
    bool IsOverlapped() const { return m_bOverlapped; }

    // Calls the receive callback with (user pointer, data, length) when one is set.
    void NotifyReceived(char* data, int length);
    // Calls the comm-event callback, when one is set, with the port status.
    void NotifyCommEvent(DWORD eventMask);
    // The receive callback and user pointer as they are now.
    void GetReceiveCallback(ReceiveCallback& fn, void*& userData) const;

private:
    void CloseLocked();

    CSerialPort* m_pSerialPort;  // owned; null before the first Open and after Close
    void* m_pUserData;
    int m_nPort;
    ReceiveCallback m_pfnReceive;
    CommEventCallback m_pfnCommEvent;  // nothing sets it: comm events are only re-armed
    int m_nReceiveMode;
    HANDLE m_hWriteEvent;
    OVERLAPPED m_ovWrite;
    bool m_bOverlapped;
    std::atomic<HANDLE> m_hStopEvent;

public:
    CReadComThread* m_pReadThread;  // owned; the owner sets its chunk size after Open

private:
    bool m_bOpen;
    std::atomic<bool> m_bClosing;       // inside Close: Close returns, Open fails
    mutable std::mutex m_callbackLock;  // m_pfnReceive, m_pUserData
    std::mutex m_writeLock;             // the port, the write event and m_ovWrite
};
