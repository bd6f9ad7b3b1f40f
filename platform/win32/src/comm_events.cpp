// Comm events: the mask, waits, and the line errors and modem lines behind them.
#include "comm_device.h"
#include "win32/internal.h"

#include "overlapped.h"
#include "win32/errors.h"

#include <linux/serial.h>
#include <sys/ioctl.h>

namespace win32::detail {

namespace {

const DWORD kKnownEvents = 0x1FFFu;
const DWORD kModemEvents = EV_CTS | EV_DSR | EV_RLSD | EV_RING;

}  // namespace

DWORD CommDevice::StartWaitEvent(OVERLAPPED* record, std::shared_ptr<Event> event, DWORD* eventMask)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    // An operation that cannot start leaves the record alone: it may belong to one still pending.
    if (DWORD error = Usable(); error != ERROR_SUCCESS)
        return error;
    if (m_mask == 0 || m_wait)
        return ERROR_INVALID_PARAMETER;
    Operation op = BeginOperation(Kind::WaitEvent, record, std::move(event));
    op.eventMask = eventMask;
    if (const DWORD kept = m_history & m_mask) {
        m_history = 0;
        *eventMask = kept;
        Complete(op, ERROR_SUCCESS);
        return ERROR_SUCCESS;
    }
    m_wait = std::move(op);
    return ERROR_IO_PENDING;
}

void CommDevice::Raise(DWORD events)
{
    events &= m_mask;
    if (!events)
        return;
    if (m_wait) {
        *m_wait->eventMask = events;
        Complete(*m_wait, ERROR_SUCCESS);
        m_wait.reset();
    } else {
        m_history |= events;
    }
}

DWORD CommDevice::SetMask(DWORD mask)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (DWORD error = Usable(); error != ERROR_SUCCESS)
        return error;
    if (mask & ~kKnownEvents)
        return ERROR_INVALID_PARAMETER;
    if (m_wait) {
        *m_wait->eventMask = 0;
        Complete(*m_wait, ERROR_SUCCESS);
        m_wait.reset();
    }
    m_mask = mask;
    m_history &= mask;
    m_modemLines = -1;
    CheckModemLines();
    return ERROR_SUCCESS;
}

DWORD CommDevice::GetMask(DWORD* mask)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (DWORD error = Usable(); error != ERROR_SUCCESS)
        return error;
    *mask = m_mask;
    return ERROR_SUCCESS;
}

void CommDevice::CheckLineErrors()
{
    serial_icounter_struct counts{};
    if (ioctl(m_fd, TIOCGICOUNT, &counts) != 0)
        return;
    const LineCounters now{counts.frame, counts.overrun, counts.parity, counts.brk, counts.buf_overrun};
    if (m_hasCounters) {
        DWORD errors = 0;
        if (now.frame != m_counters.frame)
            errors |= CE_FRAME;
        if (now.overrun != m_counters.overrun)
            errors |= CE_OVERRUN;
        if (now.parity != m_counters.parity)
            errors |= CE_RXPARITY;
        if (now.bufOverrun != m_counters.bufOverrun)
            errors |= CE_RXOVER;
        if (now.brk != m_counters.brk)
            errors |= CE_BREAK;
        m_errors |= errors;
        DWORD events = (errors & ~CE_BREAK) ? EV_ERR : 0;
        if (errors & CE_BREAK)
            events |= EV_BREAK;
        Raise(events);
    }
    m_counters = now;
    m_hasCounters = true;
}

void CommDevice::CheckModemLines()
{
    if (!(m_mask & kModemEvents) || m_gone)
        return;
    int lines = 0;
    if (ioctl(m_fd, TIOCMGET, &lines) != 0)
        return;
    if (m_modemLines >= 0) {
        const int changed = lines ^ m_modemLines;
        DWORD events = 0;
        if (changed & TIOCM_CTS)
            events |= EV_CTS;
        if (changed & TIOCM_DSR)
            events |= EV_DSR;
        if (changed & TIOCM_CAR)
            events |= EV_RLSD;
        if (changed & TIOCM_RNG)
            events |= EV_RING;
        Raise(events);
    }
    m_modemLines = lines;
}

}  // namespace win32::detail
