// A named pipe put where a program expects a file, and a watch on a call
// that must not wait on it.
#pragma once

#include <chrono>
#include <functional>
#include <string>

namespace testutil {

// Makes a named pipe at path (which must not exist yet). Throws
// std::runtime_error when it cannot.
void MakePipe(const std::string& path);

// Runs call. If it has not returned after `patience`, whatever waits on the
// pipe at path (opening it for reading or writing, or reading it) is let go,
// again and again until call returns: both of its ends are opened and the
// writing end closed again, so that the test ends and reports instead of
// hanging. True when call returned by itself.
bool ReturnsWithoutWaitingOn(const std::string& path, const std::function<void()>& call,
    std::chrono::milliseconds patience = std::chrono::milliseconds(3000));

}  // namespace testutil
