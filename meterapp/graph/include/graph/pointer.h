// What the mouse does to a graph: placing cursors A and B (a double click,
// then a click for A and a click right of it for B), dragging a rectangle
// and zooming into it, the read-outs a move reports, and the statistics
// between the cursors. Pure functions of the graph state; the control calls
// them, sends the notifications they return and redraws.
#pragma once

#include "graph/graph_state.h"

#include <afx/afxcore.h>

namespace graph {

// A WM_GRAPH_CURSOR or WM_GRAPH_HOVER to send: wParam and the sample index.
struct SGraphNotice {
    bool send = false;
    int wParam = 0;
    int index = 0;
};
constexpr int kNoticeCursorA = -1;
constexpr int kNoticeCursorB = -2;
constexpr int kNoticeHover = -2;

// Double click: inside the plot, clears both cursors and the placing line and
// waits for cursor A. Returns whether anything changed.
bool DoubleClick(SGraphState& s, CPoint point);

// Left button down: inside the plot, starts a drag at the point and, in the
// cursor modes, places cursor A (any index 0 <= i < count) or cursor B
// (A < i < count). Returns the cursor notice to send.
SGraphNotice Press(SGraphState& s, CPoint point, int count);

// Which cursor notice a move over `point` gives while a cursor is being
// placed (the same conditions as Press, without placing anything).
SGraphNotice PlacingNotice(const SGraphState& s, CPoint point, int count);

// The hover notice of a move: inside the plot over a sample with 0 < i < count.
SGraphNotice HoverNotice(const SGraphState& s, CPoint point, int count);

// Right button up: back to no mode, both cursors and the placing line cleared.
void ClearCursors(SGraphState& s);

// Left button up at `point`: zooms into the dragged rectangle when the button
// went down in the plot, the drag exceeds 5 px both ways and no cursor is
// being placed. An axis zooms only while its scale exceeds 0.005; the release
// point is clamped to the plot first. A right-to-left drag starts half a
// sample further right. Then the drag ends in every case. Returns true when
// it zoomed (also when neither axis could): WM_GRAPH_SCALE is then due.
bool Release(SGraphState& s, CPoint point);

// Statistics of the records from cursor a to cursor b inclusive. Maximum and
// minimum take strictly greater and smaller values only, starting from
// maxStart and minStart, so the earliest of equal values wins and a start
// value never beaten leaves that side unset.
struct SBetweenStats {
    bool hasMax = false;
    double max = 0;
    int maxIndex = -1;
    bool hasMin = false;
    double min = 0;
    int minIndex = -1;
    double sum = 0;
    int count = 0;  // b - a + 1
    double average = 0;
};
// Indices outside the array, or b below a, give count 0 and nothing set.
SBetweenStats StatsBetween(const CObArray& records, int a, int b, double maxStart, double minStart);

} // namespace graph
