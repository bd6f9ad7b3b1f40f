#include "decibar_resources_internal.h"

#include <art/art.h>

bool FindDecibarImage(AfxImageKind kind, UINT id, AfxImage* out)
{
    const art::Image* image = art::Find(kind == AfxImageKind::Icon ? art::Kind::Icon : art::Kind::Bitmap, id);
    if (!image || image->pixels.empty())
        return false;
    out->width = image->width;
    out->height = image->height;
    // The pictures stay alive for the run. Their top byte is alpha where the
    // framework expects 0; it reads only the low 24 bits.
    out->pixels = image->pixels.data();
    return true;
}
