#include "decibar_resources_internal.h"

#include <art/art.h>

// The pictures keep their pixels for the run, as the framework needs. Icons
// carry their transparency; bitmaps are opaque.
bool FindDecibarImage(AfxImageKind kind, UINT id, AfxImage* out)
{
    const bool icon = kind == AfxImageKind::Icon;
    const art::Image* image = art::Find(icon ? art::Kind::Icon : art::Kind::Bitmap, id);
    if (!image || image->pixels.empty())
        return false;
    *out = AfxImage{ image->width, image->height, image->pixels.data(), icon };
    return true;
}
