// The state of a level-against-sample graph: what it shows (scales, ranges,
// plot size, the sample at its left edge and the level at its bottom) and what
// the mouse has done to it (cursors, the drag). The graph control derives from
// it, so its owners read and write these fields by name.
#pragma once

#include <afx/afxcore.h>
#include <afx/geometry.h>

// The plot inside the control: 45 px margins left and right, 10 above, 20 below.
constexpr int PLOT_LEFT = 45;
constexpr int PLOT_TOP = 10;
constexpr int PLOT_MARGIN_WIDTH = 90;   // the plot is this much narrower than the control
constexpr int PLOT_MARGIN_HEIGHT = 30;  // and this much lower

constexpr double GRAPH_X_SPAN = 20;   // samples a fresh graph spans
constexpr double GRAPH_Y_MAX = 130;   // dB at the top of the full Y range
constexpr int ZOOM_MIN_DRAG = 5;      // a drag must exceed this many pixels both ways
constexpr double ZOOM_MIN_SCALE = 0.005; // an axis zooms only while its scale exceeds this
constexpr int SCALE_FACTOR = 10000;   // WM_GRAPH_SCALE carries scale and offset times this

// What a press of the left button in the plot does next.
enum GraphMode {
    GRAPH_MODE_NONE = 0,     // a drag zooms
    GRAPH_MODE_CURSOR_B = 1, // the next click places cursor B
    GRAPH_MODE_CURSOR_A = 2, // the next click places cursor A
};

struct SGraphState {
    double m_dXScale = 0;            // samples per pixel
    double m_dYScale = 0;            // dB per pixel
    double m_dXMax = GRAPH_X_SPAN;   // upper end of the X range that a layout restores
    double m_dYMax = GRAPH_Y_MAX;
    double m_dXMin = 0;
    double m_dYMin = 0;
    int m_nPlotWidth = 0;            // pixels
    int m_nPlotHeight = 0;
    double m_dXStart = 0;            // sample position at the plot's left edge
    double m_dYOffset = 0;           // level at the plot's bottom edge
    int m_nMode = GRAPH_MODE_NONE;
    int m_nCursorA = -1;             // sample index, -1 none
    int m_nCursorB = -1;
    bool m_bBand = false;            // the drag rectangle is drawn
    bool m_bDragging = false;        // the left button went down in the plot and is still down
    bool m_bScaleSent = false;       // the first draw has sent its WM_GRAPH_SCALE
    CPoint m_ptDragStart;
    CPoint m_ptDragEnd;
    CPoint m_ptCursorLine;           // where the cursor being placed is shown; (0,0) none
    double m_dZoomed = 0.0;          // 1.0 after a zoom: the drawing scrolls instead of widening
    bool m_bRunning = false;         // a real-time recording runs
};
