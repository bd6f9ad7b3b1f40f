#include "port_claim.h"

#include "win32/ports.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace metersim {

namespace {

std::string LinkPath(int n)
{
    return win32::PortDirectory() + "/com" + std::to_string(n);
}

bool MakeDirectories(const std::string& path)
{
    for (size_t pos = path.find('/', 1);; pos = path.find('/', pos + 1)) {
        const std::string partial = path.substr(0, pos);
        if (mkdir(partial.c_str(), 0755) != 0 && errno != EEXIST)
            return false;
        if (pos == std::string::npos)
            return true;
    }
}

// No link, or one whose target is gone.
bool LinkIsFree(int n)
{
    struct stat st {};
    const std::string path = LinkPath(n);
    if (lstat(path.c_str(), &st) != 0)
        return errno == ENOENT;
    return stat(path.c_str(), &st) != 0 && errno == ENOENT;
}

}  // namespace

std::string BridgeFriendlyName(int n)
{
    return "Silicon Labs CP210x USB to UART Bridge (COM" + std::to_string(n) + ")";
}

PortClaim::~PortClaim()
{
    Release();
}

bool PortClaim::TryLock(int n)
{
    const std::string path = win32::PortDirectory() + "/.metersim-com" + std::to_string(n) + ".lock";
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (fd < 0)
            return false;
        if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
            close(fd);
            return false;
        }
        // A releasing claim unlinks its file before it unlocks: the lock only
        // counts when it is on the file that the path names now.
        struct stat held {}, named {};
        if (fstat(fd, &held) == 0 && stat(path.c_str(), &named) == 0 && held.st_ino == named.st_ino
            && held.st_dev == named.st_dev) {
            m_lockFd = fd;
            m_lockPath = path;
            return true;
        }
        close(fd);
    }
    return false;
}

bool PortClaim::Claim(int requested, int first, int last, std::string& error)
{
    Release();
    const std::string dir = win32::PortDirectory();
    if (!MakeDirectories(dir)) {
        error = "cannot create " + dir + ": " + std::strerror(errno);
        return false;
    }
    const int from = requested ? requested : first;
    const int to = requested ? requested : last;
    for (int n = from; n <= to; ++n) {
        if (!LinkIsFree(n) || !TryLock(n))
            continue;
        // Checked again under the lock: a link may have come meanwhile.
        if (!LinkIsFree(n)) {
            Release();
            continue;
        }
        m_number = n;
        return true;
    }
    if (requested)
        error = "COM" + std::to_string(requested) + " is in use (a link in " + dir + " or another metersim)";
    else
        error = "no free COM number from " + std::to_string(first) + " to " + std::to_string(last) + " in " + dir;
    return false;
}

bool PortClaim::Publish(const std::string& device, std::string& error)
{
    if (!m_number) {
        error = "no COM number claimed";
        return false;
    }
    if (!win32::WritePortLink(m_number, device, BridgeFriendlyName(m_number))) {
        error = "cannot write link " + LinkPath(m_number) + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

void PortClaim::Withdraw()
{
    if (m_number)
        win32::RemovePortLink(m_number);
}

void PortClaim::Release()
{
    Withdraw();
    m_number = 0;
    if (m_lockFd >= 0) {
        unlink(m_lockPath.c_str());
        close(m_lockFd);
    }
    m_lockFd = -1;
    m_lockPath.clear();
}

}  // namespace metersim
