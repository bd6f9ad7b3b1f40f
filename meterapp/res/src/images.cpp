#include "decibar_resources_internal.h"

#include <art/art.h>

bool FindDecibarImage(AfxImageKind kind, UINT id, AfxImage* out)
{
    const art::Image* image = art::Find(kind == AfxImageKind::Icon ? art::Kind::Icon : art::Kind::Bitmap, id);
    if (!image || image->pixels.empty())
        return false;
    out->width = image->width;
    out->height = image->height;
    out->pixels = image->pixels.data();
    return true;
}
