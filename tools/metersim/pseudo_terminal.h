// The meter's end of the line: a pseudo-terminal whose slave plays the port.
#pragma once

#include <string>

namespace metersim {

class PseudoTerminal {
public:
    PseudoTerminal() = default;
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    // Opens a new pair: the master non-blocking for this program, the slave
    // set raw at 9600 8N1 and held open here too, so that the master neither
    // hangs up nor fails while no one else has the port open. Closes a pair
    // that was open. Returns false with error set on failure.
    bool Open(std::string& error);

    // Closes both ends; whoever has the slave open sees a hang-up.
    void Close();

    bool IsOpen() const { return m_master >= 0; }
    int MasterFd() const { return m_master; }
    // The slave's device path, such as "/dev/pts/5".
    const std::string& Device() const { return m_device; }

private:
    int m_master = -1;
    int m_slave = -1;
    std::string m_device;
};

}  // namespace metersim
