#pragma once
// The front of the meter, shared by the face, the idle face and the key caps.

#include "canvas.h"

namespace art::pictures {

constexpr int kFaceWidth = 195;
constexpr int kFaceHeight = 461;

// Where a key sits on the face: its top left, the part of its picture that is
// shown there, and the full size of its picture.
struct KeyPlace {
  unsigned bitmap;
  int x, y;
  int shown_width, shown_height;
  int width, height;
};

// Stop, REC, MaxMin, FastSlow, Level, AC.
extern const KeyPlace kKeyPlaces[6];

enum class DisplayLook {
  Live,  // lit, empty display in the display colour, ready for the reading
  Idle,  // switched-off display with a plug sign: no meter connected
};

// The whole front with all six keys drawn at their places.
draw::Canvas DrawInstrument(DisplayLook look);

}  // namespace art::pictures
