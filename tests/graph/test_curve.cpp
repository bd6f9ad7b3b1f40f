#include "graph/curve.h"

#include "graph_records.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <utility>
#include <vector>

namespace {

using graphtest::FreshGraph;
using graphtest::Records;

std::vector<POINT> AllPoints(const SGraphState& s, const CObArray& records, graph::SVisibleSamples range)
{
    std::vector<POINT> points;
    for (int i = range.first; i < range.end; ++i)
        points.push_back({ graph::SampleX(s, i), graph::LevelY(s, RecordAt(records, i)->m_dValue) });
    return points;
}

// What a 1-px line through the points covers: each column's span of y from
// its own points, and the segments that cross from one column to another.
struct SCoverage {
    std::map<LONG, std::pair<LONG, LONG>> columns;
    std::vector<std::pair<std::pair<LONG, LONG>, std::pair<LONG, LONG>>> crossings;
    bool operator==(const SCoverage& o) const { return columns == o.columns && crossings == o.crossings; }
};

SCoverage Cover(const std::vector<POINT>& points)
{
    SCoverage c;
    for (size_t i = 0; i < points.size(); ++i) {
        const POINT p = points[i];
        auto it = c.columns.find(p.x);
        if (it == c.columns.end())
            c.columns[p.x] = { p.y, p.y };
        else
            it->second = { std::min(it->second.first, p.y), std::max(it->second.second, p.y) };
        if (i > 0 && points[i - 1].x != p.x)
            c.crossings.push_back({ { points[i - 1].x, points[i - 1].y }, { p.x, p.y } });
    }
    return c;
}

TEST(GraphCurve, AManySamplesPerColumnLineCoversWhatTheFullLineCovers)
{
    std::mt19937 random(415);
    std::uniform_real_distribution<double> level(20.0, 110.0);
    Records records;
    for (int i = 0; i < 5000; ++i)
        records.Add(level(random));
    for (double samplesPerPixel : { 0.02, 0.7, 1.0, 3.3, 9.0, 57.0 }) {
        SCOPED_TRACE(samplesPerPixel);
        SGraphState s = FreshGraph(300, 200);
        s.m_dXScale = samplesPerPixel;
        s.m_dXStart = 37.4;
        const graph::SVisibleSamples range = graph::VisibleSamples(s, records.Count());
        std::vector<POINT> reduced;
        graph::CurvePoints(s, records.Array(), range, &reduced);
        const std::vector<POINT> all = AllPoints(s, records.Array(), range);
        EXPECT_TRUE(Cover(reduced) == Cover(all));
        EXPECT_LE(reduced.size(), 4 * Cover(all).columns.size());
        if (samplesPerPixel < 1.0 / 3) {
            EXPECT_EQ(reduced.size(), all.size()); // markers need every sample's point
        }
    }
}

TEST(GraphCurve, KeepsTheOrderOfAColumnsExtremes)
{
    Records records;
    records.AddValues({ 50, 90, 10, 60, 70, 20, 100, 55 });
    SGraphState s = FreshGraph(300, 130); // 1 dB per pixel
    s.m_dXScale = 4;                      // samples 0..3 on x 45, 4..7 on x 46
    std::vector<POINT> points;
    graph::CurvePoints(s, records.Array(), graph::VisibleSamples(s, records.Count()), &points);
    const std::vector<std::pair<LONG, LONG>> expected
        = { { 45, 90 }, { 45, 50 }, { 45, 130 }, { 45, 80 }, { 46, 70 }, { 46, 120 }, { 46, 40 }, { 46, 85 } };
    ASSERT_EQ(points.size(), expected.size());
    for (size_t i = 0; i < points.size(); ++i) {
        EXPECT_EQ(points[i].x, expected[i].first) << i;
        EXPECT_EQ(points[i].y, expected[i].second) << i;
    }
}

TEST(GraphCurve, FewerThanTwoSamplesDrawNothingAndOneColumnStillDrawsItsPoint)
{
    Records records;
    records.AddValues({ 50, 50, 50 });
    SGraphState s = FreshGraph(300, 130);
    std::vector<POINT> points;
    graph::CurvePoints(s, records.Array(), { 0, 1 }, &points);
    EXPECT_TRUE(points.empty());
    s.m_dXScale = 10; // all three on one pixel
    graph::CurvePoints(s, records.Array(), { 0, 3 }, &points);
    ASSERT_EQ(points.size(), 2u);
    EXPECT_EQ(points[0].x, points[1].x);
    EXPECT_EQ(points[0].y, points[1].y);
}

} // namespace
