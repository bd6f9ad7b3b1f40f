// Where samples and levels lie in the control, the layout of the plot, and
// the widening or scrolling of the X axis as records come in. Pure functions
// of the graph state; every truncation is toward zero as the comments say,
// and every conversion to int first clamps to the int range (a NaN gives 0),
// so deep zooms cannot overflow.
#pragma once

#include "graph/graph_state.h"

#include <functional>

namespace graph {

// trunc(value), clamped into [INT_MIN, INT_MAX]; NaN gives 0.
int TruncToInt(double value);

// Strictly inside the plot: 45 < x < 45 + width and 10 < y < 10 + height.
bool InsidePlot(const SGraphState& s, CPoint point);

// The sample index at `offset` pixels right of the plot's left edge:
// trunc(X scale × (offset + (X start - X min) / X scale + 1 / (2 × X scale))).
int IndexAtOffset(const SGraphState& s, double offset);
// The sample index under the control's x (offset x - 45).
int IndexUnderX(const SGraphState& s, int x);

// x of sample i: trunc(45 + i / X scale - (X start - X min) / X scale).
int SampleX(const SGraphState& s, int i);
// y of a level: trunc(10 + (Y offset - Y min) / Y scale - (v - Y min) / Y scale + height).
int LevelY(const SGraphState& s, double level);
// x of a cursor line: 45 + trunc(c / X scale - (X start - X min) / X scale).
int CursorX(const SGraphState& s, int cursor);

// The samples a draw visits: i from first while i < end - 1 (each i draws the
// segment to i + 1). end = trunc(width × X scale + X start + 2), lowered to
// count; first = trunc(X start), raised to 0.
struct SVisibleSamples {
    int first;
    int end;
};
SVisibleSamples VisibleSamples(const SGraphState& s, int count);

// Point markers are drawn when consecutive samples lie more than 3 px apart:
// 2 / X scale > 6.
bool ShowPointMarkers(double xScale);

// A plot of no size: the control is 90 px wide or less, or 30 px high or less.
// Such a graph shows only its margin colour, places nothing and never widens.
bool PlotIsEmpty(const SGraphState& s);

// The owners' set-up before the first draw, from the control's client size:
// plot = size - (90, 30) (not below 0), X 0..20, Y 0..130, scales = range /
// plot size (left as they were for an empty plot), X start 0, Y offset 0,
// not running.
void SetUpView(SGraphState& s, int clientWidth, int clientHeight);

// The layout's reset to the full ranges from the control's window size:
// plot = size - (90, 30) (not below 0), X min 0, Y 0..130 (X max stays),
// scales = range / plot size (left as they were for an empty plot), X start 0,
// Y offset = Y min, not zoomed. Cursors and mode stay.
void ResetToFullRange(SGraphState& s, int windowWidth, int windowHeight);

// What a draw does to the X axis before it draws, for `count` records.
// Zoomed: while the newest sample is at or beyond the right edge
// (width × X scale <= (count - 1) - X start), a running recording that is not
// being dragged scrolls one sample: X start + 1, X max = count - 1.
// Not zoomed: while count - 1 > X max the visible span grows by 1/15:
// X scale = (width × X scale / 15 + width × X scale) / width, X max =
// width × X scale; the loop ends early if the X scale is not positive and
// finite. `step` runs after each change (the control sends WM_GRAPH_SCALE).
void AutoScaleOrScroll(SGraphState& s, int count, const std::function<void()>& step);

} // namespace graph
