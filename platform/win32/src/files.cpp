#include "win32/files.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace win32 {

namespace {

FileRefusal RefusalOfKind(mode_t mode)
{
    return S_ISDIR(mode) ? FileRefusal::Folder : FileRefusal::NotAFile;
}

int ErrorOfKind(mode_t mode)
{
    return S_ISDIR(mode) ? EISDIR : EINVAL;
}

}  // namespace

RegularFile::~RegularFile()
{
    Close();
}

void RegularFile::Refuse(FileRefusal refusal, int error)
{
    m_refusal = refusal;
    m_error = error;
}

bool RegularFile::Open(const std::string& path, int flags, mode_t mode)
{
    Close();
    Refuse(FileRefusal::None, 0);
    // Looked at before opening, so that a device is never opened at all: for
    // some, opening is already an act.
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        if (errno != ENOENT || !(flags & O_CREAT)) {
            Refuse(FileRefusal::System, errno);
            return false;
        }
    } else if (!S_ISREG(info.st_mode)) {
        Refuse(RefusalOfKind(info.st_mode), ErrorOfKind(info.st_mode));
        return false;
    }
    const int fd = open(path.c_str(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, mode);
    if (fd < 0) {
        Refuse(FileRefusal::System, errno);
        return false;
    }
    if (fstat(fd, &info) != 0) {
        Refuse(FileRefusal::System, errno);
        close(fd);
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        Refuse(RefusalOfKind(info.st_mode), ErrorOfKind(info.st_mode));
        close(fd);
        return false;
    }
    const int status = fcntl(fd, F_GETFL);
    if (status < 0 || fcntl(fd, F_SETFL, status & ~O_NONBLOCK) != 0) {
        Refuse(FileRefusal::System, errno);
        close(fd);
        return false;
    }
    m_fd = fd;
    return true;
}

long RegularFile::Read(char* buffer, size_t capacity)
{
    if (m_fd < 0) {
        m_error = EBADF;
        return -1;
    }
    for (;;) {
        const ssize_t n = read(m_fd, buffer, capacity);
        if (n >= 0)
            return static_cast<long>(n);
        if (errno != EINTR) {
            m_error = errno;
            return -1;
        }
    }
}

bool RegularFile::Write(const char* bytes, size_t count)
{
    if (m_fd < 0) {
        m_error = EBADF;
        return false;
    }
    size_t done = 0;
    while (done < count) {
        const ssize_t n = write(m_fd, bytes + done, count - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            m_error = n == 0 ? EIO : errno;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

void RegularFile::Close()
{
    if (m_fd >= 0)
        close(m_fd);
    m_fd = -1;
}

int RegularFile::Release()
{
    const int fd = m_fd;
    m_fd = -1;
    return fd;
}

bool ReadFileHead(const std::string& path, size_t limit, std::string* out, bool* complete)
{
    out->clear();
    RegularFile file;
    if (!file.Open(path, O_RDONLY))
        return false;
    char piece[1 << 14];
    for (;;) {
        // Once the limit is reached, one byte more tells whether anything is left.
        const size_t room = out->size() < limit ? limit - out->size() : 1;
        const long n = file.Read(piece, room < sizeof piece ? room : sizeof piece);
        if (n < 0) {
            out->clear();
            return false;
        }
        if (n == 0 || out->size() >= limit) {
            if (complete)
                *complete = n == 0;
            return true;
        }
        out->append(piece, static_cast<size_t>(n));
    }
}

}  // namespace win32
