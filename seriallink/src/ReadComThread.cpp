#include "seriallink/ReadComThread.h"

#include "seriallink/ComPort.h"
#include "win32/errors.h"
#include "win32/user.h"

#include <algorithm>
#include <cstring>

namespace {

const DWORD kAllEvents = 511;          // EV_RXCHAR ... EV_RING
const DWORD kEventsWithoutTxEmpty = 507;
const DWORD kPurgeInput = PURGE_RXABORT | PURGE_RXCLEAR;

HANDLE MakeEvent()
{
    return CreateEventW(nullptr, TRUE, FALSE, nullptr);
}

}  // namespace

CReadComThread::CReadComThread()
    : m_nReadSize(1),
      m_dwThreadId(0),
      m_hThread(nullptr),
      m_pOwner(nullptr),
      m_buffer{},
      m_pDelivery(nullptr),
      m_dwBytesRead(0),
      m_ovRead{},
      m_ovEvent{},
      m_bFinished(false),
      m_bHandedOff(false),
      m_pPort(nullptr),
      m_hStop(nullptr),
      m_nMode(AutoReceiveMode)
{
}

CReadComThread::~CReadComThread()
{
    CloseEvents();
    if (m_hThread)
        CloseHandle(m_hThread);
}

void CReadComThread::Init(CComPort* owner)
{
    std::lock_guard<std::mutex> lock(m_stateLock);
    m_pOwner = owner;
    m_pPort = owner->GetSerialPort();
    m_hStop = owner->GetStopEvent();
    m_nMode = owner->GetReceiveMode();
    if (owner->IsOverlapped()) {
        m_ovRead.hEvent = MakeEvent();
        m_ovEvent.hEvent = MakeEvent();
    }
}

void CReadComThread::Create()
{
    m_hThread = CreateThread(nullptr, 0, &CReadComThread::ThreadProc, this, CREATE_SUSPENDED, &m_dwThreadId);
    if (m_hThread)
        SetThreadPriority(m_hThread, THREAD_PRIORITY_HIGHEST);
}

void CReadComThread::Resume()
{
    if (m_hThread)
        ResumeThread(m_hThread);
}

bool CReadComThread::WaitStopped()
{
    if (!m_hThread) {
        MessageBoxW(nullptr, L"CreateThread failed.", L"ok", MB_OK);
        return true;
    }
    for (int i = 0; i < 2 && !IsFinished(); ++i)
        WaitForSingleObject(m_hThread, 1000);
    return IsFinished();
}

bool CReadComThread::IsFinished() const
{
    std::lock_guard<std::mutex> lock(m_stateLock);
    return m_bFinished;
}

bool CReadComThread::HandOff(CSerialPort* port, HANDLE stopEvent)
{
    std::lock_guard<std::mutex> lock(m_stateLock);
    if (m_bFinished)
        return false;
    m_bHandedOff = true;
    m_pOwner = nullptr;
    m_pPort = port;
    m_hStop = stopEvent;
    return true;
}

DWORD WINAPI CReadComThread::ThreadProc(LPVOID parameter)
{
    auto* self = static_cast<CReadComThread*>(parameter);
    {
        std::lock_guard<std::mutex> lock(self->m_stateLock);
        self->m_bFinished = false;
    }
    self->Run();
    bool handedOff;
    {
        std::lock_guard<std::mutex> lock(self->m_stateLock);
        self->m_bFinished = true;
        handedOff = self->m_bHandedOff;
    }
    // Not handed off: the owner may delete the reader from here on.
    if (handedOff) {
        delete self->m_pPort;
        CloseHandle(self->m_hStop);
        delete self;
    }
    return 0;
}

void CReadComThread::Run()
{
    switch (m_nMode) {
    case ManualQueryMode: RunManualQuery(); break;
    case CommEventMode: RunCommEvents(); break;
    case AutoReceiveMode: RunAutoReceive(); break;
    default: RunRxCharReceive(); break;
    }
}

void CReadComThread::RunAutoReceive()
{
    DWORD mask = 0;
    const HANDLE handles[3] = {m_hStop, m_ovRead.hEvent, m_ovEvent.hEvent};
    m_pPort->SetMask(kAllEvents);
    bool running = WaitEventUntilPending(&mask) && ReadUntilPending(&m_ovRead);
    while (running) {
        switch (WaitForMultipleObjects(3, handles, FALSE, INFINITE)) {
        case WAIT_OBJECT_0 + 1: running = OnReadComplete(&m_ovRead) && ReadUntilPending(&m_ovRead); break;
        case WAIT_OBJECT_0 + 2: running = OnCommEvent(mask) && WaitEventUntilPending(&mask); break;
        case WAIT_OBJECT_0:
        case WAIT_FAILED: running = false; break;  // a failing wait would fail again at once
        default: break;
        }
    }
    EndPendingOperations();
    CloseEvents();
}

void CReadComThread::RunCommEvents()
{
    DWORD mask = 0;
    const HANDLE handles[2] = {m_hStop, m_ovEvent.hEvent};
    m_pPort->SetMask(kAllEvents);
    bool running = WaitEventUntilPending(&mask);
    while (running) {
        switch (WaitForMultipleObjects(2, handles, FALSE, INFINITE)) {
        case WAIT_OBJECT_0 + 1: running = OnCommEvent(mask) && WaitEventUntilPending(&mask); break;
        case WAIT_OBJECT_0:
        case WAIT_FAILED: running = false; break;
        default: break;
        }
    }
    EndPendingOperations();
    CloseEvents();
}

