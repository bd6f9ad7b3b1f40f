// Line settings, time-outs, queues, purging and error reports.
#include "comm_device.h"

#include "comm_line.h"
#include "win32/errors.h"
#include "win32/internal.h"

#include <cstring>
#include <sys/ioctl.h>
#include <termios.h>

namespace win32::detail {

DWORD CommDevice::GetState(DCB* dcb)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (DWORD error = Usable(); error != ERROR_SUCCESS)
        return error;
    *dcb = m_dcb;
    dcb->DCBlength = sizeof(DCB);
    return ERROR_SUCCESS;
}

DWORD CommDevice::SetState(const DCB& dcb)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (DWORD error = Usable(); error != ERROR_SUCCESS)
        return error;
    if (DWORD error = ValidateLineSettings(dcb); error != ERROR_SUCCESS)
        return error;
    if (DWORD error = ApplyLineSettings(m_fd, dcb); error != ERROR_SUCCESS)
        return error;
    m_dcb = dcb;
    return ERROR_SUCCESS;
}

DWORD CommDevice::GetTimeouts(COMMTIMEOUTS* timeouts)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (DWORD error = Usable(); error != ERROR_SUCCESS)
        return error;
    *timeouts = m_timeouts;
    return ERROR_SUCCESS;
}

DWORD CommDevice::SetTimeouts(const COMMTIMEOUTS& timeouts)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (DWORD error = Usable(); error != ERROR_SUCCESS)
        return error;
    if (timeouts.ReadIntervalTimeout == MAXDWORD && timeouts.ReadTotalTimeoutMultiplier == MAXDWORD &&
        timeouts.ReadTotalTimeoutConstant == MAXDWORD)
        return ERROR_INVALID_PARAMETER;
    m_timeouts = timeouts;
    return ERROR_SUCCESS;
}

DWORD CommDevice::Setup(DWORD inQueue, DWORD outQueue)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (DWORD error = Usable(); error != ERROR_SUCCESS)
        return error;
    if (inQueue > 0) {
        const bool wasFull = QueueFull();
        m_inputCapacity = inQueue;
        if (wasFull && !QueueFull())
            Wake();
    }
    if (outQueue > 0)
        m_outputSize = outQueue;
    return ERROR_SUCCESS;
}

DWORD CommDevice::Purge(DWORD flags)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (DWORD error = Usable(); error != ERROR_SUCCESS)
        return error;
    if (flags & ~(PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR))
        return ERROR_INVALID_PARAMETER;
    if (flags & PURGE_TXABORT) {
        for (Operation& op : m_writes)
            Complete(op, ERROR_OPERATION_ABORTED);
        m_writes.clear();
    }
    if (flags & PURGE_RXABORT) {
        for (Operation& op : m_reads)
            Complete(op, ERROR_OPERATION_ABORTED);
        m_reads.clear();
    }
    if (flags & PURGE_TXCLEAR)
        tcflush(m_fd, TCOFLUSH);
    if (flags & PURGE_RXCLEAR) {
        const bool wasFull = QueueFull();
        m_input.clear();
        tcflush(m_fd, TCIFLUSH);
        if (wasFull)
            Wake();
    }
    return ERROR_SUCCESS;
}

DWORD CommDevice::ClearError(DWORD* errors, COMSTAT* status)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (DWORD error = Usable(); error != ERROR_SUCCESS)
        return error;
    CheckLineErrors();
    if (errors)
        *errors = m_errors;
    m_errors = 0;
    if (status) {
        std::memset(status, 0, sizeof(*status));
        status->cbInQue = static_cast<DWORD>(m_input.size());
        DWORD unsent = 0;
        for (const Operation& op : m_writes)
            unsent += op.length - op.done;
        int queued = 0;
        if (ioctl(m_fd, TIOCOUTQ, &queued) == 0 && queued > 0)
            unsent += static_cast<DWORD>(queued);
        status->cbOutQue = unsent;
    }
    return ERROR_SUCCESS;
}

}  // namespace win32::detail
