// Pseudo-terminals standing in for serial devices: the test holds the master
// side; the slave is registered as port comN in a temporary port directory.
#pragma once

#include "testutil.h"
#include "win32/ports.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <stdexcept>
#include <string>
#include <time.h>
#include <unistd.h>
#include <vector>

namespace ptyline {

using Clock = std::chrono::steady_clock;

inline long MsSince(Clock::time_point start)
{
    return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

inline double ProcessCpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * 1000.0 + static_cast<double>(ts.tv_nsec) / 1e6;
}

// A temporary port directory, the value of COMPORTS_DIR while it lives.
class PortDirectory {
public:
    PortDirectory() : m_env("COMPORTS_DIR", m_tmp.path() + "/ports") {}
    std::string path() const { return m_tmp.path() + "/ports"; }

private:
    testutil::TempDir m_tmp;
    testutil::ScopedEnv m_env;
};

class PtyLine {
public:
    // Registers the slave as COM<number>, with friendlyName when not empty.
    explicit PtyLine(int number, const std::string& friendlyName = "")
    {
        m_master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0)
            throw std::runtime_error("no pseudo-terminal");
        if (!win32::WritePortLink(number, ptsname(m_master), friendlyName))
            throw std::runtime_error("cannot write port link");
    }
    ~PtyLine() { CloseMaster(); }
    PtyLine(const PtyLine&) = delete;
    PtyLine& operator=(const PtyLine&) = delete;

    int master() const { return m_master; }

    void Send(const std::string& bytes) const
    {
        ASSERT_EQ(write(m_master, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }

    // Reads from the master until n bytes have come or the time-out passes.
    std::string Receive(size_t n, int timeoutMs = 5000) const
    {
        std::string got;
        const Clock::time_point start = Clock::now();
        while (got.size() < n) {
            const long left = timeoutMs - MsSince(start);
            pollfd p{m_master, POLLIN, 0};
            if (left <= 0 || poll(&p, 1, static_cast<int>(left)) <= 0)
                break;
            char buf[512];
            const ssize_t r = read(m_master, buf, std::min(sizeof(buf), n - got.size()));
            if (r <= 0)
                break;
            got.append(buf, static_cast<size_t>(r));
        }
        return got;
    }

    void CloseMaster()
    {
        if (m_master >= 0)
            close(m_master);
        m_master = -1;
    }

private:
    int m_master = -1;
};

// Collects what a receive callback is given.
class ReceiveLog {
public:
    static void Callback(void* self, char* data, int length)
    {
        static_cast<ReceiveLog*>(self)->Add(data, length);
    }

    void Add(const char* data, int length)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_chunks.emplace_back(data, static_cast<size_t>(length));
        m_times.push_back(Clock::now());
        m_changed.notify_all();
    }

    // True once at least n bytes have been delivered.
    bool WaitForBytes(size_t n, int timeoutMs = 5000)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return TotalLocked() >= n; });
    }

    std::string All() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        std::string all;
        for (const std::string& c : m_chunks)
            all += c;
        return all;
    }

    std::vector<std::string> Chunks() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_chunks;
    }

    Clock::time_point LastTime() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_times.empty() ? Clock::time_point() : m_times.back();
    }

private:
    size_t TotalLocked() const
    {
        size_t n = 0;
        for (const std::string& c : m_chunks)
            n += c.size();
        return n;
    }

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<std::string> m_chunks;
    std::vector<Clock::time_point> m_times;
};

// Bytes 0, 1, 2, ... of a recognisable stream.
inline std::string Pattern(size_t n, size_t offset = 0)
{
    std::string s(n, '\0');
    for (size_t i = 0; i < n; ++i)
        s[i] = static_cast<char>('A' + (i + offset) % 53);
    return s;
}

}  // namespace ptyline
