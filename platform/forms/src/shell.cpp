#include "forms/shell.h"

#include "forms/runtime_error.h"
#include "win32/process.h"

namespace forms {

pid_t Shell(const std::string& path)
{
    pid_t pid = 0;
    if (const int err = win32::StartProcess(path, { path }, false, &pid))
        throw ErrorFromErrno(err, path);
    return pid;
}

}  // namespace forms
