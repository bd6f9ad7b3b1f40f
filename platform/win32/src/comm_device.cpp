#include "comm_device.h"

#include "comm_line.h"
#include "overlapped.h"
#include "win32/errors.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace win32::detail {

namespace {

const DWORD kKnownEvents = 0x1FFFu;
const DWORD kModemEvents = EV_CTS | EV_DSR | EV_RLSD | EV_RING;

DWORD OpenError(int err)
{
    // Windows names a COM port that is not there "not found", whatever the kernel says.
    if (err == ENOENT || err == ENXIO || err == ENODEV || err == ENOTDIR)
        return ERROR_FILE_NOT_FOUND;
    if (err == EWOULDBLOCK || err == EBUSY)
        return ERROR_ACCESS_DENIED;
    return ErrorFromErrno(err);
}

std::chrono::milliseconds Ms(uint64_t ms)
{
    return std::chrono::milliseconds(static_cast<std::chrono::milliseconds::rep>(ms));
}

}  // namespace

DWORD CommDevice::Open(const std::string& path, DWORD access, bool overlapped, std::shared_ptr<CommDevice>* device)
{
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return OpenError(errno);
    if (!isatty(fd)) {
        close(fd);
        return ERROR_NOT_SUPPORTED;
    }
    // TIOCEXCL alone does not stop root; the lock stops every other open.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno;
        close(fd);
        return OpenError(err);
    }
    ioctl(fd, TIOCEXCL);
    const DWORD rawError = MakeLineRaw(fd);
    const int wakeFd = rawError == ERROR_SUCCESS ? eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK) : -1;
    if (wakeFd < 0) {
        const DWORD error = rawError != ERROR_SUCCESS ? rawError : ErrorFromErrno(errno);
        ioctl(fd, TIOCNXCL);
        close(fd);
        return error;
    }
    auto created = std::make_shared<CommDevice>(fd, wakeFd, access, overlapped);
    created->m_ioThread = std::thread(&CommDevice::IoLoop, created.get());
    *device = std::move(created);
    return ERROR_SUCCESS;
}

CommDevice::CommDevice(int fd, int wakeFd, DWORD access, bool overlapped)
    : m_fd(fd), m_wakeFd(wakeFd), m_access(access), m_overlapped(overlapped)
{
    m_dcb = ReadLineSettings(fd);
    CheckLineErrors();  // takes the driver's counters as the starting point
    m_errors = 0;
}

CommDevice::~CommDevice()
{
    OnHandleClosed();
}

void CommDevice::OnHandleClosed()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_closed)
            return;
        m_closed = true;
        AbortAll(ERROR_OPERATION_ABORTED);
        Wake();
    }
    if (m_ioThread.joinable())
        m_ioThread.join();
    ioctl(m_fd, TIOCNXCL);
    flock(m_fd, LOCK_UN);
    close(m_fd);
    close(m_wakeFd);
}

DWORD CommDevice::Usable() const
{
    if (m_closed)
        return ERROR_INVALID_HANDLE;
    if (m_gone)
        return ERROR_ACCESS_DENIED;
    return ERROR_SUCCESS;
}

void CommDevice::Wake()
{
    const uint64_t one = 1;
    // A full counter already means "wake up"; nothing is lost when this fails.
    [[maybe_unused]] ssize_t written = write(m_wakeFd, &one, sizeof(one));
}

void CommDevice::Complete(Operation& op, DWORD error)
{
    if (op.kind == Kind::WaitEvent && error != ERROR_SUCCESS && op.eventMask)
        *op.eventMask = 0;
    CompleteOverlapped(op.record, op.event, error, op.done);
}

void CommDevice::AbortAll(DWORD error)
{
    for (Operation& op : m_reads)
        Complete(op, error);
    m_reads.clear();
    for (Operation& op : m_writes)
        Complete(op, error);
    m_writes.clear();
    if (m_wait) {
        Complete(*m_wait, error);
        m_wait.reset();
    }
    m_txCheckAt.reset();
}

void CommDevice::MarkGone()
{
    // Windows reports a vanished USB port as access denied; every caller sees that one code.
    m_gone = true;
    AbortAll(ERROR_ACCESS_DENIED);
}

// ---- Reads ----

DWORD CommDevice::StartRead(OVERLAPPED* record, std::shared_ptr<Event> event, void* buffer, DWORD length)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (DWORD error = Usable(); error != ERROR_SUCCESS) {
        CompleteOverlapped(record, nullptr, error, 0);
        return error;
    }
    BeginPending(record);
    if (event)
        event->Reset();

    Operation op;
    op.kind = Kind::Read;
    op.record = record;
    op.event = std::move(event);
    op.threadId = GetCurrentThreadId();
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

// ---- Writes ----

DWORD CommDevice::StartWrite(OVERLAPPED* record, std::shared_ptr<Event> event, const void* data, DWORD length)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (DWORD error = Usable(); error != ERROR_SUCCESS) {
        CompleteOverlapped(record, nullptr, error, 0);
        return error;
    }
    BeginPending(record);
    if (event)
        event->Reset();

    Operation op;
    op.kind = Kind::Write;
    op.record = record;
    op.event = std::move(event);
    op.threadId = GetCurrentThreadId();
    op.data.assign(static_cast<const BYTE*>(data), static_cast<const BYTE*>(data) + length);
    op.length = length;
    const uint64_t total =
        uint64_t(m_timeouts.WriteTotalTimeoutMultiplier) * length + uint64_t(m_timeouts.WriteTotalTimeoutConstant);
    op.totalTimeout = static_cast<DWORD>(std::min<uint64_t>(total, MAXDWORD - 1));
    m_writes.push_back(std::move(op));
    PumpWrites(Clock::now());
    if (HasOverlappedIoCompleted(record)) {
        const DWORD error = OverlappedError(record);
        return error == ERROR_SUCCESS ? ERROR_SUCCESS : error;
    }
    Wake();
    return ERROR_IO_PENDING;
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

