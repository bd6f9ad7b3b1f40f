#include "graph/geometry.h"
#include "graph/pointer.h"

#include "graph_records.h"

#include <gtest/gtest.h>

namespace {

using graphtest::FreshGraph;
using graphtest::Records;

// A 300 x 100 plot showing 2 px per sample from sample 0: sample i lies at
// x = 45 + 2i, and the rounding puts x = 45 + 2i - 1 on it too.
SGraphState TwoPixelsPerSample()
{
    SGraphState s = FreshGraph(300, 100);
    s.m_dXScale = 0.5;
    return s;
}

CPoint AtSample(int i, int y = 50)
{
    return CPoint(PLOT_LEFT + 2 * i, y);
}

void ExpectNotice(const graph::SGraphNotice& notice, int wParam, int index)
{
    EXPECT_TRUE(notice.send);
    EXPECT_EQ(notice.wParam, wParam);
    EXPECT_EQ(notice.index, index);
}

TEST(GraphCursors, ADoubleClickThenTwoClicksPlaceAAndB)
{
    SGraphState s = TwoPixelsPerSample();
    s.m_nCursorA = 4;
    s.m_nCursorB = 8;
    s.m_ptCursorLine = CPoint(60, 60);
    EXPECT_FALSE(graph::DoubleClick(s, CPoint(20, 50))); // in the margin
    EXPECT_EQ(s.m_nMode, GRAPH_MODE_NONE);
    EXPECT_TRUE(graph::DoubleClick(s, AtSample(10)));
    EXPECT_EQ(s.m_nMode, GRAPH_MODE_CURSOR_A);
    EXPECT_EQ(s.m_nCursorA, -1);
    EXPECT_EQ(s.m_nCursorB, -1);
    EXPECT_EQ(s.m_ptCursorLine.x, 0);

    const int count = 20;
    EXPECT_FALSE(graph::Press(s, AtSample(25), count).send); // beyond the last record
    EXPECT_EQ(s.m_nMode, GRAPH_MODE_CURSOR_A);
    ExpectNotice(graph::Press(s, AtSample(3), count), graph::kNoticeCursorA, 3);
    EXPECT_EQ(s.m_nCursorA, 3);
    EXPECT_EQ(s.m_nMode, GRAPH_MODE_CURSOR_B);

    // B must lie strictly right of A and below count.
    for (int refused : { 3, 1, 20, 30 }) {
        EXPECT_FALSE(graph::Press(s, AtSample(refused), count).send) << refused;
        EXPECT_EQ(s.m_nMode, GRAPH_MODE_CURSOR_B);
        EXPECT_EQ(s.m_nCursorB, -1);
    }
    ExpectNotice(graph::Press(s, AtSample(7), count), graph::kNoticeCursorB, 7);
    EXPECT_EQ(s.m_nCursorB, 7);
    EXPECT_EQ(s.m_nMode, GRAPH_MODE_NONE);

    // A press in mode 0 starts a drag and places nothing.
    EXPECT_FALSE(graph::Press(s, AtSample(12), count).send);
    EXPECT_TRUE(s.m_bDragging);
    EXPECT_EQ(s.m_nCursorA, 3);

    graph::ClearCursors(s);
    EXPECT_EQ(s.m_nMode, GRAPH_MODE_NONE);
    EXPECT_EQ(s.m_nCursorA, -1);
    EXPECT_EQ(s.m_nCursorB, -1);
}

TEST(GraphCursors, TheFirstRecordTakesCursorAButIsNeverHovered)
{
    SGraphState s = FreshGraph(300, 100);
    s.m_dXScale = 0.125; // 8 px per sample: pixels 46..48 lie on sample 0
    graph::DoubleClick(s, CPoint(100, 50));
    EXPECT_FALSE(graph::HoverNotice(s, CPoint(46, 50), 10).send);
    ExpectNotice(graph::Press(s, CPoint(46, 50), 10), graph::kNoticeCursorA, 0);
    ExpectNotice(graph::HoverNotice(s, CPoint(53, 50), 10), graph::kNoticeHover, 1);
    EXPECT_FALSE(graph::HoverNotice(s, CPoint(53, 5), 10).send); // above the plot
    EXPECT_FALSE(graph::HoverNotice(s, CPoint(45 + 8 * 10, 50), 10).send); // past the last record
}

TEST(GraphCursors, AnEmptyArrayTakesNoCursorAndReportsNoHover)
{
    SGraphState s = TwoPixelsPerSample();
    graph::DoubleClick(s, AtSample(5));
    EXPECT_FALSE(graph::PlacingNotice(s, AtSample(2), 0).send);
    EXPECT_FALSE(graph::Press(s, AtSample(2), 0).send);
    EXPECT_EQ(s.m_nMode, GRAPH_MODE_CURSOR_A);
    EXPECT_FALSE(graph::HoverNotice(s, AtSample(2), 0).send);
}

TEST(GraphCursors, MovesWhilePlacingReportWithoutPlacing)
{
    SGraphState s = TwoPixelsPerSample();
    graph::DoubleClick(s, AtSample(5));
    ExpectNotice(graph::PlacingNotice(s, AtSample(6), 10), graph::kNoticeCursorA, 6);
    EXPECT_EQ(s.m_nCursorA, -1);
    graph::Press(s, AtSample(6), 10);
    EXPECT_FALSE(graph::PlacingNotice(s, AtSample(6), 10).send);
    ExpectNotice(graph::PlacingNotice(s, AtSample(9), 10), graph::kNoticeCursorB, 9);
    EXPECT_FALSE(graph::PlacingNotice(s, CPoint(10, 50), 10).send); // outside the plot
    EXPECT_EQ(s.m_nCursorB, -1);
}

// The zoom of a 300 x 100 plot at 0.1 samples and 1.3 dB per pixel.
class GraphZoom : public ::testing::Test {
protected:
    GraphZoom()
    {
        s = FreshGraph(300, 100);
        s.m_dXScale = 0.1;
        s.m_dYScale = 1.3;
    }
    bool Drag(CPoint from, CPoint to)
    {
        graph::Press(s, from, 1000);
        return graph::Release(s, to);
    }
    void ExpectDragEnded()
    {
        EXPECT_FALSE(s.m_bDragging);
        EXPECT_FALSE(s.m_bBand);
        EXPECT_EQ(s.m_ptDragStart.x, 0);
        EXPECT_EQ(s.m_ptDragEnd.y, 0);
    }
    SGraphState s;
};

TEST_F(GraphZoom, ADraggedRectangleBecomesThePlot)
{
    ASSERT_TRUE(Drag(CPoint(95, 30), CPoint(195, 80)));
    EXPECT_DOUBLE_EQ(s.m_dXStart, 5.0);                // 0.1 × (95 - 45)
    EXPECT_DOUBLE_EQ(s.m_dXScale, 100 * 0.1 / 300);
    EXPECT_DOUBLE_EQ(s.m_dYOffset, 1.3 * (110 - 80));  // the rectangle's lower edge
    EXPECT_DOUBLE_EQ(s.m_dYScale, 50 * 1.3 / 100);
    EXPECT_EQ(s.m_dZoomed, 1.0);
    ExpectDragEnded();
    // Zooms compound, and the ranges a layout restores stay.
    ASSERT_TRUE(Drag(CPoint(145, 30), CPoint(245, 80)));
    EXPECT_DOUBLE_EQ(s.m_dXStart, 5.0 + 100 * 0.1 / 300 * 100);
    EXPECT_DOUBLE_EQ(s.m_dXMax, GRAPH_X_SPAN);
    EXPECT_DOUBLE_EQ(s.m_dYMax, GRAPH_Y_MAX);
}

TEST_F(GraphZoom, FivePixelsIsNotADrag)
{
    EXPECT_FALSE(Drag(CPoint(100, 40), CPoint(105, 80)));
    ExpectDragEnded();
    EXPECT_FALSE(Drag(CPoint(100, 40), CPoint(200, 45)));
    EXPECT_FALSE(Drag(CPoint(100, 40), CPoint(95, 35)));
    EXPECT_EQ(s.m_dZoomed, 0.0);
    EXPECT_DOUBLE_EQ(s.m_dXScale, 0.1);
    EXPECT_TRUE(Drag(CPoint(100, 40), CPoint(94, 34)));
}

TEST_F(GraphZoom, RightToLeftStartsHalfASampleFurther)
{
    SGraphState leftToRight = s;
    graph::Press(leftToRight, CPoint(95, 30), 1000);
    ASSERT_TRUE(graph::Release(leftToRight, CPoint(195, 80)));
    ASSERT_TRUE(Drag(CPoint(195, 80), CPoint(95, 30)));
    EXPECT_DOUBLE_EQ(s.m_dXStart, leftToRight.m_dXStart + 0.5);
    EXPECT_DOUBLE_EQ(s.m_dXScale, leftToRight.m_dXScale);
    EXPECT_DOUBLE_EQ(s.m_dYOffset, leftToRight.m_dYOffset);
    EXPECT_DOUBLE_EQ(s.m_dYScale, leftToRight.m_dYScale);
}

TEST_F(GraphZoom, AReleaseOutsideThePlotIsClampedToIt)
{
    ASSERT_TRUE(Drag(CPoint(245, 60), CPoint(900, 400)));
    EXPECT_DOUBLE_EQ(s.m_dXStart, 0.1 * 200);
    EXPECT_DOUBLE_EQ(s.m_dXScale, (345 - 245) * 0.1 / 300);
    EXPECT_DOUBLE_EQ(s.m_dYOffset, 0);
    EXPECT_DOUBLE_EQ(s.m_dYScale, (110 - 60) * 1.3 / 100);
}

TEST_F(GraphZoom, AnAxisAtTheScaleFloorNoLongerZooms)
{
    s.m_dXScale = ZOOM_MIN_SCALE; // at the floor, not above it
    ASSERT_TRUE(Drag(CPoint(95, 30), CPoint(195, 80)));
    EXPECT_DOUBLE_EQ(s.m_dXScale, ZOOM_MIN_SCALE);
    EXPECT_DOUBLE_EQ(s.m_dXStart, 0);
    EXPECT_DOUBLE_EQ(s.m_dYScale, 0.65);
    s.m_dYScale = 0.004;
    ASSERT_TRUE(Drag(CPoint(95, 30), CPoint(195, 80)));
    EXPECT_DOUBLE_EQ(s.m_dYScale, 0.004);
    EXPECT_EQ(s.m_dZoomed, 1.0);
}

TEST_F(GraphZoom, NoZoomWhileACursorIsPlacedOrWithoutAPressInThePlot)
{
    graph::DoubleClick(s, CPoint(100, 50));
    EXPECT_FALSE(Drag(CPoint(95, 30), CPoint(195, 80)));
    EXPECT_EQ(s.m_nCursorA, 5); // the press placed cursor A instead
    ExpectDragEnded();

    SGraphState fresh = FreshGraph(300, 100);
    graph::Press(fresh, CPoint(20, 30), 1000); // in the margin
    EXPECT_FALSE(fresh.m_bDragging);
    EXPECT_FALSE(graph::Release(fresh, CPoint(195, 80)));
}

TEST_F(GraphZoom, TheClickThatPlacesBLetsTheSameDragZoom)
{
    graph::DoubleClick(s, CPoint(100, 50));
    graph::Press(s, CPoint(100, 50), 1000);
    graph::Release(s, CPoint(100, 50));
    ASSERT_EQ(s.m_nMode, GRAPH_MODE_CURSOR_B);
    EXPECT_TRUE(Drag(CPoint(150, 30), CPoint(250, 80)));
    EXPECT_EQ(s.m_nCursorA, 6);
    EXPECT_EQ(s.m_nCursorB, 11);
    EXPECT_EQ(s.m_dZoomed, 1.0);
}

TEST_F(GraphZoom, UndoRestoresTheRangesAndKeepsTheCursors)
{
    s.m_nCursorA = 2;
    s.m_nCursorB = 5;
    ASSERT_TRUE(Drag(CPoint(95, 30), CPoint(195, 80)));
    graph::ResetToFullRange(s, 390, 130);
    EXPECT_DOUBLE_EQ(s.m_dXScale, GRAPH_X_SPAN / 300);
    EXPECT_DOUBLE_EQ(s.m_dYScale, GRAPH_Y_MAX / 100);
    EXPECT_EQ(s.m_dXStart, 0);
    EXPECT_EQ(s.m_dYOffset, 0);
    EXPECT_EQ(s.m_nCursorA, 2);
    EXPECT_EQ(s.m_nCursorB, 5);
}

TEST(BetweenCursors, CountsAveragesAndTheEarliestExtremes)
{
    Records records;
    records.AddValues({ 50, 61, 40, 70, 55, 70, 40, 65, 60, 99 });
    graph::SBetweenStats stats = graph::StatsBetween(records.Array(), 3, 7, 0.0, 150.0);
    EXPECT_EQ(stats.count, 5);
    EXPECT_DOUBLE_EQ(stats.sum, 70 + 55 + 70 + 40 + 65);
    EXPECT_DOUBLE_EQ(stats.average, 300.0 / 5);
    EXPECT_TRUE(stats.hasMax);
    EXPECT_EQ(stats.maxIndex, 3); // 70 again at 5 does not replace it
    EXPECT_TRUE(stats.hasMin);
    EXPECT_EQ(stats.minIndex, 6);
    EXPECT_DOUBLE_EQ(stats.min, 40);
}

TEST(BetweenCursors, StartValuesThatAreNeverBeatenLeaveThatSideUnset)
{
    Records quiet;
    quiet.AddValues({ 0, -3, 0 });
    graph::SBetweenStats stats = graph::StatsBetween(quiet.Array(), 0, 2, 0.0, 150.0);
    EXPECT_FALSE(stats.hasMax);
    EXPECT_TRUE(stats.hasMin);

    Records loud;
    loud.AddValues({ 150, 151, 150 });
    stats = graph::StatsBetween(loud.Array(), 0, 2, 0.0, 150.0);
    EXPECT_TRUE(stats.hasMax);
    EXPECT_FALSE(stats.hasMin);
    EXPECT_EQ(stats.count, 3);
}

TEST(BetweenCursors, ImpossibleCursorsGiveNothing)
{
    Records records;
    records.AddValues({ 50, 60, 70 });
    for (auto ab : { std::pair { -1, 2 }, { 1, 3 }, { 2, 1 }, { 5, 6 } }) {
        const graph::SBetweenStats stats = graph::StatsBetween(records.Array(), ab.first, ab.second, 0, 150);
        EXPECT_EQ(stats.count, 0);
        EXPECT_FALSE(stats.hasMax);
        EXPECT_FALSE(stats.hasMin);
    }
}

} // namespace
