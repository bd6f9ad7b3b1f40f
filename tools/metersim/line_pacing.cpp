#include "line_pacing.h"

#include <algorithm>

namespace metersim {

size_t ReplyLimit(size_t total, size_t sent, bool stall)
{
    return stall ? std::min(total, std::max(total / 2, sent)) : total;
}

size_t ReplyBytesDue(size_t total, size_t sent, double elapsed, int bytesPerSecond, bool stall)
{
    const size_t limit = ReplyLimit(total, sent, stall);
    if (bytesPerSecond <= 0)
        return limit;
    const double paced = 1.0 + std::max(0.0, elapsed) * bytesPerSecond;
    return paced >= static_cast<double>(limit) ? limit : static_cast<size_t>(paced);
}

std::vector<FramePiece> CutFrame(size_t length, int periodMs, std::mt19937& rng)
{
    const size_t count = std::uniform_int_distribution<size_t>(2, std::min<size_t>(5, length))(rng);
    std::vector<size_t> cuts;
    while (cuts.size() < count - 1) {
        const size_t at = std::uniform_int_distribution<size_t>(1, length - 1)(rng);
        if (std::find(cuts.begin(), cuts.end(), at) == cuts.end())
            cuts.push_back(at);
    }
    std::sort(cuts.begin(), cuts.end());
    cuts.push_back(length);
    const int gapLimit = std::max(1, std::min(20, periodMs / 4 / static_cast<int>(count - 1)));
    std::vector<FramePiece> pieces;
    size_t from = 0;
    int delay = 0;
    for (size_t to : cuts) {
        pieces.push_back({from, to, delay});
        delay += std::uniform_int_distribution<int>(1, gapLimit)(rng);
        from = to;
    }
    return pieces;
}

}  // namespace metersim
