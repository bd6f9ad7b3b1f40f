// Internal: an open communications device with its reception engine.
//
// One I/O thread per device sleeps in ppoll() on the line and an eventfd and
// wakes only when bytes arrive, the line can take more output, a pending
// operation's time-out falls due, or a caller changed what it should watch.
// Callers start operations under the device lock; the I/O thread moves bytes
// between the line and the handle's queues and completes operations.
#pragma once

#include "kernel_objects.h"
#include "win32/comm.h"

#include <deque>
#include <optional>
#include <string>
#include <thread>

namespace win32::detail {

inline std::chrono::milliseconds Ms(uint64_t ms)
{
    return std::chrono::milliseconds(static_cast<std::chrono::milliseconds::rep>(ms));
}

class CommDevice : public KernelObject {
public:
    // Opens path exclusively and starts the I/O thread. Returns a Win32 error.
    static DWORD Open(const std::string& path, DWORD access, bool overlapped, std::shared_ptr<CommDevice>* device);

    CommDevice(int fd, int wakeFd, DWORD access, bool overlapped);
    ~CommDevice() override;
    CommDevice(const CommDevice&) = delete;
    CommDevice& operator=(const CommDevice&) = delete;

    // Completes pending operations with ERROR_OPERATION_ABORTED, stops the
    // I/O thread and releases the line.
    void OnHandleClosed() override;

    bool IsOverlapped() const { return m_overlapped; }
    DWORD Access() const { return m_access; }

    // The calls below return a Win32 error. The Start calls give
    // ERROR_SUCCESS when the operation completed at once, ERROR_IO_PENDING
    // when it goes on, anything else when it never started (record and event
    // are then left alone).
    DWORD StartRead(OVERLAPPED* record, std::shared_ptr<Event> event, void* buffer, DWORD length);
    DWORD StartWrite(OVERLAPPED* record, std::shared_ptr<Event> event, const void* data, DWORD length);
    DWORD StartWaitEvent(OVERLAPPED* record, std::shared_ptr<Event> event, DWORD* eventMask);
    DWORD CancelFromThread(DWORD threadId);

    DWORD GetState(DCB* dcb);
    DWORD SetState(const DCB& dcb);
    DWORD GetTimeouts(COMMTIMEOUTS* timeouts);
    DWORD SetTimeouts(const COMMTIMEOUTS& timeouts);
    DWORD Setup(DWORD inQueue, DWORD outQueue);
    DWORD Purge(DWORD flags);
    DWORD ClearError(DWORD* errors, COMSTAT* status);
    DWORD SetMask(DWORD mask);
    DWORD GetMask(DWORD* mask);

private:
    enum class Kind { Read, Write, WaitEvent };

    struct Operation {
        Kind kind = Kind::Read;
        OVERLAPPED* record = nullptr;
        std::shared_ptr<Event> event;
        DWORD threadId = 0;
        BYTE* buffer = nullptr;  // reads fill the caller's buffer
        std::vector<BYTE> data;  // writes send a copy
        DWORD length = 0;
        DWORD done = 0;
        DWORD* eventMask = nullptr;
        bool started = false;
        bool returnsAtOnce = false;  // with what is queued when it becomes the first read
        bool completesOnFirstBytes = false;
        DWORD totalTimeout = 0;  // 0: none
        DWORD intervalTimeout = 0;  // 0: none
        Clock::time_point totalDeadline;
        Clock::time_point lastByte;
    };

    // Everything below expects m_mutex held.
    DWORD Usable() const;
    // Marks the record pending, resets its event and gives the operation that
    // the calling thread starts on it.
    Operation BeginOperation(Kind kind, OVERLAPPED* record, std::shared_ptr<Event> event) const;
    void Wake();
    void IoLoop();
    std::optional<Clock::time_point> NextDeadline() const;
    void TakeFromLine(short revents, Clock::time_point now);
    void ServeReads(Clock::time_point now);
    void PumpWrites(Clock::time_point now);
    void ExpireWrites(Clock::time_point now);
    void CheckTransmitterEmpty(Clock::time_point now);
    void CheckLineErrors();
    void CheckModemLines();
    void Raise(DWORD events);
    void Complete(Operation& op, DWORD error);
    void AbortAll(DWORD error);
    void MarkGone();
    bool QueueFull() const { return m_input.size() >= m_inputCapacity; }

    const int m_fd;
    const int m_wakeFd;
    const DWORD m_access;
    const bool m_overlapped;
    std::thread m_ioThread;

    std::mutex m_mutex;
    bool m_closed = false;
    bool m_gone = false;
    DCB m_dcb{};
    COMMTIMEOUTS m_timeouts{};
    std::deque<BYTE> m_input;
    size_t m_inputCapacity = 4096;
    DWORD m_outputSize = 4096;
    Clock::time_point m_lastArrival;
    std::deque<Operation> m_reads;
    std::deque<Operation> m_writes;
    std::optional<Operation> m_wait;
    DWORD m_mask = 0;
    DWORD m_history = 0;
    DWORD m_errors = 0;
    std::optional<Clock::time_point> m_txCheckAt;
    int m_txLastQueued = -1;
    uint64_t m_txCheckDelayMs = 0;

    struct LineCounters {
        int frame = 0, overrun = 0, parity = 0, brk = 0, bufOverrun = 0;
    };
    bool m_hasCounters = false;
    LineCounters m_counters;
    int m_modemLines = -1;  // -1: not read yet
};

}  // namespace win32::detail
