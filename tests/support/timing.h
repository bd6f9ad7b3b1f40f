#pragma once

#include <chrono>

namespace testutil {

using Clock = std::chrono::steady_clock;

// Whole milliseconds from start to now.
long MillisecondsSince(Clock::time_point start);

// CPU time of the whole process (all threads), in milliseconds.
double ProcessCpuMs();

}  // namespace testutil
