// A meter on a pseudo-terminal for the logger-download tests.
#pragma once

#include "live_fixture.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace livetest {

// A meter on a pseudo-terminal: it streams live frames every 100 ms and
// answers the first download request it reads after Reply with the chunks of
// that reply, streaming no frames while it replies. After the reply it
// streams frames again unless it was told to stay silent. A piece's hook runs
// on the meter's thread and may read the line there (RequestsAfterQuiet).
class LoggerMeter {
public:
    struct Piece {
        Bytes bytes;
        std::chrono::milliseconds pause { 0 };  // before the piece
        std::function<void()> before;           // run before the piece is written
    };

    explicit LoggerMeter(FakeMeterLine& line);
    ~LoggerMeter();

    void Reply(std::vector<Piece> pieces, bool silentAfter = false)
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_reply = std::move(pieces);
        m_silentAfter = silentAfter;
    }

    // For a piece's hook: reads what the program writes until the line has
    // been quiet for `quiet` (giving up after `limit`), so that what it wrote
    // before the call has passed, then counts the download requests it writes
    // during `span`. -1 when the line never fell quiet.
    int RequestsAfterQuiet(std::chrono::milliseconds quiet, std::chrono::milliseconds limit,
        std::chrono::milliseconds span);

    std::atomic<int> requestsSeen { 0 };
    std::atomic<bool> silent { false };

private:
    void Run();

    FakeMeterLine& m_line;
    std::mutex m_lock;
    std::vector<Piece> m_reply;
    bool m_silentAfter = false;
    std::atomic<bool> m_running { true };
    std::thread m_thread;
};

// The reply of the two-record example block: 0xBB, N, one block, 0xDD.
extern const Bytes kExampleReply;

Bytes Slice(const Bytes& bytes, size_t from, size_t to);

}  // namespace livetest
