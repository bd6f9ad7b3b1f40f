// The simulated meter's COM number in the port directory.
#pragma once

#include <string>

namespace metersim {

// The friendly name the meter's bridge shows for COMn.
std::string BridgeFriendlyName(int n);

// Holds one COM number for this process, through a lock file
// ".metersim-comN.lock" in the port directory that lives as long as the
// claim (the lock also ends when the process dies). Two claims never hold the
// same number, and a number stays held while its link is withdrawn.
class PortClaim {
public:
    PortClaim() = default;
    ~PortClaim();
    PortClaim(const PortClaim&) = delete;
    PortClaim& operator=(const PortClaim&) = delete;

    // Claims `requested`, or with 0 the first number from first to last that
    // is free. A number is free when no other claim holds it and it has no
    // link, or only a dangling one (left by a program that died). Returns
    // false with error set when no number can be had.
    bool Claim(int requested, int first, int last, std::string& error);

    // Writes link comN -> device with the bridge's friendly name.
    bool Publish(const std::string& device, std::string& error);

    // Removes link comN and its name; the number stays claimed.
    void Withdraw();

    // Withdraws and gives the number up. Safe to call more than once.
    void Release();

    int Number() const { return m_number; }

private:
    bool TryLock(int n);

    int m_number = 0;
    int m_lockFd = -1;
    std::string m_lockPath;
};

}  // namespace metersim
