#pragma once

#include <chrono>
#include <ctime>

namespace testutil {

using Clock = std::chrono::steady_clock;

// Whole milliseconds from start to now.
long MillisecondsSince(Clock::time_point start);

// Whole milliseconds from now to end, 0 once end has passed: a poll time-out.
int MillisecondsUntil(Clock::time_point end);

// The calendar time of a local date and time, daylight saving decided by the
// system, as std::mktime gives it: the tests' own reckoning, apart from the code's.
std::time_t LocalTime(int year, int month, int day, int hour, int minute, int second);

// CPU time of the whole process (all threads), in milliseconds.
double ProcessCpuMs();

}  // namespace testutil
