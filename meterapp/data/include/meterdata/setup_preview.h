// What the real-time setup dialog shows of a recording before it starts: how
// long it lasts and when it would start and end if started now.
#pragma once

#include <afx/afxcore.h>

#include <ctime>

struct SSetupPreview {
    CString duration; // "%d hour %d minute %d second"
    CString start;    // "%d-%d-%d,%d:%d:%d": day, month, year, hour, minute, second, unpadded
    CString end;      // the same, empty when the end cannot be given as a date
};

// For `points` samples every `interval` seconds starting at `now` (local time):
// T = points × interval (floating), hours, minutes and seconds each truncated
// toward zero; the end is now + T truncated to whole seconds, in 64-bit
// seconds. Any int of points gives a preview (the dialog shows one for a
// count it has just refused).
SSetupPreview ComputeSetupPreview(int points, double interval, std::time_t now);
