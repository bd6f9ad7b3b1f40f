#include "decibar_resources_internal.h"

#include <art/art.h>

// Decoded for each look-up and handed over: the framework keeps its bitmaps of
// them, so the program keeps no second copy. Icons carry their transparency;
// bitmaps are opaque.
bool FindDecibarImage(AfxImageKind kind, UINT id, AfxImage* out)
{
    const bool icon = kind == AfxImageKind::Icon;
    art::Image image = art::Load(icon ? art::Kind::Icon : art::Kind::Bitmap, id);
    if (image.pixels.empty())
        return false;
    *out = AfxImage{ image.width, image.height, std::move(image.pixels), icon };
    return true;
}
