// The grid of the plot: 21 vertical dotted lines, 11 horizontal ones with
// their level labels, and the Y axis's 11 ticks.
#pragma once

#include "graph/graph_state.h"

namespace graph {

constexpr int kVerticalGridLines = 21;
constexpr int kHorizontalGridLines = 11;

// Vertical line i (0..20): x = trunc(width × i / 20 + 45), floating.
int GridLineX(int plotWidth, int i);
// Horizontal line j (0..10, 0 at the bottom): y = (height + 10) - (j × height) / 10, integers.
int GridLineY(int plotHeight, int j);
// The level at horizontal line j: j × height / 10 × Y scale + Y offset (floating), "%.2f".
CString GridLabel(const SGraphState& s, int j);
// Y-axis tick k (10 down to 0): y = trunc(height × k / 10 + 10), floating.
int AxisTickY(int plotHeight, int k);

} // namespace graph
