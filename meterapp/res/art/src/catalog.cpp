#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "art/art.h"
#include "art/catalog.h"
#include "art/icon_sizes.h"
#include "art/resource_files.h"
#include "svg.h"

namespace art {
namespace {

// A picture is one file drawn whole, or a part of a drawing, as the digits are
// of their strip and the key caps of the face. The idle face is the face with
// the switched-off display laid over it.
struct Part {
  int x, y, width, height;  // width 0: the whole drawing
};

struct Source {
  CatalogEntry entry;
  const char* file;
  const char* overlay;  // drawn over `file`, or nullptr
  Part part;
};

constexpr Part kWhole{0, 0, 0, 0};

// Key caps: where each key sits on the face and its picture's size there.
constexpr Part kKeyRec{47, 201, 27, 24}, kKeyStop{124, 401, 32, 30}, kKeyAc{78, 298, 38, 23},
    kKeyLevel{78, 362, 38, 22}, kKeyMaxMin{50, 330, 39, 22}, kKeyFastSlow{86, 238, 23, 25};

constexpr Part Digit(int d) { return {25 * d, 0, 25, 53}; }

const Source kSources[] = {
    {{Kind::Bitmap, 128, 0, "toolbar"}, "toolbar.svg", nullptr, kWhole},
    {{Kind::Bitmap, 130, 0, "meter-face"}, "meter-face.svg", nullptr, kWhole},
    {{Kind::Bitmap, 131, 0, "decimal-point"}, "decimal-point.svg", nullptr, kWhole},
    {{Kind::Bitmap, 132, 0, "digit-0"}, "digits.svg", nullptr, Digit(0)},
    {{Kind::Bitmap, 133, 0, "digit-1"}, "digits.svg", nullptr, Digit(1)},
    {{Kind::Bitmap, 134, 0, "digit-2"}, "digits.svg", nullptr, Digit(2)},
    {{Kind::Bitmap, 135, 0, "digit-3"}, "digits.svg", nullptr, Digit(3)},
    {{Kind::Bitmap, 136, 0, "digit-4"}, "digits.svg", nullptr, Digit(4)},
    {{Kind::Bitmap, 137, 0, "digit-5"}, "digits.svg", nullptr, Digit(5)},
    {{Kind::Bitmap, 138, 0, "digit-6"}, "digits.svg", nullptr, Digit(6)},
    {{Kind::Bitmap, 139, 0, "digit-7"}, "digits.svg", nullptr, Digit(7)},
    {{Kind::Bitmap, 140, 0, "digit-8"}, "digits.svg", nullptr, Digit(8)},
    {{Kind::Bitmap, 141, 0, "digit-9"}, "digits.svg", nullptr, Digit(9)},
    {{Kind::Bitmap, 142, 0, "bar-segment"}, "bar-segment.svg", nullptr, kWhole},
    {{Kind::Bitmap, 149, 0, "key-rec"}, "meter-face.svg", nullptr, kKeyRec},
    {{Kind::Bitmap, 150, 0, "key-stop"}, "meter-face.svg", nullptr, kKeyStop},
    {{Kind::Bitmap, 151, 0, "key-ac"}, "meter-face.svg", nullptr, kKeyAc},
    {{Kind::Bitmap, 152, 0, "key-level"}, "meter-face.svg", nullptr, kKeyLevel},
    {{Kind::Bitmap, 153, 0, "key-maxmin"}, "meter-face.svg", nullptr, kKeyMaxMin},
    {{Kind::Bitmap, 154, 0, "key-fastslow"}, "meter-face.svg", nullptr, kKeyFastSlow},
    {{Kind::Bitmap, 155, 0, "logo"}, "logo.svg", nullptr, kWhole},
    {{Kind::Bitmap, 157, 0, "idle-face"}, "meter-face.svg", "idle-display.svg", kWhole},
    {{Kind::Icon, 128, 0, "icon-main"}, "instrument-icon.svg", nullptr, kWhole},
    {{Kind::Icon, 129, 0, "icon-document"}, "document-icon.svg", nullptr, kWhole},
    {{Kind::Icon, 129, 16, "icon-document-16"}, "document-icon-16.svg", nullptr, kWhole},
    {{Kind::Icon, 156, 0, "icon-about"}, "instrument-icon.svg", nullptr, kWhole},
};

// A part that reaches outside the drawing gives no picture.
Image Cut(const Image& drawing, const Part& part) {
  if (drawing.width == 0 || part.width == 0) return drawing;
  if (part.x < 0 || part.y < 0 || part.x + part.width > drawing.width || part.y + part.height > drawing.height) {
    return Image{};
  }
  Image cut;
  cut.width = part.width;
  cut.height = part.height;
  cut.pixels.reserve(size_t(part.width) * size_t(part.height));
  for (int y = part.y; y < part.y + part.height; ++y) {
    auto row = drawing.pixels.begin() + long(y) * drawing.width + part.x;
    cut.pixels.insert(cut.pixels.end(), row, row + part.width);
  }
  return cut;
}

class Cache {
 public:
  const Image* Picture(const Source& source) {
    std::lock_guard<std::mutex> guard(lock_);
    auto [slot, isNew] = pictures_.try_emplace(&source);
    if (isNew) slot->second = std::make_unique<Image>(Cut(Drawing(source), source.part));
    return slot->second->width > 0 ? slot->second.get() : nullptr;
  }

 private:
  // Files drawn once for all the pictures cut from them.
  const Image& Drawing(const Source& source) {
    std::string key = std::string(source.file) + "+" + (source.overlay ? source.overlay : "");
    auto [slot, isNew] = drawings_.try_emplace(key);
    if (isNew) {
      slot->second = source.overlay
                         ? DrawSvg({FindResourceFile(source.file), FindResourceFile(source.overlay)})
                         : DrawSvg({FindResourceFile(source.file)});
    }
    return slot->second;
  }

  std::mutex lock_;
  std::map<const Source*, std::unique_ptr<Image>> pictures_;
  std::map<std::string, Image> drawings_;
};

// Never destroyed, so pictures stay valid for threads still drawing while the
// process exits.
Cache& TheCache() {
  static Cache* cache = new Cache;
  return *cache;
}

const Image* Lookup(Kind kind, unsigned id, int size) {
  for (const Source& source : kSources) {
    if (source.entry.kind == kind && source.entry.id == id && source.entry.size == size) {
      return TheCache().Picture(source);
    }
  }
  return nullptr;
}

}  // namespace

const Image* Find(Kind kind, unsigned id) { return Lookup(kind, id, 0); }

const Image* FindIcon(unsigned id, int size) {
  if (size == 32) return Lookup(Kind::Icon, id, 0);
  return size > 0 ? Lookup(Kind::Icon, id, size) : nullptr;
}

const std::vector<CatalogEntry>& Catalog() {
  static const std::vector<CatalogEntry> entries = [] {
    std::vector<CatalogEntry> list;
    for (const Source& source : kSources) list.push_back(source.entry);
    return list;
  }();
  return entries;
}

}  // namespace art
