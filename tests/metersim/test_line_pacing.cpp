#include "line_pacing.h"

#include <gtest/gtest.h>

using namespace metersim;

TEST(LinePacing, ReplyBytesFollowTheLineRate)
{
    const struct {
        size_t total, sent;
        double elapsed;
        int rate;
        bool stall;
        size_t due;
    } cases[] = {
        {1000, 0, 0.0, 960, false, 1},        // the tag goes at once
        {1000, 0, 0.5, 960, false, 481},
        {1000, 400, 1.0, 960, false, 961},
        {1000, 900, 2.0, 960, false, 1000},   // never past the end
        {1000, 0, -1.0, 960, false, 1},       // a clock step back sends nothing extra
        {1000, 0, 0.0, 0, false, 1000},       // unpaced
        {1000, 0, 5.0, 960, true, 500},       // stalled at half
        {1000, 0, 0.25, 960, true, 241},
        {1000, 700, 5.0, 960, true, 700},     // switched on past half: stops where it is
        {4, 0, 0.0, 0, true, 2},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReplyBytesDue(c.total, c.sent, c.elapsed, c.rate, c.stall), c.due)
            << c.total << " " << c.sent << " " << c.elapsed << " " << c.rate << " " << c.stall;
    }
    EXPECT_EQ(ReplyLimit(1000, 0, false), 1000u);
    EXPECT_EQ(ReplyLimit(1000, 0, true), 500u);
    EXPECT_EQ(ReplyLimit(1000, 800, true), 800u);
}

TEST(LinePacing, CutFramesCoverTheFrameInOrderWithinAQuarterPeriod)
{
    std::mt19937 rng(5);
    for (int period : {20, 100, 250, 1900}) {
        for (int round = 0; round < 500; ++round) {
            const size_t length = 2 + round % 30;
            const std::vector<FramePiece> pieces = CutFrame(length, period, rng);
            ASSERT_GE(pieces.size(), 2u);
            ASSERT_LE(pieces.size(), std::min<size_t>(5, length));
            size_t expectedFrom = 0;
            int previousDelay = -1;
            for (const FramePiece& p : pieces) {
                ASSERT_EQ(p.from, expectedFrom);
                ASSERT_GT(p.to, p.from);
                ASSERT_GT(p.delayMs, previousDelay);
                if (previousDelay >= 0) {
                    ASSERT_LE(p.delayMs - previousDelay, 20);
                }
                previousDelay = p.delayMs;
                expectedFrom = p.to;
            }
            ASSERT_EQ(expectedFrom, length);
            EXPECT_EQ(pieces.front().delayMs, 0);
            EXPECT_LE(pieces.back().delayMs, std::max(period / 4, 4)) << period;
        }
    }
}
