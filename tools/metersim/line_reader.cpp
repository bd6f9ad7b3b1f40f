#include "line_reader.h"

#include <cerrno>
#include <unistd.h>

namespace metersim {

std::vector<std::string> LineReader::ReadLines(bool& ended)
{
    ended = false;
    std::vector<std::string> lines;
    char buffer[512];
    // One read per call: the descriptor may be blocking (a shared standard
    // input is left as it is), and the caller only calls when poll says so.
    const ssize_t n = read(m_fd, buffer, sizeof(buffer));
    if (n > 0)
        m_partial.append(buffer, static_cast<size_t>(n));
    else if (n == 0 || (errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK))
        ended = true;
    for (size_t end; (end = m_partial.find('\n')) != std::string::npos;) {
        std::string line = m_partial.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        m_partial.erase(0, end + 1);
    }
    // A last line without a line end still counts once the writer has gone.
    if (ended && !m_partial.empty()) {
        lines.push_back(m_partial);
        m_partial.clear();
    }
    // A writer that never ends its line must not grow the buffer forever.
    if (m_partial.size() > 4096)
        m_partial.clear();
    return lines;
}

}  // namespace metersim
