#include "artwork.h"

#include <wx/brush.h>
#include <wx/graphics.h>
#include <wx/pen.h>

#include <memory>

namespace artwork {

namespace {

// The hand's parts; drawn once widened in black for the outline, then filled,
// so the outline follows the outside of the whole hand.
void HandParts(wxGraphicsContext& gc)
{
    gc.DrawRoundedRectangle(10, 1, 5, 16, 2);     // index finger, tip at (12, 1)
    gc.DrawRoundedRectangle(14, 9, 5, 9, 2);      // middle finger, folded
    gc.DrawRoundedRectangle(18, 10, 5, 9, 2);     // ring finger
    gc.DrawRoundedRectangle(22, 12, 4, 8, 2);     // little finger
    gc.DrawRectangle(9, 15, 17, 10);              // palm
    wxGraphicsPath thumb = gc.CreatePath();
    thumb.MoveToPoint(3, 14);
    thumb.AddLineToPoint(6, 12);
    thumb.AddLineToPoint(11, 17);
    thumb.AddLineToPoint(10, 22);
    thumb.CloseSubpath();
    gc.FillPath(thumb);
    gc.StrokePath(thumb);
}

}  // namespace

wxImage HandPointer()
{
    const int size = 32;
    wxImage image = TransparentSquare(size);

    std::unique_ptr<wxGraphicsContext> gc(wxGraphicsContext::Create(image));
    gc->SetAntialiasMode(wxANTIALIAS_NONE);
    gc->SetPen(wxPen(*wxBLACK, 2));
    gc->SetBrush(*wxBLACK_BRUSH);
    HandParts(*gc);
    gc->SetPen(*wxTRANSPARENT_PEN);
    gc->SetBrush(*wxWHITE_BRUSH);
    HandParts(*gc);

    gc->SetPen(wxPen(*wxBLACK, 1));
    gc->StrokeLine(14.5, 12, 14.5, 16);  // the folded fingers' seams
    gc->StrokeLine(18.5, 13, 18.5, 17);
    gc->StrokeLine(22.5, 14, 22.5, 18);

    gc->SetBrush(wxBrush(wxColour(30, 80, 220)));  // the cuff
    gc->DrawRectangle(9, 25, 17, 6);
    gc.reset();

    image.SetOption(wxIMAGE_OPTION_CUR_HOTSPOT_X, 12);
    image.SetOption(wxIMAGE_OPTION_CUR_HOTSPOT_Y, 1);
    return image;
}

}  // namespace artwork
