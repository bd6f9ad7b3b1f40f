#include "graph/geometry.h"
#include "graph/grid.h"

#include "graph_records.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <vector>

namespace {

using graphtest::FreshGraph;

TEST(GraphGeometry, InsideThePlotExcludesItsBorderLines)
{
    const SGraphState s = FreshGraph(300, 100);
    EXPECT_TRUE(graph::InsidePlot(s, CPoint(46, 11)));
    EXPECT_TRUE(graph::InsidePlot(s, CPoint(344, 109)));
    for (CPoint border : { CPoint(45, 50), CPoint(345, 50), CPoint(100, 10), CPoint(100, 110) })
        EXPECT_FALSE(graph::InsidePlot(s, border)) << border.x << "," << border.y;
}

TEST(GraphGeometry, TheIndexUnderTheMouseRoundsToTheNearestSample)
{
    SGraphState s = FreshGraph(300, 100);
    s.m_dXScale = 0.5; // two pixels per sample
    EXPECT_EQ(graph::IndexUnderX(s, 45), 0);
    EXPECT_EQ(graph::IndexUnderX(s, 46), 1); // sample 0.5 rounds up
    EXPECT_EQ(graph::IndexUnderX(s, 47), 1);
    EXPECT_EQ(graph::IndexUnderX(s, 65), 10);
    // The left edge shows X start less X min.
    s.m_dXStart = 7.25;
    s.m_dXMin = 0.25;
    EXPECT_EQ(graph::IndexUnderX(s, 45), 7);
    EXPECT_EQ(graph::IndexUnderX(s, 65), 17);
}

TEST(GraphGeometry, SamplesAndLevelsMapToTruncatedPixels)
{
    SGraphState s = FreshGraph(300, 130);
    s.m_dXScale = 0.125;
    s.m_dYScale = 1.0;
    EXPECT_EQ(graph::SampleX(s, 0), 45);
    EXPECT_EQ(graph::SampleX(s, 10), 125);
    s.m_dXStart = 2.55;
    EXPECT_EQ(graph::SampleX(s, 10), 104); // 45 + 80 - 20.4
    EXPECT_EQ(graph::CursorX(s, 10), 45 + 59);
    EXPECT_EQ(graph::LevelY(s, 65.3), 74); // 10 - 65.3 + 130
    EXPECT_EQ(graph::LevelY(s, 0), 140);
    EXPECT_EQ(graph::LevelY(s, 200.5), -60); // toward zero, not down
    s.m_dYOffset = 20;
    EXPECT_EQ(graph::LevelY(s, 65.3), 94);
}

TEST(GraphGeometry, DeepZoomsClampInsteadOfOverflowing)
{
    SGraphState s = FreshGraph(300, 100);
    s.m_dXScale = 1e-12;
    s.m_dYScale = 1e-12;
    s.m_dXStart = 5;
    EXPECT_EQ(graph::SampleX(s, 40000), INT_MAX);
    EXPECT_EQ(graph::SampleX(s, 0), INT_MIN);
    EXPECT_EQ(graph::CursorX(s, 40000), INT_MAX);
    EXPECT_EQ(graph::LevelY(s, 130), INT_MIN);
    EXPECT_EQ(graph::LevelY(s, -1), INT_MAX);
    EXPECT_EQ(graph::TruncToInt(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(graph::TruncToInt(-2.9), -2);
    s.m_dXScale = 0;
    EXPECT_EQ(graph::IndexUnderX(s, 100), 0);
}

TEST(GraphGeometry, OnlyTheVisibleSamplesAreVisited)
{
    SGraphState s = FreshGraph(300, 100);
    s.m_dXScale = 0.1;
    s.m_dXStart = 5.7;
    graph::SVisibleSamples range = graph::VisibleSamples(s, 1000);
    EXPECT_EQ(range.first, 5);
    EXPECT_EQ(range.end, 37); // 30 + 5.7 + 2
    range = graph::VisibleSamples(s, 20);
    EXPECT_EQ(range.end, 20);
    s.m_dXStart = 2000;
    range = graph::VisibleSamples(s, 1000);
    EXPECT_GE(range.first, range.end - 1);
}

TEST(GraphGeometry, PointMarkersNeedMoreThanThreePixelsBetweenSamples)
{
    EXPECT_TRUE(graph::ShowPointMarkers(0.25));
    EXPECT_FALSE(graph::ShowPointMarkers(0.5));
    // A scale at which consecutive samples are exactly 3 px apart shows none.
    double atSix = 2.0 / 6.0;
    for (int step = 0; step < 8 && 2 / atSix != 6.0; ++step)
        atSix = std::nextafter(atSix, 1.0);
    ASSERT_EQ(2 / atSix, 6.0);
    EXPECT_FALSE(graph::ShowPointMarkers(atSix));
    EXPECT_TRUE(graph::ShowPointMarkers(std::nextafter(atSix, 0.0)));
}

TEST(GraphLayout, SetUpAndResetComeFromTheControlSize)
{
    SGraphState s;
    graph::SetUpView(s, 415, 217);
    EXPECT_EQ(s.m_nPlotWidth, 325);
    EXPECT_EQ(s.m_nPlotHeight, 187);
    EXPECT_DOUBLE_EQ(s.m_dXScale, 20.0 / 325);
    EXPECT_DOUBLE_EQ(s.m_dYScale, 130.0 / 187);

    // A zoomed graph whose X range grew: the reset keeps X max and the cursors.
    s.m_dXMax = 500;
    s.m_dXStart = 12;
    s.m_dYOffset = 33;
    s.m_dXScale = 0.01;
    s.m_dZoomed = 1.0;
    s.m_nCursorA = 3;
    s.m_nCursorB = 9;
    graph::ResetToFullRange(s, 615, 230);
    EXPECT_EQ(s.m_nPlotWidth, 525);
    EXPECT_EQ(s.m_nPlotHeight, 200);
    EXPECT_DOUBLE_EQ(s.m_dXMax, 500);
    EXPECT_DOUBLE_EQ(s.m_dXScale, 500.0 / 525);
    EXPECT_DOUBLE_EQ(s.m_dYScale, 130.0 / 200);
    EXPECT_EQ(s.m_dXStart, 0);
    EXPECT_EQ(s.m_dYOffset, 0);
    EXPECT_EQ(s.m_dZoomed, 0.0);
    EXPECT_EQ(s.m_nCursorA, 3);
    EXPECT_EQ(s.m_nCursorB, 9);
}

TEST(GraphLayout, AControlWithoutRoomForAPlotKeepsItsScales)
{
    SGraphState s;
    graph::SetUpView(s, 415, 217);
    const double xScale = s.m_dXScale;
    graph::ResetToFullRange(s, 90, 400);
    EXPECT_TRUE(graph::PlotIsEmpty(s));
    EXPECT_EQ(s.m_nPlotWidth, 0);
    EXPECT_DOUBLE_EQ(s.m_dXScale, xScale);
    graph::ResetToFullRange(s, 20, 10);
    EXPECT_EQ(s.m_nPlotHeight, 0);
    EXPECT_FALSE(graph::InsidePlot(s, CPoint(46, 11)));
    int steps = 0;
    graph::AutoScaleOrScroll(s, 5000, [&] { ++steps; });
    EXPECT_EQ(steps, 0);
    EXPECT_DOUBLE_EQ(s.m_dXMax, GRAPH_X_SPAN);
}

TEST(GraphAutoScale, TheSpanGrowsByFifteenthsUntilTheLastRecordFits)
{
    SGraphState s = FreshGraph(325, 187);
    int steps = 0;
    graph::AutoScaleOrScroll(s, 21, [&] { ++steps; }); // index 20 is at X max
    EXPECT_EQ(steps, 0);

    std::vector<double> maxima;
    graph::AutoScaleOrScroll(s, 22, [&] { maxima.push_back(s.m_dXMax); });
    ASSERT_EQ(maxima.size(), 1u);
    EXPECT_NEAR(maxima[0], 20.0 * 16 / 15, 1e-9);
    EXPECT_NEAR(s.m_dXScale, 20.0 / 325 * 16 / 15, 1e-12);

    maxima.clear();
    graph::AutoScaleOrScroll(s, 1000, [&] { maxima.push_back(s.m_dXMax); });
    ASSERT_GT(maxima.size(), 1u);
    for (size_t i = 1; i < maxima.size(); ++i)
        EXPECT_NEAR(maxima[i] / maxima[i - 1], 16.0 / 15, 1e-9);
    EXPECT_GE(s.m_dXMax, 999);
    EXPECT_LT(maxima[maxima.size() - 2], 999);
    EXPECT_EQ(s.m_dXStart, 0);
}

TEST(GraphAutoScale, ANonPositiveScaleEndsTheLoop)
{
    for (double bad : { 0.0, -0.5, std::numeric_limits<double>::quiet_NaN() }) {
        SGraphState s = FreshGraph(325, 187);
        s.m_dXScale = bad;
        int steps = 0;
        graph::AutoScaleOrScroll(s, 40000, [&] { ++steps; });
        EXPECT_EQ(steps, 0) << bad;
    }
}

TEST(GraphAutoScroll, AZoomedRunningGraphScrollsOneSamplePerDraw)
{
    SGraphState s = FreshGraph(300, 100);
    s.m_dZoomed = 1.0;
    s.m_dXScale = 0.25; // 75 samples wide
    s.m_bRunning = true;
    int steps = 0;
    auto draw = [&](int count) { graph::AutoScaleOrScroll(s, count, [&] { ++steps; }); };

    draw(75); // the newest sample (74) lies left of the right edge (75)
    EXPECT_EQ(steps, 0);
    draw(76); // exactly at the edge: width × scale == (count - 1) - X start
    EXPECT_EQ(steps, 1);
    EXPECT_EQ(s.m_dXStart, 1);
    EXPECT_EQ(s.m_dXMax, 75);
    draw(200); // far beyond: still one sample per draw
    EXPECT_EQ(steps, 2);
    EXPECT_EQ(s.m_dXStart, 2);
    EXPECT_EQ(s.m_dXMax, 199);

    s.m_bDragging = true;
    draw(200);
    s.m_bDragging = false;
    s.m_bRunning = false;
    draw(200);
    EXPECT_EQ(steps, 2);
    EXPECT_EQ(s.m_dXStart, 2);
}

TEST(GraphGrid, LinesLabelsAndTicks)
{
    SGraphState s = FreshGraph(325, 187);
    EXPECT_EQ(graph::GridLineX(325, 0), 45);
    EXPECT_EQ(graph::GridLineX(325, 1), 61); // 16.25 + 45
    EXPECT_EQ(graph::GridLineX(325, 20), 370);
    EXPECT_EQ(graph::GridLineY(187, 0), 197);
    EXPECT_EQ(graph::GridLineY(187, 1), 179); // 197 - 18
    EXPECT_EQ(graph::GridLineY(187, 10), 10);
    EXPECT_EQ(graph::AxisTickY(187, 1), 28); // 18.7 + 10
    EXPECT_EQ(graph::GridLabel(s, 0), CString(L"0.00"));
    EXPECT_EQ(graph::GridLabel(s, 10), CString(L"130.00"));
    s.m_dYOffset = 40;
    s.m_dYScale = 0.1;
    EXPECT_EQ(graph::GridLabel(s, 5), CString(L"49.35")); // 93.5 × 0.1 + 40
}

} // namespace
