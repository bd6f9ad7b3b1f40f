#include <map>
#include <memory>
#include <mutex>
#include <string_view>

#include "art/art.h"
#include "art/cairo_image.h"
#include "art/catalog.h"
#include "art/icon_sizes.h"
#include "rasters.h"

namespace art {
namespace {

Image Decode(const Raster& raster) {
  return ImageFromPng(std::string_view(reinterpret_cast<const char*>(raster.png), raster.size));
}

const Raster* RasterOf(Kind kind, unsigned id, int size) {
  for (size_t i = 0; i < kRasterCount; ++i) {
    const Raster& raster = kRasters[i];
    if (raster.entry.kind == kind && raster.entry.id == id && raster.entry.size == size) return &raster;
  }
  return nullptr;
}

class Cache {
 public:
  const Image* Picture(const Raster& raster) {
    std::lock_guard<std::mutex> guard(lock_);
    auto [slot, isNew] = pictures_.try_emplace(&raster);
    if (isNew) slot->second = std::make_unique<Image>(Decode(raster));
    return slot->second->width > 0 ? slot->second.get() : nullptr;
  }

 private:
  std::mutex lock_;
  std::map<const Raster*, std::unique_ptr<Image>> pictures_;
};

// Never destroyed, so pictures stay valid for threads still drawing while the
// process exits.
Cache& TheCache() {
  static Cache* cache = new Cache;
  return *cache;
}

const Image* Lookup(Kind kind, unsigned id, int size) {
  const Raster* raster = RasterOf(kind, id, size);
  return raster ? TheCache().Picture(*raster) : nullptr;
}

}  // namespace

const Image* Find(Kind kind, unsigned id) { return Lookup(kind, id, 0); }

Image Load(Kind kind, unsigned id) {
  const Raster* raster = RasterOf(kind, id, 0);
  return raster ? Decode(*raster) : Image{};
}

const Image* FindIcon(unsigned id, int size) {
  if (size == 32) return Lookup(Kind::Icon, id, 0);
  return size > 0 ? Lookup(Kind::Icon, id, size) : nullptr;
}

const std::vector<CatalogEntry>& Catalog() {
  static const std::vector<CatalogEntry> entries = [] {
    std::vector<CatalogEntry> list;
    for (size_t i = 0; i < kRasterCount; ++i) list.push_back(kRasters[i].entry);
    return list;
  }();
  return entries;
}

}  // namespace art
