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

inline void SetIntervalTimeout(HANDLE h, DWORD interval)
{
    COMMTIMEOUTS t{interval, 0, 0, 0, 0};
    ASSERT_TRUE(SetCommTimeouts(h, &t));
}

}  // namespace testline
