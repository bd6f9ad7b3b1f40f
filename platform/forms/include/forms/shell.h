// Starting another program without waiting for it.
#pragma once

#include <string>
#include <sys/types.h>

namespace forms {

// Starts the program file at `path` (an executable or a script with a "#!"
// line; the path is used as it stands, with no search and no argument
// splitting) and returns its process id at once. The program gets the path as
// its only argument word, the caller's environment and working folder, default
// signal handling and a session of its own, so it outlives the caller. A
// background thread reaps it when it ends; nobody is told how it ended.
// Throws RuntimeError when it cannot be started (missing, not executable, not
// a program format the system runs).
pid_t Shell(const std::string& path);

}  // namespace forms
