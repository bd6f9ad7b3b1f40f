#pragma once

#include <chrono>

namespace testutil {

using Clock = std::chrono::steady_clock;

// Whole milliseconds from start to now.
long MillisecondsSince(Clock::time_point start);

// Whole milliseconds from now to end, 0 once end has passed: a poll time-out.
int MillisecondsUntil(Clock::time_point end);

// CPU time of the whole process (all threads), in milliseconds.
double ProcessCpuMs();

}  // namespace testutil
