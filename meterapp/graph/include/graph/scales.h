// The graph's scales as its owner follows them: the WM_GRAPH_SCALE parameters
// and what their receiver makes of them (axis labels, scroll bars), and
// panning with the scroll bars.
#pragma once

#include "graph/graph_state.h"

#include <afx/afxcore.h>

namespace graph {

// trunc(value × SCALE_FACTOR), clamped into the int range.
int ScaleMessageValue(double value);

// The eleven axis labels of a WM_GRAPH_SCALE receiver, for a control
// `controlHeight` pixels high: label k = (height - 15) × k / 10 × scale +
// offset (floating), "%.2f". scaleParam is read unsigned and offsetParam
// signed, each divided by SCALE_FACTOR. With a negative offset there are no
// labels (false).
constexpr int kAxisLabels = 11;
constexpr int LABEL_HEIGHT_MARGIN = 15;
bool AxisLabels(unsigned int scaleParam, int offsetParam, int controlHeight, CString labels[kAxisLabels]);

// The scroll bars of the graph's owner, from the graph's fields.
// Vertical: v = trunc(plot height × Y scale), range 0 .. trunc(Y max - v),
// position trunc(Y max - v - Y offset) (0 shows the top of the Y range).
// Horizontal: h = trunc(plot width × X scale), range 0 .. trunc(X max - h),
// position trunc(X start).
struct SScrollBars {
    int vMax, vPos;
    int hMax, hPos;
};
SScrollBars ScrollBarsFor(const SGraphState& s);

// One scroll message's new position: code SB_LINEUP (0) moves one step back
// while pos > 0, SB_LINEDOWN (1) one step on while pos < bound (compared in
// floating point), SB_THUMBPOSITION (4) goes to `thumb`. Any other code does
// not pan: false.
bool PanPosition(UINT code, int pos, double bound, int thumb, int* newPos);

// Vertical panning: the bound (Y max - v) and the Y offset a position shows,
// (Y max - v) - pos. Horizontal: the bound X max - h; X start is the position.
double VerticalPanBound(const SGraphState& s);
double YOffsetForPosition(const SGraphState& s, int pos);
double HorizontalPanBound(const SGraphState& s);

} // namespace graph
