#include "mouse_clicks.h"

#include <wx/settings.h>
#include <wx/window.h>

#include <cstdlib>

namespace afxwin {

namespace {

// The last left press of the user-interface thread (mouse events come only there).
struct LastPress {
    bool valid = false;
    const wxWindow* window = nullptr;
    long time = 0;
    wxPoint at;
    bool wasDoubleClick = false;
};
LastPress g_last;

bool SecondPressOfADoubleClick(wxWindow* window, const wxMouseEvent& event)
{
    if (!g_last.valid || g_last.window != window || g_last.wasDoubleClick)
        return false;
    int limitMs = wxSystemSettings::GetMetric(wxSYS_DCLICK_MSEC, window);
    if (limitMs <= 0)
        limitMs = 500;
    // The metrics are the width and height of the rectangle around the first press.
    int dx = wxSystemSettings::GetMetric(wxSYS_DCLICK_X, window) / 2;
    int dy = wxSystemSettings::GetMetric(wxSYS_DCLICK_Y, window) / 2;
    if (dx <= 0)
        dx = 2;
    if (dy <= 0)
        dy = 2;
    const long elapsed = event.GetTimestamp() - g_last.time;
    return elapsed >= 0 && elapsed <= limitMs && std::abs(event.GetX() - g_last.at.x) <= dx
        && std::abs(event.GetY() - g_last.at.y) <= dy;
}

}  // namespace

UINT LeftPressMessage(wxWindow* window, const wxMouseEvent& event)
{
    const bool second = SecondPressOfADoubleClick(window, event);
    g_last = {true, window, event.GetTimestamp(), event.GetPosition(), second};
    return second ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN;
}

UINT LeftDoubleClickMessage(wxWindow* window, const wxMouseEvent& event)
{
    // The press this double click belongs to has come already: it was
    // reported then, as a double click or as a press of its own.
    if (g_last.valid && g_last.window == window && g_last.time == event.GetTimestamp())
        return 0;
    g_last = {true, window, event.GetTimestamp(), event.GetPosition(), true};
    return WM_LBUTTONDBLCLK;
}

void OtherButtonPressed()
{
    g_last.valid = false;
}

}  // namespace afxwin
