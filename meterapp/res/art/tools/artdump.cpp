// artdump <folder>: writes every picture as a PNG file into the folder, named
// "<kind>-<id>-<name>.png", so the artwork can be reviewed.

#include <cstdio>
#include <string>

#include "art/art.h"
#include "art/catalog.h"
#include "art/icon_sizes.h"
#include "art/png.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: artdump <folder>\n");
    return 2;
  }
  std::string folder = argv[1];
  int failures = 0;
  for (const art::CatalogEntry& entry : art::Catalog()) {
    const art::Image* image =
        entry.size == 0 ? art::Find(entry.kind, entry.id) : art::FindIcon(entry.id, entry.size);
    std::string path = folder + "/" + (entry.kind == art::Kind::Bitmap ? "bitmap-" : "icon-") +
                       std::to_string(entry.id) + "-" + entry.name + ".png";
    if (image == nullptr || !art::WritePng(*image, path)) {
      std::fprintf(stderr, "artdump: cannot write %s\n", path.c_str());
      ++failures;
      continue;
    }
    std::printf("%s %dx%d\n", path.c_str(), image->width, image->height);
  }
  return failures == 0 ? 0 : 1;
}
