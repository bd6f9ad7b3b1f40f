#include "decibar_resources_internal.h"

#include <art/art.h>

#include <map>
#include <mutex>
#include <utility>
#include <vector>

namespace {

// The framework takes 0x00RRGGBB; the pictures carry alpha in the top byte.
// Each picture is converted once and kept for the run, as the framework needs.
const std::vector<uint32_t>& OpaquePixels(const art::Image& image, AfxImageKind kind, UINT id)
{
    static std::mutex lock;
    static std::map<std::pair<int, UINT>, std::vector<uint32_t>> converted;
    std::lock_guard<std::mutex> guard(lock);
    auto [entry, isNew] = converted.try_emplace({ static_cast<int>(kind), id });
    if (isNew) {
        entry->second.reserve(image.pixels.size());
        for (uint32_t argb : image.pixels)
            entry->second.push_back(argb & 0x00FFFFFFu);
    }
    return entry->second;
}

} // namespace

bool FindDecibarImage(AfxImageKind kind, UINT id, AfxImage* out)
{
    const art::Image* image = art::Find(kind == AfxImageKind::Icon ? art::Kind::Icon : art::Kind::Bitmap, id);
    if (!image || image->pixels.empty())
        return false;
    out->width = image->width;
    out->height = image->height;
    out->pixels = OpaquePixels(*image, kind, id).data();
    return true;
}
