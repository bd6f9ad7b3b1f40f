// Helpers for the comm tests: a pseudo-terminal line on COM7 in a port
// directory of its own, and overlapped records with their own events.
#pragma once

#include "support/ptyline.h"
#include "support/timing.h"
#include "win32/comm.h"

#include <gtest/gtest.h>

namespace testline {

using testutil::Clock;
using testutil::MillisecondsSince;
using testutil::ProcessCpuMs;

class PseudoLine : public testutil::LonePtyLine {
public:
    static constexpr int kPort = 7;
    PseudoLine() : LonePtyLine(kPort) {}
};

// An OVERLAPPED record with its own manual-reset event.
struct Overlapped {
    OVERLAPPED ov{};
    Overlapped() { ov.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr); }
    ~Overlapped() { CloseHandle(ov.hEvent); }
    Overlapped(const Overlapped&) = delete;
    Overlapped& operator=(const Overlapped&) = delete;
    OVERLAPPED* get() { return &ov; }
    bool Signalled(DWORD ms = 0) const { return WaitForSingleObject(ov.hEvent, ms) == WAIT_OBJECT_0; }
};

// Bytes in the port's input queue now (ClearCommError; its error bits are
// added to *errors when given).
inline DWORD Queued(HANDLE h, DWORD* errors = nullptr)
{
    COMSTAT stat{};
    DWORD seen = 0;
    if (!ClearCommError(h, &seen, &stat))
        return 0;
    if (errors)
        *errors |= seen;
    return stat.cbInQue;
}

// Waits until the input queue holds at least `bytes`; false after timeoutMs.
inline bool WaitUntilQueued(HANDLE h, DWORD bytes, DWORD* errors = nullptr, long timeoutMs = 5000)
{
    const Clock::time_point start = Clock::now();
    while (Queued(h, errors) < bytes) {
        if (MillisecondsSince(start) >= timeoutMs)
            return false;
        Sleep(1);
    }
    return true;
}

inline void SetIntervalTimeout(HANDLE h, DWORD interval)
{
    COMMTIMEOUTS t{interval, 0, 0, 0, 0};
    ASSERT_TRUE(SetCommTimeouts(h, &t));
}

}  // namespace testline
