// Where control commands come from: standard input, and a named pipe when one
// is asked for.
#pragma once

#include "line_reader.h"

#include <memory>
#include <poll.h>
#include <string>
#include <vector>

namespace metersim {

class ControlChannel {
public:
    ControlChannel() = default;
    ~ControlChannel();
    ControlChannel(const ControlChannel&) = delete;
    ControlChannel& operator=(const ControlChannel&) = delete;

    // Reads standard input, and the FIFO at fifoPath when that is not empty:
    // created when missing (and then removed by Close), refused when the path
    // is something else. False with error set on failure.
    bool Open(const std::string& fifoPath, std::string& error);

    // Stops reading and removes a FIFO created by Open. Safe to call twice.
    void Close();

    // Appends the descriptors to wait on.
    void AddPollFds(std::vector<pollfd>& fds) const;

    // The lines that arrived on the descriptors that fds reports readable.
    // An ended standard input is simply no longer read.
    std::vector<std::string> TakeLines(const std::vector<pollfd>& fds);

private:
    std::unique_ptr<LineReader> m_stdin;
    std::unique_ptr<LineReader> m_fifo;
    int m_fifoWriteFd = -1;
    std::string m_createdFifo;
};

}  // namespace metersim
