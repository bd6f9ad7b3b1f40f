// The test side of a running metersim: its process and its port.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <sys/types.h>
#include <vector>

namespace metertest {

// Runs the metersim program with the given arguments, its standard input
// and output on pipes. The port directory is whatever $COMPORTS_DIR says.
class MeterProcess {
public:
    explicit MeterProcess(const std::vector<std::string>& args);
    ~MeterProcess();  // kills the program if it still runs
    MeterProcess(const MeterProcess&) = delete;
    MeterProcess& operator=(const MeterProcess&) = delete;

    // The next line of standard output; false when none comes in time.
    bool ReadLine(std::string& line, int timeoutMs);
    // Reads lines until one starts with prefix; false when none comes in time.
    bool WaitForLine(const std::string& prefix, std::string& line, int timeoutMs);
    bool WaitForLine(const std::string& prefix, int timeoutMs);
    // Sends one control line.
    void Send(const std::string& line);
    void Signal(int signal);
    // Exit status once the program ends; -1 when it does not end in time.
    int Wait(int timeoutMs);

    pid_t Pid() const { return m_pid; }

private:
    pid_t m_pid = -1;
    int m_stdin = -1;
    int m_stdout = -1;
    std::string m_buffered;
    bool m_reaped = false;
};

// Reads the first line "COMn /dev/pts/K"; false when it does not come.
bool ReadPortLine(MeterProcess& meter, int& number, std::string& device);

// The slave end of the meter's pseudo-terminal, opened as the application
// would open the port.
class TestPort {
public:
    using Clock = std::chrono::steady_clock;

    struct Chunk {
        Clock::time_point at;
        std::vector<uint8_t> bytes;
    };

    explicit TestPort(const std::string& device);
    ~TestPort();
    TestPort(const TestPort&) = delete;
    TestPort& operator=(const TestPort&) = delete;

    bool IsOpen() const { return m_fd >= 0; }
    // Throws away what has arrived so far.
    void Drain();
    // Every read made within ms, as it arrived.
    std::vector<Chunk> ReadFor(int ms);
    // Reads until done(chunk) returns true or timeoutMs passes; true when done.
    template <typename Done>
    bool ReadUntil(int timeoutMs, Done done)
    {
        const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
        while (Clock::now() < end) {
            Chunk chunk;
            if (ReadOnce(end, chunk) && done(chunk))
                return true;
        }
        return false;
    }
    void Write(const std::vector<uint8_t>& bytes);
    // True when the other end has gone (the read fails or reports a hang-up).
    bool HungUp(int timeoutMs);

private:
    bool ReadOnce(Clock::time_point end, Chunk& chunk);

    int m_fd = -1;
};

std::vector<uint8_t> Join(const std::vector<TestPort::Chunk>& chunks);

}  // namespace metertest
