// What a CComPort receive callback is given, and recognisable byte streams
// to send through a line.
#pragma once

#include "support/timing.h"

#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

namespace testutil {

// Collects the chunks a receive callback is given, with the time each came;
// safe to fill from the reading thread while the test waits and reads.
class ReceiveLog {
public:
    // The callback shape of CComPort::SetReceiveCallback; self is the log.
    static void Callback(void* self, char* data, int length);

    void Add(const char* data, int length);

    // True once at least n bytes have been delivered; false after timeoutMs.
    bool WaitForBytes(size_t n, int timeoutMs = 5000);

    std::string All() const;
    std::vector<std::string> Chunks() const;
    // When the last chunk came; a default time point before any.
    Clock::time_point LastTime() const;

private:
    size_t TotalLocked() const;

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<std::string> m_chunks;
    std::vector<Clock::time_point> m_times;
};

// n bytes of a recognisable stream that does not repeat within 53 bytes,
// starting offset bytes in.
std::string Pattern(size_t n, size_t offset = 0);

}  // namespace testutil
