#include "comm_device.h"
#include "win32/internal.h"

#include "comm_line.h"
#include "overlapped.h"
#include "win32/errors.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace win32::detail {

namespace {

DWORD OpenError(int err)
{
    // Windows names a COM port that is not there "not found", whatever the kernel says.
    if (err == ENOENT || err == ENXIO || err == ENODEV || err == ENOTDIR)
        return ERROR_FILE_NOT_FOUND;
    if (err == EWOULDBLOCK || err == EBUSY)
        return ERROR_ACCESS_DENIED;
    return ErrorFromErrno(err);
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

CommDevice::Operation CommDevice::BeginOperation(Kind kind, OVERLAPPED* record, std::shared_ptr<Event> event) const
{
    BeginPending(record);
    if (event)
        event->Reset();
    Operation op;
    op.kind = kind;
    op.record = record;
    op.event = std::move(event);
    op.threadId = GetCurrentThreadId();
    return op;
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

}  // namespace win32::detail
