// What the main view and the logged-data window do alike around the graph
// they show: axis labels and scroll bars that follow its scales, panning by
// the scroll bars, and the read-outs of the two cursors.
#pragma once

#include "meterapp/graphics_btn.h"

#include <afx/afxwin.h>

// The panel's colours: the form, the two cursors (their lines and their labels)
// and the rate list.
const COLORREF kFormColour = RGB(170, 175, 195);
const COLORREF kCursorAColour = RGB(110, 30, 200);
const COLORREF kCursorBColour = RGB(0, 255, 0);
const COLORREF kRateListColour = RGB(100, 100, 100);

struct SGraphPanel {
    CWnd& window;          // holds the label, read-out and scroll-bar controls
    CGraphicsBtn& graph;
    CScrollBar& vScroll;
    CScrollBar& hScroll;
    CObArray* records;     // the records the graph shows; may be null
};

// The graph's scale notice: the Y-axis labels (only for a non-negative
// offset) and the scroll bars' ranges and positions.
void ShowGraphScale(const SGraphPanel& panel, WPARAM wParam, LPARAM lParam);

// A scroll message of the panel's own vertical or horizontal bar: moves the
// bar, pans the graph and redraws it.
void PanGraphVertically(const SGraphPanel& panel, UINT code);
void PanGraphHorizontally(const SGraphPanel& panel, UINT code);

// A cursor notice (which: -1 cursor A, -2 cursor B) for the record at index.
// Cursor A is remembered in *cursorA; a notice for a record the array does not
// hold, or a cursor B before cursor A, changes no read-out.
void ShowGraphCursor(const SGraphPanel& panel, int which, int index, int* cursorA);

// The colours a panel control with this id is drawn in (WM_CTLCOLOR): the
// form's background, the cursor labels' text, the rate list's background.
void ColourPanelControl(CDC* dc, int id);

// The record at index, or null when the array is missing or does not hold it.
const CObjData* PanelRecord(const CObArray* records, INT_PTR index);
