#include "artwork.h"

#include "mark.h"

#include <wx/brush.h>
#include <wx/graphics.h>
#include <wx/pen.h>

#include <algorithm>
#include <memory>

namespace artwork {

namespace {

wxImage IconImage(int size)
{
    wxImage image = TransparentSquare(size);
    std::unique_ptr<wxGraphicsContext> gc(wxGraphicsContext::Create(image));
    DrawMark(*gc, wxRect2DDouble(0, 0, size, size), wxColour(0, 110, 112), *wxWHITE);
    gc.reset();
    return image;
}

}  // namespace

wxImage TransparentSquare(int size)
{
    wxImage image(size, size);
    image.InitAlpha();
    std::fill_n(image.GetAlpha(), size * size, 0);
    return image;
}

wxIconBundle WindowIcon()
{
    wxIconBundle icons;
    for (int size : {48, 32, 16}) {
        wxIcon icon;
        icon.CopyFromBitmap(wxBitmap(IconImage(size)));
        icons.AddIcon(icon);
    }
    return icons;
}

}  // namespace artwork
