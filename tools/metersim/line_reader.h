// Control lines from a non-blocking descriptor (standard input or a FIFO).
#pragma once

#include <string>
#include <vector>

namespace metersim {

class LineReader {
public:
    explicit LineReader(int fd) : m_fd(fd) {}

    int Fd() const { return m_fd; }

    // Reads once (call it when poll reports the descriptor readable) and
    // returns the lines completed so far, without line ends. Sets ended when
    // the writer has closed its end or reading fails.
    std::vector<std::string> ReadLines(bool& ended);

private:
    int m_fd;
    std::string m_partial;
};

}  // namespace metersim
