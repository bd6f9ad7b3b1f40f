#pragma once
// The program's pictures: bitmaps and icons addressed by resource number. They
// are the SVG files of meterapp/res/pictures, drawn by the build into PNG data
// that the program carries and decodes the first time a picture is asked for.

#include <cstdint>
#include <vector>

namespace art {

enum class Kind { Bitmap, Icon };

struct Image {
  int width = 0;
  int height = 0;
  // 0xAARRGGBB, not premultiplied, rows top-down, width * height entries.
  // Alpha 0xFF is opaque, 0x00 transparent; bitmaps are fully opaque, icons
  // use only 0x00 and 0xFF.
  std::vector<uint32_t> pixels;
};

// The picture of the given kind and number, or nullptr for a number that kind
// does not have. A picture is decoded on first use and then kept for the life of
// the process; the pointer stays valid and the image never changes. Safe to call
// from any number of threads at once.
//
// Bitmaps: 128 tool bar strip, 130 meter face, 131 decimal point, 132-141
// digits 0-9, 142 bar segment, 149-154 key caps, 155 logo, 157 idle face.
// The tool bar strip is seven 17 x 15 button images side by side on
// RGB(192,192,192), the colour a tool bar replaces by its button face.
// Icons: 128 main window, 129 document (32 x 32; see icon_sizes.h for 16 x 16),
// 156 About box.
const Image* Find(Kind kind, unsigned id);

// The same picture decoded anew for the caller to own and nothing kept, for a
// caller that makes its own copy and would otherwise hold a second one; an
// empty image (width 0) for a number that kind does not have.
Image Load(Kind kind, unsigned id);

}  // namespace art