// ---- Comm events ----

DWORD CommDevice::StartWaitEvent(OVERLAPPED* record, std::shared_ptr<Event> event, DWORD* eventMask)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (DWORD error = Usable(); error != ERROR_SUCCESS) {
        CompleteOverlapped(record, nullptr, error, 0);
        return error;
    }
    if (m_mask == 0 || m_wait) {
        CompleteOverlapped(record, nullptr, ERROR_INVALID_PARAMETER, 0);
        return ERROR_INVALID_PARAMETER;
    }
    BeginPending(record);
    if (event)
        event->Reset();
    Operation op;
    op.kind = Kind::WaitEvent;
    op.record = record;
    op.event = std::move(event);
    op.threadId = GetCurrentThreadId();
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

// ---- The I/O thread ----

std::optional<Clock::time_point> CommDevice::NextDeadline() const
{
    std::optional<Clock::time_point> next;
    auto consider = [&](Clock::time_point t) {
        if (!next || t < *next)
            next = t;
    };
    if (!m_reads.empty() && m_reads.front().started) {
        const Operation& op = m_reads.front();
        if (op.totalTimeout)
            consider(op.totalDeadline);
        if (op.intervalTimeout && op.done > 0)
            consider(op.lastByte + Ms(op.intervalTimeout));
    }
    if (!m_writes.empty() && m_writes.front().started && m_writes.front().totalTimeout)
        consider(m_writes.front().totalDeadline);
    if (m_txCheckAt)
        consider(*m_txCheckAt);
    return next;
}

void CommDevice::IoLoop()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_closed) {
        pollfd fds[2] = {};
        // A vanished line keeps reporting a hang-up: stop watching it.
        fds[0].fd = m_gone ? -1 : m_fd;
        fds[0].events = static_cast<short>((QueueFull() ? 0 : POLLIN) | (m_writes.empty() ? 0 : POLLOUT));
        fds[1].fd = m_wakeFd;
        fds[1].events = POLLIN;
        const std::optional<Clock::time_point> deadline = NextDeadline();
        timespec timeout{};
        if (deadline) {
            const auto left = std::max(*deadline - Clock::now(), Clock::duration::zero());
            const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
            timeout.tv_sec = static_cast<time_t>(ns / 1000000000);
            timeout.tv_nsec = static_cast<long>(ns % 1000000000);
        }
        lock.unlock();
        const int ready = ppoll(fds, 2, deadline ? &timeout : nullptr, nullptr);
        if (ready > 0 && (fds[1].revents & POLLIN)) {
            uint64_t count;
            [[maybe_unused]] ssize_t drained = read(m_wakeFd, &count, sizeof(count));
        }
        lock.lock();
        if (m_closed)
            break;
        const Clock::time_point now = Clock::now();
        if (ready > 0 && !m_gone && fds[0].revents) {
            if (fds[0].revents & POLLNVAL) {
                MarkGone();
                continue;
            }
            TakeFromLine(fds[0].revents, now);
            if (!m_gone && (fds[0].revents & POLLOUT))
                PumpWrites(now);
            CheckModemLines();
        }
        ServeReads(now);
        ExpireWrites(now);
        if (m_txCheckAt && now >= *m_txCheckAt && !m_gone)
            CheckTransmitterEmpty(now);
    }
}

void CommDevice::TakeFromLine(short revents, Clock::time_point now)
{
    const bool hangUp = (revents & (POLLHUP | POLLERR)) != 0;
    if (!(revents & (POLLIN | POLLHUP | POLLERR)))
        return;
    if (QueueFull()) {
        if (hangUp)
            MarkGone();
        return;
    }
    const size_t before = m_input.size();
    bool ended = false;
    BYTE chunk[4096];
    while (!QueueFull()) {
        const size_t room = std::min(sizeof(chunk), m_inputCapacity - m_input.size());
        const ssize_t n = read(m_fd, chunk, room);
        if (n > 0) {
            m_input.insert(m_input.end(), chunk, chunk + n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            // Nothing to read although the line reports a hang-up or an error: it is gone.
            ended = hangUp;
            break;
        }
        ended = true;  // end of file or EIO: the line has hung up
        break;
    }
    if (m_input.size() > before) {
        m_lastArrival = now;
        DWORD events = EV_RXCHAR;
        if (std::find(m_input.begin() + static_cast<std::ptrdiff_t>(before), m_input.end(),
                      static_cast<BYTE>(m_dcb.EvtChar)) != m_input.end())
            events |= EV_RXFLAG;
        if (before * 5 < m_inputCapacity * 4 && m_input.size() * 5 >= m_inputCapacity * 4)
            events |= EV_RX80FULL;
        Raise(events);
        CheckLineErrors();
        ServeReads(now);
    }
    if (ended)
        MarkGone();
}

// ---- Settings and queues ----

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
