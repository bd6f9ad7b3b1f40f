#pragma once
// PNG encoding of pictures, for looking at them outside the program.

#include <cstdint>
#include <string>
#include <vector>

#include "art/art.h"

namespace art {

// The image as a complete PNG file (8-bit RGBA, stored deflate blocks).
// An image whose pixel count does not match its size gives an empty result.
std::vector<uint8_t> EncodePng(const Image& image);

// Writes EncodePng(image) to `path`; false when encoding or writing fails.
bool WritePng(const Image& image, const std::string& path);

}  // namespace art
