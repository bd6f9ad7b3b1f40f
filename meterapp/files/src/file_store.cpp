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

// A new file beside target, created with the permissions a new file gets
// (the process's umask applies); false with *error set when none can be made.
bool CreateSibling(const std::string& target, win32::RegularFile& file, std::string* created, int* error)
{
    const std::string stem = FolderOf(target) + "/." + NameOf(target) + ".";
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        const std::string candidate = stem + std::to_string(getpid()) + "-" + std::to_string(attempt) + ".part";
        if (file.Open(candidate, O_WRONLY | O_CREAT | O_EXCL)) {
            *created = candidate;
            return true;
        }
        // A name already taken, by anything, is passed by.
        if (file.Refusal() == win32::FileRefusal::System && file.Error() != EEXIST) {
            *error = file.Error();
            return false;
        }
    }
    *error = EEXIST;
    return false;
}

}  // namespace

bool FileReader::Open(const CString& path, CString* problem)
{
    m_path = win32::Utf8FromWide(path.GetString());
    if (m_file.Open(m_path, O_RDONLY))
        return true;
    switch (m_file.Refusal()) {
    case win32::FileRefusal::Folder: SetProblem(problem, m_path, "is a folder", 0); break;
    case win32::FileRefusal::NotAFile: SetProblem(problem, m_path, "is not a file", 0); break;
    default: SetProblem(problem, m_path, "cannot be opened", m_file.Error()); break;
    }
    return false;
}

long FileReader::Read(char* buffer, size_t capacity, CString* problem)
{
    const long n = m_file.Read(buffer, capacity);
    if (n < 0)
        SetProblem(problem, m_path, "cannot be read", m_file.Error());
    return n;
}

bool ReplaceFileContents(const CString& path, const std::string& bytes, CString* problem)
{
    const std::string asked = win32::Utf8FromWide(path.GetString());
    // The file a save replaces is the one a link points at, so that the link
    // stays; a link to nothing yet is written through, its file made now.
    std::string target = asked;
    bool made = false;
    struct stat link {};
    if (lstat(asked.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        struct stat pointed {};
        if (stat(asked.c_str(), &pointed) != 0 && errno == ENOENT) {
            win32::RegularFile file;
            if (!file.Open(asked, O_WRONLY | O_CREAT)) {
                SetProblem(problem, asked, "cannot be written", file.Error());
                return false;
            }
            made = true;
        }
        char resolved[PATH_MAX];
        if (!realpath(asked.c_str(), resolved)) {
            SetProblem(problem, asked, "cannot be written", errno);
            return false;
        }
        target = resolved;
    }
    const auto fail = [&](const char* what, int error) {
        if (made)
            unlink(target.c_str());
        SetProblem(problem, asked, what, error);
        return false;
    };

    struct stat existing {};
    const bool exists = !made && stat(target.c_str(), &existing) == 0;
    // Only a regular file is replaced: a device or a folder in the way stays.
    if (exists && !S_ISREG(existing.st_mode))
        return fail(S_ISDIR(existing.st_mode) ? "is a folder" : "is not a file", 0);
    // The rename below would replace a file this user may not write (the
    // user's own read-only file, another's file in a shared folder): it is
    // refused as writing in place would be.
    if (exists) {
        win32::RegularFile file;
        if (!file.Open(target, O_WRONLY))
            return fail("cannot be written", file.Error());
    }

    win32::RegularFile file;
    std::string temporary;
    int error = 0;
    if (!CreateSibling(target, file, &temporary, &error))
        return fail("cannot be written", error);
    if (!file.Write(bytes.data(), bytes.size()))
        error = file.Error();
    else if ((exists && fchmod(file.Descriptor(), existing.st_mode & 07777) != 0) || fsync(file.Descriptor()) != 0)
        error = errno;
    if (close(file.Release()) != 0 && error == 0)
        error = errno;
    if (error == 0 && rename(temporary.c_str(), target.c_str()) != 0)
        error = errno;
    if (error != 0) {
        unlink(temporary.c_str());
        return fail("cannot be written", error);
    }
    return true;
}

}  // namespace meterfiles
