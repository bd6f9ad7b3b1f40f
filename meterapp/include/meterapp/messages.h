// Window messages shared by the view, the graph controls, the meter keys, the
// main frame and the logged-data window. All are sent, never posted.
#pragma once

#include <afx/afxwin.h>

#define WM_GRAPH_SCALE (WM_USER + 1)
#define WM_GRAPH_CURSOR (WM_USER + 2)
#define WM_GRAPH_HOVER (WM_USER + 3)
#define WM_PORT_CHANGED (WM_USER + 4)
#define WM_METER_KEY (WM_USER + 5)
#define WM_LOG_DONE (WM_USER + 6)

// Inside the view only: the receive callback asks for a face redraw.
#define WM_METER_FACE (WM_USER + 7)
// Inside the view only: a download's progress (wParam the bytes announced,
// lParam the bytes received), and a download that cannot be a reply.
#define WM_LOG_PROGRESS (WM_USER + 8)
#define WM_LOG_FAILED (WM_USER + 9)
