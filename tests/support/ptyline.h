// Pseudo-terminals standing in for serial devices: the test holds the master
// side and plays the far end of the line; the slave is registered as port
// COM<number> in a temporary port directory, so "\\.\COM<number>" opens it.
#pragma once

#include "support/tempdir.h"
#include "support/scopedenv.h"
#include "win32/comm.h"

#include <string>
#include <termios.h>

namespace testutil {

// A temporary port directory, the value of COMPORTS_DIR while it lives.
class PortDirectory {
public:
    PortDirectory();
    std::string path() const { return m_tmp.path() + "/ports"; }

private:
    TempDir m_tmp;
    ScopedEnv m_env;
};

// One pseudo-terminal registered in the port directory COMPORTS_DIR names at
// construction. Failures of the terminal itself throw std::runtime_error, so
// a test that meets one fails.
class PtyLine {
public:
    // Registers the slave as COM<number>, with friendlyName when not empty.
    explicit PtyLine(int number, const std::string& friendlyName = "");
    ~PtyLine();
    PtyLine(const PtyLine&) = delete;
    PtyLine& operator=(const PtyLine&) = delete;

    int number() const { return m_number; }
    int master() const { return m_master; }
    const std::string& slavePath() const { return m_slavePath; }

    // Opens "\\.\COM<number>" for reading and writing, overlapped or not;
    // INVALID_HANDLE_VALUE when CreateFileW fails.
    HANDLE Open(bool overlapped = true) const;

    // Writes all of bytes to the master.
    void Send(const std::string& bytes) const;

    // Reads from the master until n bytes have come or the time-out passes;
    // gives what came.
    std::string Receive(size_t n, int timeoutMs = 5000) const;

    // The slave's settings: on Linux the master's terminal requests reach the slave.
    termios SlaveSettings() const;

    // Hangs up the far end: the slave then reads end of file or fails.
    void CloseMaster();

private:
    int m_number;
    int m_master = -1;
    std::string m_slavePath;
};

// A line with a port directory of its own, for tests that need only one port.
class LonePtyLine : public PortDirectory, public PtyLine {
public:
    explicit LonePtyLine(int number) : PtyLine(number) {}
};

}  // namespace testutil
