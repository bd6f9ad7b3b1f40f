#include <functional>
#include <memory>
#include <mutex>

#include "art/art.h"
#include "art/catalog.h"
#include "art/icon_sizes.h"
#include "pictures.h"

namespace art {
namespace {

struct Slot {
  CatalogEntry entry;
  std::function<Image()> draw;
  std::once_flag once;
  std::unique_ptr<Image> image;
};

std::vector<std::unique_ptr<Slot>> MakeSlots() {
  std::vector<std::unique_ptr<Slot>> slots;
  auto add = [&](Kind kind, unsigned id, int size, const char* name, std::function<Image()> draw) {
    auto slot = std::make_unique<Slot>();
    slot->entry = {kind, id, size, name};
    slot->draw = std::move(draw);
    slots.push_back(std::move(slot));
  };
  add(Kind::Bitmap, 128, 0, "toolbar", pictures::ToolBarStrip);
  add(Kind::Bitmap, 130, 0, "meter-face", pictures::MeterFace);
  add(Kind::Bitmap, 131, 0, "decimal-point", pictures::DecimalPoint);
  static const char* const kDigitNames[10] = {"digit-0", "digit-1", "digit-2", "digit-3", "digit-4",
                                              "digit-5", "digit-6", "digit-7", "digit-8", "digit-9"};
  for (int d = 0; d < 10; ++d) add(Kind::Bitmap, 132 + d, 0, kDigitNames[d], [d] { return pictures::Digit(d); });
  add(Kind::Bitmap, 142, 0, "bar-segment", pictures::BarSegment);
  static const char* const kKeyNames[6] = {"key-rec", "key-stop", "key-ac", "key-level", "key-maxmin", "key-fastslow"};
  for (unsigned id = 149; id <= 154; ++id) {
    add(Kind::Bitmap, id, 0, kKeyNames[id - 149], [id] { return pictures::KeyCap(id); });
  }
  add(Kind::Bitmap, 155, 0, "logo", pictures::Logo);
  add(Kind::Bitmap, 157, 0, "idle-face", pictures::IdleFace);
  add(Kind::Icon, 128, 0, "icon-main", pictures::InstrumentIcon);
  add(Kind::Icon, 129, 0, "icon-document", [] { return pictures::DocumentIcon(32); });
  add(Kind::Icon, 129, 16, "icon-document-16", [] { return pictures::DocumentIcon(16); });
  add(Kind::Icon, 156, 0, "icon-about", pictures::InstrumentIcon);
  return slots;
}

// Built once (function-local statics are initialised thread-safely) and never
// changed afterwards, so lookups need no lock; each picture is drawn under its
// own once_flag. Never destroyed, so pictures stay valid for threads still
// drawing while the process exits.
const std::vector<std::unique_ptr<Slot>>& Slots() {
  static const auto* slots = new std::vector<std::unique_ptr<Slot>>(MakeSlots());
  return *slots;
}

const Image* Lookup(Kind kind, unsigned id, int size) {
  for (const auto& slot : Slots()) {
    if (slot->entry.kind == kind && slot->entry.id == id && slot->entry.size == size) {
      std::call_once(slot->once, [&] { slot->image = std::make_unique<Image>(slot->draw()); });
      return slot->image.get();
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
    for (const auto& slot : Slots()) list.push_back(slot->entry);
    return list;
  }();
  return entries;
}

}  // namespace art
