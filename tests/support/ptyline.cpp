#include "ptyline.h"

#include "support/timing.h"
#include "win32/ports.h"

#include <algorithm>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <unistd.h>

namespace testutil {

PortDirectory::PortDirectory() : m_env("COMPORTS_DIR", m_tmp.path() + "/ports") {}

PtyLine::PtyLine(int number, const std::string& friendlyName) : m_number(number)
{
    m_master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0) {
        CloseMaster();
        throw std::runtime_error("no pseudo-terminal");
    }
    m_slavePath = ptsname(m_master);
    if (!win32::WritePortLink(number, m_slavePath, friendlyName)) {
        CloseMaster();
        throw std::runtime_error("cannot write port link");
    }
}

PtyLine::~PtyLine() { CloseMaster(); }

HANDLE PtyLine::Open(bool overlapped) const
{
    const std::wstring device = L"\\\\.\\COM" + std::to_wstring(m_number);
    return CreateFileW(device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL | (overlapped ? FILE_FLAG_OVERLAPPED : 0u), nullptr);
}

void PtyLine::Send(const std::string& bytes) const
{
    if (write(m_master, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
        throw std::runtime_error("short write to the pseudo-terminal");
}

std::string PtyLine::Receive(size_t n, int timeoutMs) const
{
    std::string got;
    const Clock::time_point end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (got.size() < n) {
        const int left = MillisecondsUntil(end);
        pollfd p{m_master, POLLIN, 0};
        if (left <= 0 || poll(&p, 1, left) <= 0)
            break;
        char buf[512];
        const ssize_t r = read(m_master, buf, std::min(sizeof(buf), n - got.size()));
        if (r <= 0)
            break;
        got.append(buf, static_cast<size_t>(r));
    }
    return got;
}

termios PtyLine::SlaveSettings() const
{
    termios t{};
    if (tcgetattr(m_master, &t) != 0)
        throw std::runtime_error("cannot read the terminal settings");
    return t;
}

void PtyLine::CloseMaster()
{
    if (m_master >= 0)
        close(m_master);
    m_master = -1;
}

}  // namespace testutil
