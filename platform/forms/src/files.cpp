#include "forms/files.h"

#include "forms/runtime_error.h"

#include <cerrno>
#include <sys/stat.h>

namespace forms {

bool FileExists(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0)
        return S_ISREG(info.st_mode);
    const int err = errno;
    if (err == ENOENT || err == ENOTDIR)
        return false;
    throw ErrorFromErrno(err, path);
}

}  // namespace forms
