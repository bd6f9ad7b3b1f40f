// Helpers for tests that start programs: scripts, process states, files.
#pragma once

#include <string>

namespace childkit {

// Writes an executable shell script with `body` after its "#!/bin/sh" line.
void WriteScript(const std::string& path, const std::string& body);

// The process's state letter from /proc ('Z' for a zombie); 0 once it is gone.
char ProcessState(int pid);
bool ProcessExists(int pid);

// The whole file, or empty text when it cannot be read.
std::string ReadFile(const std::string& path);

}  // namespace childkit
