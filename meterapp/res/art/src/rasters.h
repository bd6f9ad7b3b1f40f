#pragma once
// The pictures as the build drew them (artbake): one PNG each, in the
// program's data.

#include <cstddef>

#include "art/catalog.h"

namespace art {

struct Raster {
  CatalogEntry entry;
  const unsigned char* png;
  size_t size;
};

// Every picture, in the catalog's order.
extern const Raster kRasters[];
extern const size_t kRasterCount;

}  // namespace art
