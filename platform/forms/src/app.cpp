#include "forms/app.h"

#include "forms/runtime_error.h"

#include <cerrno>
#include <climits>
#include <unistd.h>

namespace forms {

std::string App::Path()
{
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof(buffer));
    if (n < 0)
        throw ErrorFromErrno(errno, "/proc/self/exe");
    if (static_cast<size_t>(n) == sizeof(buffer))
        throw ErrorFromErrno(ENAMETOOLONG, "/proc/self/exe");
    std::string file(buffer, static_cast<size_t>(n));
    const size_t slash = file.rfind('/');
    if (slash == std::string::npos)
        throw RuntimeError(ENOENT, "/proc/self/exe: not a path");
    return slash == 0 ? std::string("/") : file.substr(0, slash);
}

}  // namespace forms
