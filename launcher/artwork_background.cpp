#include "artwork.h"

#include "mark.h"

#include <wx/brush.h>
#include <wx/graphics.h>
#include <wx/pen.h>

#include <algorithm>
#include <memory>

namespace artwork {

namespace {

const wxColour kTop(0, 58, 66);
const wxColour kPale(214, 240, 236);
const wxColour kBottom(236, 248, 246);

unsigned char Mix(unsigned char a, unsigned char b, double t)
{
    return static_cast<unsigned char>(a + (b - a) * t + 0.5);
}

wxColour Blend(const wxColour& a, const wxColour& b, double t)
{
    return wxColour(Mix(a.Red(), b.Red(), t), Mix(a.Green(), b.Green(), t), Mix(a.Blue(), b.Blue(), t));
}

// Dark to pale over the part the window shows, then paler still.
wxColour GradientAt(int y)
{
    const int shownHeight = 326;
    if (y < shownHeight - 40) {
        const double t = static_cast<double>(y) / (shownHeight - 40);
        return Blend(kTop, kPale, t * t * (3 - 2 * t));
    }
    return Blend(kPale, kBottom, std::min(1.0, (y - (shownHeight - 40)) / 170.0));
}

}  // namespace

wxImage Background()
{
    const int width = 555, height = 456;
    wxImage image(width, height);
    for (int y = 0; y < height; ++y) {
        const wxColour c = GradientAt(y);
        for (int x = 0; x < width; ++x)
            image.SetRGB(x, y, c.Red(), c.Green(), c.Blue());
    }

    std::unique_ptr<wxGraphicsContext> gc(wxGraphicsContext::Create(image));
    DrawMark(*gc, wxRect2DDouble(58, 56, 76, 76), wxColour(0, 40, 46), wxColour(120, 230, 215));
    gc->SetFont(wxFont(wxFontInfo(32).Family(wxFONTFAMILY_SWISS).Bold()), *wxWHITE);
    gc->DrawText("Decibar", 152, 52);
    gc->SetFont(wxFont(wxFontInfo(10).Family(wxFONTFAMILY_SWISS)), wxColour(200, 240, 236));
    gc->DrawText("Kelvra KV415 sound level meter", 155, 106);
    gc->SetPen(wxPen(wxColour(255, 255, 255, 90), 1));
    gc->StrokeLine(58, 150, 372, 150);
    gc.reset();

    if (image.HasAlpha())
        image.ClearAlpha();
    return image;
}

}  // namespace artwork