void CReadComThread::RunRxCharReceive()
{
    // The read and the comm-event wait share one event, each with its own
    // record. Which of them completed is told by the records, not by the
    // event mask; and since starting either operation resets the shared
    // event, the records are checked again after every re-arm before waiting.
    DWORD mask = 0;
    const HANDLE sharedEvent = m_ovEvent.hEvent;
    const HANDLE readEvent = m_ovRead.hEvent;
    m_ovRead.hEvent = sharedEvent;
    const HANDLE handles[2] = {m_hStop, sharedEvent};
    m_pPort->SetMask(kEventsWithoutTxEmpty);
    bool running = WaitEventUntilPending(&mask) && ReadUntilPending(&m_ovRead);
    while (running) {
        bool progressed = true;
        while (running && progressed) {
            progressed = false;
            if (HasOverlappedIoCompleted(&m_ovRead)) {
                progressed = true;
                running = OnReadComplete(&m_ovRead) && ReadUntilPending(&m_ovRead);
            }
            if (running && HasOverlappedIoCompleted(&m_ovEvent)) {
                progressed = true;
                running = OnCommEvent(mask) && WaitEventUntilPending(&mask);
            }
        }
        if (!running)
            break;
        switch (WaitForMultipleObjects(2, handles, FALSE, INFINITE)) {
        case WAIT_OBJECT_0 + 1: ResetEvent(sharedEvent); break;
        case WAIT_OBJECT_0:
        case WAIT_FAILED: running = false; break;
        default: break;
        }
    }
    EndPendingOperations();
    m_ovRead.hEvent = readEvent;
    CloseEvents();
}

void CReadComThread::RunManualQuery()
{
    const HANDLE handles[1] = {m_hStop};
    for (;;) {
        const DWORD result = WaitForMultipleObjects(1, handles, FALSE, INFINITE);
        if (result == WAIT_OBJECT_0 || result == WAIT_FAILED)
            break;
        DWORD mask = 0;
        m_pPort->GetMask(&mask);
        if (mask != 0)
            NotifyOwnerOfEvents(mask);
    }
    m_pPort->Purge(kPurgeInput);
}

DWORD CReadComThread::ChunkSize() const
{
    return static_cast<DWORD>(std::clamp(m_nReadSize.load(), 1, kBufferSize));
}

bool CReadComThread::ReadUntilPending(OVERLAPPED* record)
{
    for (;;) {
        std::memset(m_buffer, 0, sizeof(m_buffer));
        if (!m_pPort->Read(m_buffer, ChunkSize(), record, &m_dwBytesRead))
            return GetLastError() == ERROR_IO_PENDING;
        DeliverBytes();
        // A shared event may also carry the comm-event wait's completion.
        if (record->hEvent != m_ovEvent.hEvent)
            ResetEvent(record->hEvent);
    }
}

bool CReadComThread::OnReadComplete(OVERLAPPED* record)
{
    if (m_pPort->GetOverlappedResult(record, &m_dwBytesRead, FALSE)) {
        DeliverBytes();
        return true;
    }
    return GetLastError() != ERROR_INVALID_HANDLE;
}

bool CReadComThread::DeliverBytes()
{
    if (m_dwBytesRead == 0)
        return true;
    ReceiveCallback fn = nullptr;
    void* userData = nullptr;
    {
        // Taken under the hand-off lock, called outside it: the callback may
        // block on the thread that is closing the port.
        std::lock_guard<std::mutex> lock(m_stateLock);
        if (m_pOwner)
            m_pOwner->GetReceiveCallback(fn, userData);
    }
    m_pDelivery = new char[m_dwBytesRead];
    std::memcpy(m_pDelivery, m_buffer, m_dwBytesRead);
    if (fn)
        fn(userData, m_pDelivery, static_cast<int>(m_dwBytesRead));
    delete[] m_pDelivery;
    m_pDelivery = nullptr;
    return true;
}

bool CReadComThread::WaitEventUntilPending(DWORD* mask)
{
    for (;;) {
        if (!m_pPort->WaitEvent(mask, &m_ovEvent))
            return GetLastError() == ERROR_IO_PENDING;
        if (!OnCommEvent(*mask))
            return false;
    }
}

bool CReadComThread::OnCommEvent(DWORD mask)
{
    DWORD unused = 0;
    if (!m_pPort->GetOverlappedResult(&m_ovEvent, &unused, FALSE))
        return false;
    NotifyOwnerOfEvents(mask);
    return true;
}

void CReadComThread::NotifyOwnerOfEvents(DWORD mask)
{
    // Under the lock: nothing sets a comm-event callback that could block.
    std::lock_guard<std::mutex> lock(m_stateLock);
    if (m_pOwner)
        m_pOwner->NotifyCommEvent(mask);
}

void CReadComThread::EndPendingOperations()
{
    const bool readPending = !HasOverlappedIoCompleted(&m_ovRead);
    const bool waitPending = !HasOverlappedIoCompleted(&m_ovEvent);
    if (readPending || waitPending) {
        m_pPort->CancelIo();
        DWORD unused = 0;
        if (readPending)
            m_pPort->GetOverlappedResult(&m_ovRead, &unused, TRUE);
        if (waitPending)
            m_pPort->GetOverlappedResult(&m_ovEvent, &unused, TRUE);
    }
    m_pPort->Purge(kPurgeInput);
}

void CReadComThread::CloseEvents()
{
    for (OVERLAPPED* record : {&m_ovRead, &m_ovEvent}) {
        if (record->hEvent) {
            CloseHandle(record->hEvent);
            record->hEvent = nullptr;
        }
    }
}
