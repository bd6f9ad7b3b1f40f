#include "picture_sources.h"

#include <map>

#include "svg.h"

namespace art {
namespace {

struct Part {
  int x, y, width, height;  // width 0: the whole drawing
};

// The idle face is the face with the switched-off display laid over it.
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

}  // namespace

std::vector<DrawnPicture> DrawPictures(const std::function<std::string(const std::string&)>& readFile) {
  // Each file, or file with its overlay, is drawn once for all the pictures cut from it.
  std::map<std::string, Image> drawings;
  std::vector<DrawnPicture> pictures;
  for (const Source& source : kSources) {
    const std::string key = std::string(source.file) + "+" + (source.overlay ? source.overlay : "");
    auto [slot, isNew] = drawings.try_emplace(key);
    if (isNew) {
      const std::string file = readFile(source.file);
      slot->second = source.overlay ? DrawSvg({file, readFile(source.overlay)}) : DrawSvg({file});
    }
    pictures.push_back({source.entry, Cut(slot->second, source.part)});
  }
  return pictures;
}

}  // namespace art
