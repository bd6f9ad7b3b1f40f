// A one-line text label shows its whole text. Windows draws a static's text
// in its parent's clipping area, so a word wider than the control's rectangle
// still shows whole; a GTK label clips it to its allocation, or breaks it
// onto a second line that a one-line rectangle hides ("MAX" showed "MA"). The
// label therefore grows to its text, away from the side it is aligned to.
#include "internal.h"

namespace afxwin {

void FitLabelToText(wxWindow* window)
{
    auto* label = dynamic_cast<wxStaticText*>(window);
    if (!label)
        return;
    const wxString text = label->GetLabelText();
    if (text.empty() || text.Find('\n') != wxNOT_FOUND)
        return;
    wxCoord width = 0, height = 0;
    label->GetTextExtent(text, &width, &height);
    wxRect r = label->GetRect();
    // A rectangle tall enough for a second line wraps the text there, as on Windows.
    if (width <= r.width || height <= 0 || r.height >= 2 * height)
        return;
    const int growth = width - r.width;
    if (label->HasFlag(wxALIGN_RIGHT))
        r.x -= growth;
    else if (label->HasFlag(wxALIGN_CENTRE_HORIZONTAL))
        r.x -= growth / 2;
    r.width = width;
    label->SetSize(r);
}

}  // namespace afxwin
