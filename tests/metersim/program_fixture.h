// Shared by the end-to-end tests of the metersim program: a fresh port
// directory per test, a started meter with its port open, and helpers that
// read the port as the application does.
#pragma once

#include "meter_process.h"
#include "receiver_rules.h"
#include "recordings.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <csignal>
#include <ctime>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <memory>

namespace metertest {

using Clock = std::chrono::steady_clock;

inline double Seconds(Clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

class Program : public ::testing::Test {
protected:
    Program()
        : m_ports(m_tmp.path() + "/ports")
        , m_env("COMPORTS_DIR", m_ports)
    {
    }

    std::string LinkTarget(int n) const
    {
        char target[256];
        const ssize_t len = readlink((m_ports + "/com" + std::to_string(n)).c_str(), target, sizeof(target));
        return len > 0 ? std::string(target, static_cast<size_t>(len)) : std::string();
    }

    std::string FriendlyName(int n) const
    {
        std::ifstream in(m_ports + "/com" + std::to_string(n) + ".name");
        std::string line;
        std::getline(in, line);
        return line;
    }

    bool Exists(const std::string& path) const
    {
        struct stat st {};
        return lstat(path.c_str(), &st) == 0;
    }

    testutil::TempDir m_tmp;
    std::string m_ports;
    testutil::ScopedEnv m_env;
};

// A started meter with its port open on the test side.
struct Running {
    explicit Running(const std::vector<std::string>& args)
        : meter(args)
    {
        started = ReadPortLine(meter, number, device);
        if (started)
            port = std::make_unique<TestPort>(device);
    }
    MeterProcess meter;
    bool started = false;
    int number = 0;
    std::string device;
    std::unique_ptr<TestPort> port;
};

// Feeds the port's bytes to the receiver until check(reading) holds.
inline bool ReadUntilReading(TestPort& port, receiver::LiveReceiver& rx, int timeoutMs,
                      const std::function<bool(const receiver::Reading&)>& check)
{
    return port.ReadUntil(timeoutMs, [&](const TestPort::Chunk& c) {
        rx.OnBytes(c.bytes);
        return check(rx.reading());
    });
}

// Hands bytes over as the application's reader does: chunks of 20 bytes, or
// fewer when the line has been quiet for 100 ms.
inline void FeedAsTheApplicationReads(receiver::LiveReceiver& rx, const std::vector<TestPort::Chunk>& reads)
{
    std::vector<uint8_t> pending;
    Clock::time_point last{};
    for (const TestPort::Chunk& c : reads) {
        if (!pending.empty() && c.at - last > std::chrono::milliseconds(100)) {
            rx.OnChunk(pending);
            pending.clear();
        }
        last = c.at;
        for (uint8_t b : c.bytes) {
            pending.push_back(b);
            if (pending.size() == 20) {
                rx.OnChunk(pending);
                pending.clear();
            }
        }
    }
}

inline void SendRequests(TestPort& port, int count)
{
    for (int i = 0; i < count; ++i) {
        port.Write({0x5A, 0xAC});
        usleep(2000);
    }
}

}  // namespace metertest
