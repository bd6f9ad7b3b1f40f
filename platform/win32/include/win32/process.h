// Starting another program without waiting for it: the one process starter of
// the layer, behind ShellExecuteW and the form programs' Shell.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace win32 {

// Starts `program` with the argument words `args` (the first is the
// program's own name), the caller's environment and working folder. With
// `search`, a program name without a slash is looked up in PATH. The child
// starts with default signal handling, no blocked signals and a session of
// its own, so it outlives the caller and nothing the caller ignores or blocks
// reaches it. A thread of ours reaps it when it ends, so no zombie stays and
// no other code's children are waited for. Returns 0 and writes the process
// id, or returns the errno that kept it from starting.
int StartProcess(const std::string& program, const std::vector<std::string>& args, bool search, pid_t* pid);

}  // namespace win32
