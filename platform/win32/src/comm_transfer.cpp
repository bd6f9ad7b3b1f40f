// Reads, writes and their cancelling.
#include "comm_device.h"

#include "overlapped.h"
#include "win32/errors.h"
#include "win32/internal.h"

#include <algorithm>
#include <cerrno>
#include <sys/ioctl.h>
#include <unistd.h>

namespace win32::detail {

DWORD CommDevice::StartRead(OVERLAPPED* record, std::shared_ptr<Event> event, void* buffer, DWORD length)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    // An operation that cannot start leaves the record alone: it may belong to one still pending.
    if (DWORD error = Usable(); error != ERROR_SUCCESS)
        return error;
    Operation op = BeginOperation(Kind::Read, record, std::move(event));
    op.buffer = static_cast<BYTE*>(buffer);
    op.length = length;

    const COMMTIMEOUTS& t = m_timeouts;
    const bool returnAtOnce = t.ReadIntervalTimeout == MAXDWORD && t.ReadTotalTimeoutMultiplier == 0 &&
                              t.ReadTotalTimeoutConstant == 0;
    if (t.ReadIntervalTimeout == MAXDWORD && t.ReadTotalTimeoutMultiplier == MAXDWORD &&
        t.ReadTotalTimeoutConstant != 0 && t.ReadTotalTimeoutConstant != MAXDWORD) {
        op.completesOnFirstBytes = true;
        op.totalTimeout = t.ReadTotalTimeoutConstant;
    } else {
        if (t.ReadIntervalTimeout != MAXDWORD)
            op.intervalTimeout = t.ReadIntervalTimeout;
        const uint64_t total =
            uint64_t(t.ReadTotalTimeoutMultiplier) * length + uint64_t(t.ReadTotalTimeoutConstant);
        op.totalTimeout = static_cast<DWORD>(std::min<uint64_t>(total, MAXDWORD - 1));
    }

    op.returnsAtOnce = returnAtOnce;
    m_reads.push_back(std::move(op));
    ServeReads(Clock::now());
    if (HasOverlappedIoCompleted(record))
        return ERROR_SUCCESS;
    Wake();
    return ERROR_IO_PENDING;
}

void CommDevice::ServeReads(Clock::time_point now)
{
    while (!m_reads.empty()) {
        Operation& op = m_reads.front();
        if (!op.started) {
            op.started = true;
            if (op.totalTimeout)
                op.totalDeadline = now + Ms(op.totalTimeout);
        }
        const bool wasFull = QueueFull();
        const DWORD take = static_cast<DWORD>(std::min<size_t>(m_input.size(), op.length - op.done));
        if (take > 0) {
            std::copy_n(m_input.begin(), take, op.buffer + op.done);
            m_input.erase(m_input.begin(), m_input.begin() + take);
            op.done += take;
            op.lastByte = m_lastArrival;
            if (wasFull && !QueueFull())
                Wake();
        }
        const bool finished = op.done == op.length || op.returnsAtOnce || (op.completesOnFirstBytes && op.done > 0) ||
                              (op.intervalTimeout && op.done > 0 && now >= op.lastByte + Ms(op.intervalTimeout)) ||
                              (op.totalTimeout && now >= op.totalDeadline);
        if (!finished)
            return;
        Complete(op, ERROR_SUCCESS);
        m_reads.pop_front();
    }
}

DWORD CommDevice::StartWrite(OVERLAPPED* record, std::shared_ptr<Event> event, const void* data, DWORD length)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    // An operation that cannot start leaves the record alone: it may belong to one still pending.
    if (DWORD error = Usable(); error != ERROR_SUCCESS)
        return error;
    Operation op = BeginOperation(Kind::Write, record, std::move(event));
    op.data.assign(static_cast<const BYTE*>(data), static_cast<const BYTE*>(data) + length);
    op.length = length;
    const uint64_t total =
        uint64_t(m_timeouts.WriteTotalTimeoutMultiplier) * length + uint64_t(m_timeouts.WriteTotalTimeoutConstant);
    op.totalTimeout = static_cast<DWORD>(std::min<uint64_t>(total, MAXDWORD - 1));
    m_writes.push_back(std::move(op));
    PumpWrites(Clock::now());
    // The I/O thread must watch for output room, or for the transmitter to run empty.
    if (!HasOverlappedIoCompleted(record) || m_txCheckAt)
        Wake();
    return HasOverlappedIoCompleted(record) ? OverlappedError(record) : ERROR_IO_PENDING;
}

void CommDevice::PumpWrites(Clock::time_point now)
{
    bool completedAny = false;
    while (!m_writes.empty() && !m_gone) {
        Operation& op = m_writes.front();
        if (!op.started) {
            op.started = true;
            if (op.totalTimeout)
                op.totalDeadline = now + Ms(op.totalTimeout);
        }
        while (op.done < op.length) {
            const ssize_t n = write(m_fd, op.data.data() + op.done, op.length - op.done);
            if (n > 0) {
                op.done += static_cast<DWORD>(n);
                continue;
            }
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
                break;
            MarkGone();
            return;
        }
        if (op.done < op.length)
            break;
        Complete(op, ERROR_SUCCESS);
        m_writes.pop_front();
        completedAny = true;
    }
    if (completedAny && m_writes.empty())
        CheckTransmitterEmpty(now);
}

void CommDevice::ExpireWrites(Clock::time_point now)
{
    while (!m_writes.empty()) {
        Operation& op = m_writes.front();
        if (!op.started || !op.totalTimeout || now < op.totalDeadline)
            return;
        // A write time-out is a success with the bytes sent so far.
        Complete(op, ERROR_SUCCESS);
        m_writes.pop_front();
        PumpWrites(now);
    }
}

void CommDevice::CheckTransmitterEmpty(Clock::time_point now)
{
    int queued = 0;
    if (ioctl(m_fd, TIOCOUTQ, &queued) != 0 || queued <= 0) {
        m_txCheckAt.reset();
        m_txLastQueued = -1;
        Raise(EV_TXEMPTY);
        return;
    }
    // The driver gives no wake-up when its output drains: look again when it should have
    // drained, backing off while flow control holds it.
    const uint64_t bitsPerSecond = std::max<DWORD>(m_dcb.BaudRate, 50);
    uint64_t ms = std::max<uint64_t>(uint64_t(queued) * 10u * 1000u / bitsPerSecond, 2);
    if (queued == m_txLastQueued)
        ms = std::max<uint64_t>(ms, std::min<uint64_t>(m_txCheckDelayMs * 2, 1000));
    m_txLastQueued = queued;
    m_txCheckDelayMs = ms;
    m_txCheckAt = now + Ms(ms);
}

DWORD CommDevice::CancelFromThread(DWORD threadId)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_closed)
        return ERROR_INVALID_HANDLE;
    auto cancel = [&](std::deque<Operation>& ops) {
        for (auto it = ops.begin(); it != ops.end();) {
            if (it->threadId == threadId) {
                Complete(*it, ERROR_OPERATION_ABORTED);
                it = ops.erase(it);
            } else {
                ++it;
            }
        }
    };
    cancel(m_reads);
    cancel(m_writes);
    if (m_wait && m_wait->threadId == threadId) {
        Complete(*m_wait, ERROR_OPERATION_ABORTED);
        m_wait.reset();
    }
    Wake();
    return ERROR_SUCCESS;
}

}  // namespace win32::detail
