#include "meterdata/view_layout.h"

#include <gtest/gtest.h>

namespace {

int Right(const SPlacement& p) { return p.x + p.width; }
int Bottom(const SPlacement& p) { return p.y + p.height; }

// The "Cursor" group's left and bottom edges: any values do, these are near
// where form 101 puts it on a 96-dpi screen.
constexpr int kLeft = 219;
constexpr int kBottom = 240;

TEST(GraphPanelLayout, FillsA1024By768ClientArea)
{
    SGraphPanelLayout l = LayOutGraphPanel(1024, 768, kLeft, kBottom);
    EXPECT_EQ(l.graph.x, kLeft);
    EXPECT_EQ(Right(l.graph), 982);
    EXPECT_EQ(l.graph.y, kBottom + 5);
    EXPECT_EQ(Bottom(l.graph), 713);
    EXPECT_EQ(l.vScroll.x, 982);
    EXPECT_EQ(Right(l.vScroll), 997);
    EXPECT_EQ(l.vScroll.y, kBottom + 5);
    EXPECT_EQ(Bottom(l.vScroll), 713);
    EXPECT_EQ(l.hScroll.x, kLeft);
    EXPECT_EQ(Right(l.hScroll), 982);
    EXPECT_EQ(l.hScroll.y, 733);
    EXPECT_EQ(Bottom(l.hScroll), 748);
    EXPECT_EQ(l.graphGroup.x, kLeft - 10);
    EXPECT_EQ(l.graphGroup.y, 10);
    EXPECT_EQ(Right(l.graphGroup), 1014);
    EXPECT_EQ(Bottom(l.graphGroup), 758);
}

TEST(GraphPanelLayout, SmallClientAreasAreLaidOutAs800By550)
{
    SGraphPanelLayout floor = LayOutGraphPanel(800, 550, kLeft, kBottom);
    for (auto size : { std::pair { 640, 480 }, { 799, 549 }, { 0, 0 }, { -5, -5 } }) {
        SGraphPanelLayout l = LayOutGraphPanel(size.first, size.second, kLeft, kBottom);
        EXPECT_EQ(Right(l.graph), Right(floor.graph)) << size.first;
        EXPECT_EQ(Bottom(l.graph), Bottom(floor.graph)) << size.second;
        EXPECT_EQ(l.vScroll.x, 758);
        EXPECT_EQ(l.hScroll.y, 515);
        EXPECT_EQ(Right(l.graphGroup), 790);
        EXPECT_EQ(Bottom(l.graphGroup), 540);
    }
    // Only the dimension that is too small is raised.
    SGraphPanelLayout wide = LayOutGraphPanel(1200, 300, kLeft, kBottom);
    EXPECT_EQ(wide.vScroll.x, 1158);
    EXPECT_EQ(wide.hScroll.y, 515);
}

} // namespace
