// The project's mark: a level meter of five rising bars in a rounded badge.
#pragma once

#include <wx/colour.h>
#include <wx/geometry.h>

class wxGraphicsContext;

namespace artwork {

// Draws the mark filling `box`: the badge in `badge`, the bars in `bars`.
void DrawMark(wxGraphicsContext& gc, const wxRect2DDouble& box, const wxColour& badge, const wxColour& bars);

}  // namespace artwork
