// How the meter spreads its bytes over time: the download's line pace and the
// pieces of a frame cut by the fault switch. Pure: the caller keeps the clock.
#pragma once

#include <cstddef>
#include <random>
#include <vector>

namespace metersim {

// Bytes of a reply of `total` bytes that should be on the line `elapsed`
// seconds after its start at `bytesPerSecond` (0: all at once). The first
// byte goes at once. With `stall`, the reply ends after half its bytes (or
// where it already is, when past that), so its end mark never goes.
size_t ReplyBytesDue(size_t total, size_t sent, double elapsed, int bytesPerSecond, bool stall);

// Where a stalled reply stops: half its bytes, or `sent` when past that.
size_t ReplyLimit(size_t total, size_t sent, bool stall);

struct FramePiece {
    size_t from = 0;       // first byte of the piece
    size_t to = 0;         // one past its last byte
    int delayMs = 0;       // after the start of the frame
};

// Cuts `length` bytes (>= 2) into 2-5 pieces at random places, each piece
// 1-20 ms after the one before, all within a quarter of `periodMs`.
std::vector<FramePiece> CutFrame(size_t length, int periodMs, std::mt19937& rng);

}  // namespace metersim
