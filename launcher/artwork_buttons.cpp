#include "artwork.h"

#include <wx/brush.h>
#include <wx/graphics.h>
#include <wx/pen.h>

#include <memory>

namespace artwork {

wxImage ButtonPicture(const std::string& word, int width, int height)
{
    wxImage image(width, height);
    std::unique_ptr<wxGraphicsContext> gc(wxGraphicsContext::Create(image));
    gc->SetAntialiasMode(wxANTIALIAS_NONE);
    gc->SetPen(*wxTRANSPARENT_PEN);
    gc->SetBrush(gc->CreateLinearGradientBrush(0, 0, 0, height, wxColour(112, 206, 200), wxColour(0, 132, 128)));
    gc->DrawRectangle(0, 0, width, height);

    // Raised edge: light above and left, dark below and right, two pixels deep.
    const double right = width - 0.5, bottom = height - 0.5;
    auto edge = [&](const wxColour& light, const wxColour& dark, double inset) {
        gc->SetPen(wxPen(light, 1));
        gc->StrokeLine(inset, bottom - inset, inset, inset);
        gc->StrokeLine(inset, inset, right - inset, inset);
        gc->SetPen(wxPen(dark, 1));
        gc->StrokeLine(inset, bottom - inset, right - inset, bottom - inset);
        gc->StrokeLine(right - inset, bottom - inset, right - inset, inset);
    };
    edge(wxColour(235, 252, 250), wxColour(0, 52, 52), 0.5);
    edge(wxColour(168, 232, 226), wxColour(0, 92, 90), 1.5);

    gc->SetAntialiasMode(wxANTIALIAS_DEFAULT);
    gc->SetFont(wxFont(wxFontInfo(10).Family(wxFONTFAMILY_SWISS).Bold()), *wxBLACK);
    const wxString text = wxString::FromUTF8(word);
    double textWidth = 0, textHeight = 0;
    gc->GetTextExtent(text, &textWidth, &textHeight);
    gc->DrawText(text, (width - textWidth) / 2, (height - textHeight) / 2);
    gc.reset();

    if (image.HasAlpha())
        image.ClearAlpha();
    return image;
}

}  // namespace artwork
