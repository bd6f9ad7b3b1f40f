#include "artwork.h"

#include "mark.h"

#include <wx/brush.h>
#include <wx/graphics.h>
#include <wx/pen.h>

#include <memory>

namespace artwork {

namespace {

wxImage IconImage(int size)
{
    wxImage image(size, size);
    image.InitAlpha();
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            image.SetAlpha(x, y, 0);
    std::unique_ptr<wxGraphicsContext> gc(wxGraphicsContext::Create(image));
    DrawMark(*gc, wxRect2DDouble(0, 0, size, size), wxColour(0, 110, 112), *wxWHITE);
    gc.reset();
    return image;
}

}  // namespace

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
