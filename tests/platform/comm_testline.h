// A pseudo-terminal that plays the far end of a serial line in tests: the
// test holds the master, the slave is registered as port comN in a temporary
// port directory, so "\\.\COMn" opens it.
#pragma once

#include "testutil.h"
#include "win32/comm.h"
#include "win32/ports.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <string>
#include <termios.h>
#include <time.h>
#include <unistd.h>

namespace testline {

using Clock = std::chrono::steady_clock;

inline long MillisecondsSince(Clock::time_point start)
{
    return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

// CPU time of the whole process, in milliseconds.
inline double ProcessCpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * 1000.0 + static_cast<double>(ts.tv_nsec) / 1e6;
}

class PseudoLine {
public:
    static constexpr int kPort = 7;

    PseudoLine() : m_portDir("COMPORTS_DIR", m_tmp.path() + "/ports")
    {
        m_master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0)
            throw std::runtime_error("no pseudo-terminal");
        m_slavePath = ptsname(m_master);
        if (!win32::WritePortLink(kPort, m_slavePath, ""))
            throw std::runtime_error("cannot write port link");
    }
    ~PseudoLine() { CloseMaster(); }
    PseudoLine(const PseudoLine&) = delete;
    PseudoLine& operator=(const PseudoLine&) = delete;

    const std::string& slavePath() const { return m_slavePath; }
    int master() const { return m_master; }

    HANDLE Open(bool overlapped = true) const
    {
        return CreateFileW(L"\\\\.\\COM7", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL | (overlapped ? FILE_FLAG_OVERLAPPED : 0u), nullptr);
    }

    void Send(const std::string& bytes) const
    {
        ASSERT_EQ(write(m_master, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }

    // Reads from the master until n bytes have come or the time-out passes.
    std::string Receive(size_t n, int timeoutMs = 3000) const
    {
        std::string got;
        const Clock::time_point start = Clock::now();
        while (got.size() < n) {
            const long left = timeoutMs - MillisecondsSince(start);
            pollfd p{m_master, POLLIN, 0};
            if (left <= 0 || poll(&p, 1, static_cast<int>(left)) <= 0)
                break;
            char buf[256];
            const ssize_t r = read(m_master, buf, std::min(sizeof(buf), n - got.size()));
            if (r <= 0)
                break;
            got.append(buf, static_cast<size_t>(r));
        }
        return got;
    }

    // The slave's settings: on Linux the master's terminal requests reach the slave.
    termios SlaveSettings() const
    {
        termios t{};
        EXPECT_EQ(tcgetattr(m_master, &t), 0);
        return t;
    }

    void CloseMaster()
    {
        if (m_master >= 0)
            close(m_master);
        m_master = -1;
    }

private:
    testutil::TempDir m_tmp;
    testutil::ScopedEnv m_portDir;
    int m_master = -1;
    std::string m_slavePath;
};

// An OVERLAPPED record with its own manual-reset event.
struct Overlapped {
    OVERLAPPED ov{};
    Overlapped() { ov.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr); }
    ~Overlapped() { CloseHandle(ov.hEvent); }
    Overlapped(const Overlapped&) = delete;
    Overlapped& operator=(const Overlapped&) = delete;
    OVERLAPPED* get() { return &ov; }
    bool Signalled(DWORD ms = 0) const { return WaitForSingleObject(ov.hEvent, ms) == WAIT_OBJECT_0; }
};

inline void SetIntervalTimeout(HANDLE h, DWORD interval)
{
    COMMTIMEOUTS t{interval, 0, 0, 0, 0};
    ASSERT_TRUE(SetCommTimeouts(h, &t));
}

}  // namespace testline
