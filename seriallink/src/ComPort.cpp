#include "seriallink/ComPort.h"

#include "win32/errors.h"

namespace {

const DWORD kReadIntervalMs = 100;
const DWORD kQueueBytes = 4096;
const DWORD kPurgeAll = PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR;
const DWORD kCloseSleepMs = 1000;

HANDLE MakeEvent()
{
    return CreateEventW(nullptr, TRUE, FALSE, nullptr);
}

}  // namespace

CComPort::CComPort()
    : m_pSerialPort(nullptr),
      m_pUserData(nullptr),
      m_nPort(0),
      m_pfnReceive(nullptr),
      m_pfnCommEvent(nullptr),
      m_nReceiveMode(AutoReceiveMode),
      m_hWriteEvent(nullptr),
      m_ovWrite{},
      m_bOverlapped(false),
      m_hStopEvent(nullptr),
      m_pReadThread(nullptr),
      m_bOpen(false),
      m_bClosing(false)
{
}

CComPort::~CComPort()
{
    if (m_pSerialPort && m_pSerialPort->IsOpen())
        Close();
    std::lock_guard<std::mutex> lock(m_writeLock);
    delete m_pSerialPort;
    m_pSerialPort = nullptr;
}

bool CComPort::Open(int port, int receiveMode, DWORD baudRate, int parity, BYTE dataBits, int stopBits,
                    int flowControl)
{
    if (m_bClosing)
        return false;
    // Deleting a port that a reader still uses would pull it from under it.
    if (m_pSerialPort && m_pSerialPort->IsOpen())
        Close();

    std::lock_guard<std::mutex> lock(m_writeLock);
    delete m_pSerialPort;
    m_pSerialPort = new CSerialPort;
    m_bOpen = false;
    m_bOverlapped = receiveMode != ManualQueryMode;
    m_nReceiveMode = receiveMode;
    try {
        m_pSerialPort->OpenPort(port, baudRate, parity, dataBits, stopBits, flowControl, m_bOverlapped ? TRUE : FALSE);
    } catch (CSerialException* e) {
        e->Delete();
        return false;
    }

    COMMTIMEOUTS timeouts{};
    m_pSerialPort->GetTimeouts(&timeouts);
    timeouts.ReadIntervalTimeout = kReadIntervalMs;
    timeouts.ReadTotalTimeoutMultiplier = 0;
    timeouts.ReadTotalTimeoutConstant = 0;
    timeouts.WriteTotalTimeoutMultiplier = 0;
    timeouts.WriteTotalTimeoutConstant = 0;
    m_pSerialPort->SetTimeouts(&timeouts);
    m_pSerialPort->Purge(kPurgeAll);
    m_pSerialPort->Setup(kQueueBytes, kQueueBytes);
    m_nPort = port;

    const HANDLE stopEvent = MakeEvent();
    if (!stopEvent)
        return false;
    m_hStopEvent = stopEvent;

    m_pReadThread = new CReadComThread;
    m_pReadThread->Init(this);
    m_pReadThread->Create();
    m_pReadThread->Resume();

    if (m_bOverlapped) {
        m_hWriteEvent = MakeEvent();
        if (!m_hWriteEvent)
            return false;
        m_ovWrite = OVERLAPPED{};
        m_ovWrite.hEvent = m_hWriteEvent;
    }
    m_bOpen = true;
    return true;
}

void CComPort::Close()
{
    // The waits below may run messages sent to this thread; a handler that
    // closes or opens this port meanwhile must not tear it down twice.
    if (!m_pSerialPort || !m_pSerialPort->IsOpen() || m_bClosing.exchange(true))
        return;
    const HANDLE stopEvent = m_hStopEvent.load();
    if (stopEvent)
        SetEvent(stopEvent);
    // An overlapped Write wakes on the stop event; a blocking one needs its write aborted.
    if (!m_bOverlapped)
        m_pSerialPort->Purge(PURGE_TXABORT);
    Sleep(kCloseSleepMs);

    const bool readerEnded = !m_pReadThread || m_pReadThread->WaitStopped();

    std::lock_guard<std::mutex> lock(m_writeLock);
    bool handedOff = false;
    if (m_pReadThread) {
        handedOff = !readerEnded && m_pReadThread->HandOff(m_pSerialPort, stopEvent);
        if (!handedOff)
            delete m_pReadThread;
        m_pReadThread = nullptr;
    }
    if (handedOff) {
        // The device is free for the next Open; closing it ends the reader's
        // pending operations, and its later calls fail.
        m_pSerialPort->Close();
        m_pSerialPort = nullptr;
    } else {
        if (stopEvent)
            CloseHandle(stopEvent);
        m_pSerialPort->Close();
        delete m_pSerialPort;
        m_pSerialPort = nullptr;
    }
    m_hStopEvent = nullptr;
    if (m_hWriteEvent) {
        CloseHandle(m_hWriteEvent);
        m_hWriteEvent = nullptr;
        m_ovWrite.hEvent = nullptr;
    }
    m_bOpen = false;
    m_bClosing = false;
}

DWORD CComPort::Write(const char* data, DWORD length)
{
    std::lock_guard<std::mutex> lock(m_writeLock);
    if (!m_pSerialPort || !m_pSerialPort->IsOpen() || !data || length == 0)
        return 0;
    const HANDLE stopEvent = m_hStopEvent.load();
    if (stopEvent && WaitForSingleObject(stopEvent, 0) == WAIT_OBJECT_0)
        return 0;
    if (!m_bOverlapped)
        return m_pSerialPort->WriteBlocking(data, length);
    if (!m_hWriteEvent || !stopEvent)
        return 0;

    if (!m_pSerialPort->Write(data, length, &m_ovWrite) && GetLastError() != ERROR_IO_PENDING)
        return 0;
    const HANDLE handles[2] = {m_hWriteEvent, stopEvent};
    DWORD written = 0;
    if (WaitForMultipleObjects(2, handles, FALSE, INFINITE) != WAIT_OBJECT_0) {
        // Closing: end the write so that Close is not held up by it.
        m_pSerialPort->CancelIo();
        m_pSerialPort->GetOverlappedResult(&m_ovWrite, &written, TRUE);
        return written;
    }
    return m_pSerialPort->GetOverlappedResult(&m_ovWrite, &written, FALSE) ? written : 0;
}

void CComPort::SetReceiveCallback(ReceiveCallback fn, void* userData)
{
    std::lock_guard<std::mutex> lock(m_callbackLock);
    m_pfnReceive = fn;
    m_pUserData = userData;
}

void CComPort::GetReceiveCallback(ReceiveCallback& fn, void*& userData) const
{
    std::lock_guard<std::mutex> lock(m_callbackLock);
    fn = m_pfnReceive;
    userData = m_pUserData;
}

void CComPort::NotifyReceived(char* data, int length)
{
    ReceiveCallback fn = nullptr;
    void* userData = nullptr;
    GetReceiveCallback(fn, userData);
    if (fn)
        fn(userData, data, length);
}

void CComPort::NotifyCommEvent(DWORD eventMask)
{
    if (!m_pfnCommEvent)
        return;
    COMSTAT status{};
    m_pSerialPort->ClearError(&status);
    m_pfnCommEvent(m_pSerialPort, eventMask, status);
}
