// CReadComThread: the reader thread of a CComPort (see ComPort.h).
#pragma once

#include "win32/comm.h"

#include <atomic>
#include <mutex>

class CComPort;
class CSerialPort;

class CReadComThread {
public:
    CReadComThread();
    // Closes the thread handle and any event the loop has not closed.
    virtual ~CReadComThread();
    CReadComThread(const CReadComThread&) = delete;
    CReadComThread& operator=(const CReadComThread&) = delete;

    // Takes the owner's serial port, stop event and receive mode as they are
    // now; for overlapped modes makes the read and comm-event events.
    void Init(CComPort* owner);
    // Creates the thread suspended, at the highest priority.
    void Create();
    void Resume();
    // After the stop event is signalled: when the thread could not be created,
    // says so in a message box; otherwise waits up to 2 s for the loop to
    // end. True when the thread has ended (the reader may be deleted).
    bool WaitStopped();
    bool IsFinished() const;
    // For a reader that has not ended: takes ownership of the serial port
    // object and the stop event, stops using the owner, and frees them and
    // itself when its loop ends. False (nothing taken) when it has ended.
    bool HandOff(CSerialPort* port, HANDLE stopEvent);

    static DWORD WINAPI ThreadProc(LPVOID parameter);

    // Bytes asked for by each read (the chunk size). Values outside 1..2048
    // are taken as the nearest of them. Until set, 1: no read issued before
    // the owner chooses its size can deliver more than any size it may choose.
    std::atomic<int> m_nReadSize;
    DWORD m_dwThreadId;
    HANDLE m_hThread;
    CComPort* m_pOwner;  // guarded by m_stateLock; null once handed off

private:
    void Run();
    void RunAutoReceive();
    void RunCommEvents();
    void RunRxCharReceive();
    void RunManualQuery();

    bool ReadUntilPending(OVERLAPPED* record);
    bool OnReadComplete(OVERLAPPED* record);
    bool DeliverBytes();
    bool WaitEventUntilPending(DWORD* mask);
    bool OnCommEvent(DWORD mask);
    void NotifyOwnerOfEvents(DWORD mask);
    // Ends the loop's pending read and comm-event wait and collects them, so
    // that nothing is left writing into this object; then purges the input.
    void EndPendingOperations();
    void CloseEvents();
    DWORD ChunkSize() const;

    static constexpr int kBufferSize = 2048;

    char m_buffer[kBufferSize];
    char* m_pDelivery;
    DWORD m_dwBytesRead;
    OVERLAPPED m_ovRead;
    OVERLAPPED m_ovEvent;

    mutable std::mutex m_stateLock;  // m_pOwner, m_bFinished, the hand-off
    bool m_bFinished;
    bool m_bHandedOff;
    CSerialPort* m_pPort;  // the owner's port, or the reader's own once handed off
    HANDLE m_hStop;        // likewise for the stop event
    int m_nMode;
};
