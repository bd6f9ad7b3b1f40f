#include "win32/files.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
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

ReplacementFile::~ReplacementFile()
{
    Abandon();
}

bool ReplacementFile::Fail(FileRefusal refusal, int error)
{
    Abandon();
    m_refusal = refusal;
    m_error = error;
    return false;
}

bool ReplacementFile::Open(const std::string& path)
{
    Abandon();
    m_refusal = FileRefusal::None;
    m_error = 0;
    m_target = path;
    struct stat link {};
    if (lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        struct stat pointed {};
        if (stat(path.c_str(), &pointed) != 0 && errno == ENOENT) {
            RegularFile made;
            if (!made.Open(path, O_WRONLY | O_CREAT))
                return Fail(made.Refusal(), made.Error());
            m_madeTarget = true;
        }
        char resolved[PATH_MAX];
        if (!realpath(path.c_str(), resolved))
            return Fail(FileRefusal::System, errno);
        m_target = resolved;
    }

    struct stat existing {};
    m_exists = !m_madeTarget && stat(m_target.c_str(), &existing) == 0;
    if (m_exists && !S_ISREG(existing.st_mode))
        return Fail(RefusalOfKind(existing.st_mode), ErrorOfKind(existing.st_mode));
    if (m_exists) {
        RegularFile inPlace;
        if (!inPlace.Open(m_target, O_WRONLY))
            return Fail(inPlace.Refusal(), inPlace.Error());
        m_mode = existing.st_mode & 07777;
    }

    const std::string stem = FolderOf(m_target) + "/." + NameOf(m_target) + ".";
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        const std::string candidate = stem + std::to_string(getpid()) + "-" + std::to_string(attempt) + ".part";
        if (m_file.Open(candidate, O_WRONLY | O_CREAT | O_EXCL)) {
            m_temporary = candidate;
            return true;
        }
        // A name already taken, by anything, is passed by.
        if (m_file.Refusal() == FileRefusal::System && m_file.Error() != EEXIST)
            return Fail(FileRefusal::System, m_file.Error());
    }
    return Fail(FileRefusal::System, EEXIST);
}

bool ReplacementFile::Write(const char* bytes, size_t count)
{
    if (m_file.Write(bytes, count))
        return true;
    m_error = m_file.Error();
    return false;
}

bool ReplacementFile::Commit()
{
    if (!m_file.IsOpen()) {
        m_error = EBADF;
        return false;
    }
    int error = 0;
    if ((m_exists && fchmod(m_file.Descriptor(), m_mode) != 0) || fsync(m_file.Descriptor()) != 0)
        error = errno;
    if (close(m_file.Release()) != 0 && error == 0)
        error = errno;
    if (error == 0 && rename(m_temporary.c_str(), m_target.c_str()) != 0)
        error = errno;
    if (error != 0) {
        Abandon();
        m_error = error;
        return false;
    }
    m_temporary.clear();
    m_madeTarget = false;
    return true;
}

void ReplacementFile::Abandon()
{
    m_file.Close();
    if (!m_temporary.empty())
        unlink(m_temporary.c_str());
    m_temporary.clear();
    if (m_madeTarget)
        unlink(m_target.c_str());
    m_madeTarget = false;
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
