#pragma once
// The draw routines behind the catalog, one per picture or family of pictures.

#include "art/art.h"

namespace art::pictures {

Image MeterFace();     // bitmap 130
Image IdleFace();      // bitmap 157
Image DecimalPoint();  // bitmap 131
Image Digit(int digit);  // bitmaps 132-141; digit 0-9
Image BarSegment();    // bitmap 142
Image KeyCap(unsigned id);  // bitmaps 149-154
Image Logo();          // bitmap 155
Image ToolBarStrip();  // bitmap 128
Image InstrumentIcon();  // icons 128 and 156
Image DocumentIcon(int size);  // icon 129, size 32 or 16

}  // namespace art::pictures
