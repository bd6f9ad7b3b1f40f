// The face pictures and the key caps cut from the face, so a key drawn over
// the face at its place matches it pixel for pixel.

#include "instrument.h"
#include "pictures.h"

namespace art::pictures {

Image MeterFace() { return DrawInstrument(DisplayLook::Live).Take(); }

Image IdleFace() { return DrawInstrument(DisplayLook::Idle).Take(); }

Image KeyCap(unsigned id) {
  const Image* face = Find(Kind::Bitmap, 130);
  for (const KeyPlace& key : kKeyPlaces) {
    if (key.bitmap != id || face == nullptr) continue;
    Image cap;
    cap.width = key.width;
    cap.height = key.height;
    cap.pixels.reserve(size_t(key.width) * size_t(key.height));
    // Every key lies wholly inside the face, so the rows need no clipping.
    for (int y = 0; y < key.height; ++y) {
      auto row = face->pixels.begin() + (key.y + y) * face->width + key.x;
      cap.pixels.insert(cap.pixels.end(), row, row + key.width);
    }
    return cap;
  }
  return Image{};
}

}  // namespace art::pictures
