#include "graph/scales.h"

#include "graph_records.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

using graphtest::FreshGraph;

TEST(ScaleMessage, ValuesAreTruncatedTowardZeroAndClamped)
{
    EXPECT_EQ(graph::ScaleMessageValue(130.0 / 187), 6951);
    EXPECT_EQ(graph::ScaleMessageValue(-1.00005), -10000);
    EXPECT_EQ(graph::ScaleMessageValue(0.00004), 0);
    EXPECT_EQ(graph::ScaleMessageValue(1e300), INT_MAX);
}

TEST(AxisLabels, ElevenLevelsFromTheControlHeightLessFifteen)
{
    CString labels[graph::kAxisLabels];
    // A 217 px control: 202 px of labels; scale 0.6951, offset 10.
    ASSERT_TRUE(graph::AxisLabels(6951, 100000, 217, labels));
    EXPECT_EQ(labels[0], CString(L"10.00"));
    EXPECT_EQ(labels[1], CString(L"24.04")); // 20.2 × 0.6951 + 10
    EXPECT_EQ(labels[10], CString(L"150.41"));
    // The scale travels unsigned: a value past INT_MAX is a large scale, not a negative one.
    ASSERT_TRUE(graph::AxisLabels(3000000000u, 0, 25, labels));
    EXPECT_EQ(labels[10], CString(L"3000000.00"));
    // A negative offset leaves the labels as they were.
    labels[3] = L"kept";
    EXPECT_FALSE(graph::AxisLabels(6951, -1, 217, labels));
    EXPECT_EQ(labels[3], CString(L"kept"));
}

TEST(ScrollBars, FollowTheVisibleRangeOfEachAxis)
{
    SGraphState s = FreshGraph(325, 187);
    graph::SScrollBars bars = graph::ScrollBarsFor(s);
    EXPECT_EQ(bars.vMax, 0);
    EXPECT_EQ(bars.vPos, 0);
    EXPECT_EQ(bars.hMax, 0);
    EXPECT_EQ(bars.hPos, 0);

    s.m_dYScale = 0.3;  // v = trunc(56.1) = 56
    s.m_dYOffset = 40;
    s.m_dXMax = 45000;  // a long recording, zoomed to 100 samples
    s.m_dXScale = 100.0 / 325;
    s.m_dXStart = 40000.7;
    bars = graph::ScrollBarsFor(s);
    EXPECT_EQ(bars.vMax, 74);
    EXPECT_EQ(bars.vPos, 34); // position 0 shows the top of the Y range
    EXPECT_EQ(bars.hMax, 44900);
    EXPECT_EQ(bars.hPos, 40000); // beyond a 16-bit position
}

TEST(ScrollBars, LineStepsStopAtTheirBoundsAndTheThumbGoesWhereReleased)
{
    int pos = -7;
    ASSERT_TRUE(graph::PanPosition(0, 0, 74, 0, &pos));
    EXPECT_EQ(pos, 0);
    ASSERT_TRUE(graph::PanPosition(0, 5, 74, 0, &pos));
    EXPECT_EQ(pos, 4);
    ASSERT_TRUE(graph::PanPosition(1, 74, 74, 0, &pos));
    EXPECT_EQ(pos, 74);
    ASSERT_TRUE(graph::PanPosition(1, 74, 74.5, 0, &pos)); // the bound compares as a double
    EXPECT_EQ(pos, 75);
    ASSERT_TRUE(graph::PanPosition(4, 3, 74, 40000, &pos));
    EXPECT_EQ(pos, 40000);
    for (UINT other : { 2u, 3u, 5u, 6u, 7u, 8u }) {
        pos = -7;
        EXPECT_FALSE(graph::PanPosition(other, 3, 74, 9, &pos)) << other;
        EXPECT_EQ(pos, -7);
    }

    SGraphState s = FreshGraph(325, 187);
    s.m_dYScale = 0.3;
    EXPECT_DOUBLE_EQ(graph::VerticalPanBound(s), 74);
    EXPECT_DOUBLE_EQ(graph::YOffsetForPosition(s, 0), 74); // the top of the range
    EXPECT_DOUBLE_EQ(graph::YOffsetForPosition(s, 74), 0);
    s.m_dXMax = 500;
    s.m_dXScale = 0.2; // h = 65
    EXPECT_DOUBLE_EQ(graph::HorizontalPanBound(s), 435);
}

} // namespace
