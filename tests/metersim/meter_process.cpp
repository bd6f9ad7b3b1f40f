#include "meter_process.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

extern char** environ;

namespace metertest {

namespace {

using Clock = std::chrono::steady_clock;

int MillisecondsLeft(Clock::time_point end)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

}  // namespace

MeterProcess::MeterProcess(const std::vector<std::string>& args)
{
    int in[2], out[2];
    if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0)
        return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    std::vector<char*> argv;
    std::string program = METERSIM_PATH;
    argv.push_back(program.data());
    std::vector<std::string> copies = args;
    for (std::string& a : copies)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    if (posix_spawn(&m_pid, program.c_str(), &actions, nullptr, argv.data(), environ) != 0)
        m_pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(in[0]);
    close(out[1]);
    m_stdin = in[1];
    m_stdout = out[0];
}

MeterProcess::~MeterProcess()
{
    if (m_pid > 0 && !m_reaped) {
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
    }
    if (m_stdin >= 0)
        close(m_stdin);
    if (m_stdout >= 0)
        close(m_stdout);
}

bool MeterProcess::ReadLine(std::string& line, int timeoutMs)
{
    const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const size_t newline = m_buffered.find('\n');
        if (newline != std::string::npos) {
            line = m_buffered.substr(0, newline);
            m_buffered.erase(0, newline + 1);
            return true;
        }
        pollfd p{m_stdout, POLLIN, 0};
        if (poll(&p, 1, MillisecondsLeft(end)) <= 0)
            return false;
        char buffer[1024];
        const ssize_t n = read(m_stdout, buffer, sizeof(buffer));
        if (n <= 0)
            return false;
        m_buffered.append(buffer, static_cast<size_t>(n));
    }
}

bool MeterProcess::WaitForLine(const std::string& prefix, std::string& line, int timeoutMs)
{
    const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (ReadLine(line, MillisecondsLeft(end))) {
        if (line.compare(0, prefix.size(), prefix) == 0)
            return true;
    }
    return false;
}

bool MeterProcess::WaitForLine(const std::string& prefix, int timeoutMs)
{
    std::string line;
    return WaitForLine(prefix, line, timeoutMs);
}

void MeterProcess::Send(const std::string& line)
{
    const std::string text = line + "\n";
    if (write(m_stdin, text.data(), text.size()) != static_cast<ssize_t>(text.size()))
        return;
}

void MeterProcess::Signal(int signal)
{
    if (m_pid > 0 && !m_reaped)
        kill(m_pid, signal);
}

int MeterProcess::Wait(int timeoutMs)
{
    const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (m_pid > 0 && !m_reaped) {
        int status = 0;
        const pid_t r = waitpid(m_pid, &status, WNOHANG);
        if (r == m_pid) {
            m_reaped = true;
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        if (Clock::now() >= end)
            return -1;
        usleep(5000);
    }
    return -1;
}

bool ReadPortLine(MeterProcess& meter, int& number, std::string& device)
{
    std::string line;
    if (!meter.WaitForLine("COM", line, 10000))
        return false;
    const size_t blank = line.find(' ');
    if (blank == std::string::npos)
        return false;
    number = std::atoi(line.c_str() + 3);
    device = line.substr(blank + 1);
    return number > 0 && !device.empty();
}

TestPort::TestPort(const std::string& device)
{
    m_fd = open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_fd >= 0)
        tcflush(m_fd, TCIOFLUSH);
}

TestPort::~TestPort()
{
    if (m_fd >= 0)
        close(m_fd);
}

void TestPort::Drain()
{
    tcflush(m_fd, TCIFLUSH);
    uint8_t buffer[4096];
    while (read(m_fd, buffer, sizeof(buffer)) > 0) {
    }
}

bool TestPort::ReadOnce(Clock::time_point end, Chunk& chunk)
{
    pollfd p{m_fd, POLLIN, 0};
    if (poll(&p, 1, MillisecondsLeft(end)) <= 0 || !(p.revents & POLLIN))
        return false;
    uint8_t buffer[4096];
    const ssize_t n = read(m_fd, buffer, sizeof(buffer));
    if (n <= 0)
        return false;
    chunk.at = Clock::now();
    chunk.bytes.assign(buffer, buffer + n);
    return true;
}

std::vector<TestPort::Chunk> TestPort::ReadFor(int ms)
{
    std::vector<Chunk> chunks;
    ReadUntil(ms, [&](const Chunk& c) {
        chunks.push_back(c);
        return false;
    });
    return chunks;
}

void TestPort::Write(const std::vector<uint8_t>& bytes)
{
    if (write(m_fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
        return;
}

bool TestPort::HungUp(int timeoutMs)
{
    const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (Clock::now() < end) {
        pollfd p{m_fd, POLLIN, 0};
        if (poll(&p, 1, MillisecondsLeft(end)) <= 0)
            return false;
        if (p.revents & (POLLHUP | POLLERR))
            return true;
        uint8_t buffer[4096];
        const ssize_t n = read(m_fd, buffer, sizeof(buffer));
        if (n < 0 && errno != EAGAIN)
            return true;
    }
    return false;
}

std::vector<uint8_t> Join(const std::vector<TestPort::Chunk>& chunks)
{
    std::vector<uint8_t> all;
    for (const TestPort::Chunk& c : chunks)
        all.insert(all.end(), c.bytes.begin(), c.bytes.end());
    return all;
}

}  // namespace metertest
