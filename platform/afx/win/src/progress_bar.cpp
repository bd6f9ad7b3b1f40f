// The window of a progress bar: the toolkit draws its bar across the whole
// rectangle the window has, as a Windows progress bar fills its own. GTK's
// own progress widget keeps the thin bar of its theme whatever its height.
#include <wx/dcclient.h>
#include <wx/renderer.h>

#include <algorithm>

#include "internal.h"

namespace afxwin {

AfxProgressBar::AfxProgressBar(wxWindow* parent, const wxRect& r)
    : wxWindow(parent, wxID_ANY, r.GetPosition(), r.GetSize(), wxBORDER_NONE | wxFULL_REPAINT_ON_RESIZE)
{
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, [this](wxPaintEvent&) {
        wxPaintDC dc(this);
        // The control's background shows where the bar's corners are rounded.
        dc.SetBackground(wxBrush(GetBackgroundColour()));
        dc.Clear();
        wxRendererNative::Get().DrawGauge(this, dc, GetClientRect(), m_value, m_range);
    });
}

void AfxProgressBar::SetProgress(int range, int value)
{
    range = std::max(1, range);
    value = std::max(0, std::min(value, range));
    if (range == m_range && value == m_value)
        return;
    m_range = range;
    m_value = value;
    Refresh();
}

}  // namespace afxwin
