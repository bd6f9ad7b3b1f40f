#include "mark.h"

#include <wx/brush.h>
#include <wx/graphics.h>

#include <algorithm>
#include <wx/pen.h>

namespace artwork {

void DrawMark(wxGraphicsContext& gc, const wxRect2DDouble& box, const wxColour& badge, const wxColour& bars)
{
    const double size = std::min(box.m_width, box.m_height);
    gc.SetPen(*wxTRANSPARENT_PEN);
    gc.SetBrush(wxBrush(badge));
    gc.DrawRoundedRectangle(box.m_x, box.m_y, size, size, size * 0.2);

    // Five bars rising left to right, like the meter's level bar.
    const double margin = size * 0.16;
    const double slot = (size - 2 * margin) / 5;
    const double floor = box.m_y + size - margin;
    gc.SetBrush(wxBrush(bars));
    for (int i = 0; i < 5; ++i) {
        const double height = (size - 2 * margin) * (0.28 + 0.18 * i);
        gc.DrawRectangle(box.m_x + margin + i * slot + slot * 0.14, floor - height, slot * 0.72, height);
    }
}

}  // namespace artwork
