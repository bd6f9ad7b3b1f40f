// Window messages shared by the view, the graph controls, the meter keys, the
// main frame and the logged-data window. All are sent, never posted, but for
// what the reader thread hands the view: it posts, and never waits for the
// window.
#pragma once

#include <afx/afxwin.h>

#define WM_GRAPH_SCALE (WM_USER + 1)
#define WM_GRAPH_CURSOR (WM_USER + 2)
#define WM_GRAPH_HOVER (WM_USER + 3)
#define WM_PORT_CHANGED (WM_USER + 4)
#define WM_METER_KEY (WM_USER + 5)
#define WM_LOG_DONE (WM_USER + 6)

// Inside the view only, posted by the reader thread (WM_LOG_DONE too): a face
// redraw, a download's progress (the handler reads it from the view's state),
// a download that cannot be a reply, and the meter holding during a recording.
#define WM_METER_FACE (WM_USER + 7)
#define WM_LOG_PROGRESS (WM_USER + 8)
#define WM_LOG_FAILED (WM_USER + 9)
#define WM_METER_HOLD (WM_USER + 10)
