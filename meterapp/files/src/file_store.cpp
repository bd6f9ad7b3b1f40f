#include "meterfiles/file_store.h"

#include <win32/text.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace meterfiles {

namespace {

CString Problem(const std::string& path, const char* what, int error)
{
    std::string text = "\"" + path + "\": " + what;
    if (error != 0)
        text += std::string(" (") + std::strerror(error) + ")";
    const std::wstring wide = win32::WideFromUtf8(text);
    return CString(wide.c_str(), static_cast<int>(wide.size()));
}

void SetProblem(CString* problem, const std::string& path, const char* what, int error)
{
    if (problem)
        *problem = Problem(path, what, error);
}

// The file a save has to replace: the target of a symbolic link, so that
// the link stays.
std::string ReplacedPath(const std::string& path)
{
    struct stat link {};
    if (lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode))
        return path;
    char resolved[PATH_MAX];
    return realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

std::string FolderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool WriteAll(int fd, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

// A new file beside target, created with the permissions a new file gets
// (the process's umask applies); -1 with errno set when none can be made.
int CreateSibling(const std::string& target, std::string* created)
{
    const std::string stem = FolderOf(target) + "/." + NameOf(target) + ".";
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        const std::string candidate = stem + std::to_string(getpid()) + "-" + std::to_string(attempt) + ".part";
        const int fd = open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            *created = candidate;
            return fd;
        }
        if (errno != EEXIST)
            return -1;
    }
    errno = EEXIST;
    return -1;
}

}  // namespace

FileReader::~FileReader()
{
    if (m_fd >= 0)
        close(m_fd);
}

bool FileReader::Open(const CString& path, CString* problem)
{
    m_path = win32::Utf8FromWide(path.GetString());
    // O_NONBLOCK: a pipe chosen by mistake must not hang the program before
    // it is found not to be a regular file.
    const int fd = open(m_path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        SetProblem(problem, m_path, "cannot be opened", errno);
        return false;
    }
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        const bool folder = S_ISDIR(info.st_mode);
        SetProblem(problem, m_path, folder ? "is a folder" : "is not a file", 0);
        close(fd);
        return false;
    }
    m_fd = fd;
    return true;
}

long FileReader::Read(char* buffer, size_t capacity, CString* problem)
{
    for (;;) {
        const ssize_t n = read(m_fd, buffer, capacity);
        if (n >= 0)
            return static_cast<long>(n);
        if (errno != EINTR) {
            SetProblem(problem, m_path, "cannot be read", errno);
            return -1;
        }
    }
}

bool ReplaceFileContents(const CString& path, const std::string& bytes, CString* problem)
{
    const std::string asked = win32::Utf8FromWide(path.GetString());
    const std::string target = ReplacedPath(asked);
    struct stat existing {};
    const bool exists = stat(target.c_str(), &existing) == 0;
    // Only a regular file is replaced: a device or a folder in the way stays.
    if (exists && !S_ISREG(existing.st_mode)) {
        SetProblem(problem, asked, S_ISDIR(existing.st_mode) ? "is a folder" : "is not a file", 0);
        return false;
    }

    std::string temporary;
    const int fd = CreateSibling(target, &temporary);
    if (fd < 0) {
        SetProblem(problem, asked, "cannot be written", errno);
        return false;
    }
    int error = 0;
    if (!WriteAll(fd, bytes) || (exists && fchmod(fd, existing.st_mode & 07777) != 0) || fsync(fd) != 0)
        error = errno;
    if (close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && rename(temporary.c_str(), target.c_str()) != 0)
        error = errno;
    if (error != 0) {
        unlink(temporary.c_str());
        SetProblem(problem, asked, "cannot be written", error);
        return false;
    }
    return true;
}

}  // namespace meterfiles
