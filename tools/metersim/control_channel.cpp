#include "control_channel.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace metersim {

ControlChannel::~ControlChannel()
{
    Close();
}

bool ControlChannel::Open(const std::string& fifoPath, std::string& error)
{
    Close();
    m_stdin = std::make_unique<LineReader>(STDIN_FILENO);
    if (fifoPath.empty())
        return true;
    struct stat st {};
    if (stat(fifoPath.c_str(), &st) != 0) {
        if (mkfifo(fifoPath.c_str(), 0600) != 0) {
            error = "cannot create FIFO " + fifoPath + ": " + std::strerror(errno);
            return false;
        }
        m_createdFifo = fifoPath;
    } else if (!S_ISFIFO(st.st_mode)) {
        error = fifoPath + " is not a FIFO";
        return false;
    }
    const int readFd = open(fifoPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    // Holding a write end of our own keeps the FIFO from reporting an end
    // each time a writer closes it.
    m_fifoWriteFd = readFd >= 0 ? open(fifoPath.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC) : -1;
    if (readFd < 0 || m_fifoWriteFd < 0) {
        error = "cannot open FIFO " + fifoPath + ": " + std::strerror(errno);
        if (readFd >= 0)
            close(readFd);
        Close();
        return false;
    }
    m_fifo = std::make_unique<LineReader>(readFd);
    return true;
}

void ControlChannel::Close()
{
    m_stdin.reset();
    if (m_fifo)
        close(m_fifo->Fd());
    m_fifo.reset();
    if (m_fifoWriteFd >= 0)
        close(m_fifoWriteFd);
    m_fifoWriteFd = -1;
    if (!m_createdFifo.empty())
        unlink(m_createdFifo.c_str());
    m_createdFifo.clear();
}

void ControlChannel::AddPollFds(std::vector<pollfd>& fds) const
{
    for (const LineReader* reader : {m_stdin.get(), m_fifo.get()}) {
        if (reader)
            fds.push_back({reader->Fd(), POLLIN, 0});
    }
}

std::vector<std::string> ControlChannel::TakeLines(const std::vector<pollfd>& fds)
{
    std::vector<std::string> lines;
    for (std::unique_ptr<LineReader>* reader : {&m_stdin, &m_fifo}) {
        if (!*reader)
            continue;
        for (const pollfd& p : fds) {
            if (p.fd != (*reader)->Fd() || !p.revents)
                continue;
            bool ended = false;
            for (std::string& line : (*reader)->ReadLines(ended))
                lines.push_back(std::move(line));
            // The meter plays on without its standard input.
            if (ended && reader == &m_stdin)
                m_stdin.reset();
            break;
        }
    }
    return lines;
}

}  // namespace metersim
