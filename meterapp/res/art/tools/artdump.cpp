// artdump <folder>: writes every picture as a PNG file into the folder, named
// "<kind>-<id>-<name>.png", so the artwork can be reviewed.
// artdump --sheet <sheet.png> <face.png>: draws the overview pages of
// docs/art (every picture with its number and size; the face empty, with a
// sample reading and idle).

#include <cstdio>
#include <cstring>
#include <string>

#include "art/art.h"
#include "art/catalog.h"
#include "art/icon_sizes.h"
#include "art/png.h"
#include "sheet.h"

namespace {

int DumpAll(const std::string& folder) {
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

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && argv[1][0] != '-') return DumpAll(argv[1]);
  if (argc == 4 && std::strcmp(argv[1], "--sheet") == 0) {
    bool written = WriteSheet(argv[2]) && WriteFaces(argv[3]);
    if (!written) std::fprintf(stderr, "artdump: cannot write %s or %s\n", argv[2], argv[3]);
    return written ? 0 : 1;
  }
  std::fprintf(stderr, "usage: artdump <folder>\n       artdump --sheet <sheet.png> <face.png>\n");
  return 2;
}
