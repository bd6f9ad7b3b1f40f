#pragma once
// Pictures as PNG files: the build's drawn pictures (artbake), artdump's files
// and the tests' screenshots. Not part of the program.

#include <optional>
#include <string>

#include "art/art.h"

namespace art {

// The image as an 8-bit PNG file's bytes (RGBA, or RGB when it is opaque);
// empty when the image's pixel count does not match its size. Pixels that are
// fully opaque or fully transparent come back from it unchanged.
std::string EncodePng(const Image& image);

// Writes EncodePng's bytes; false when there are none or the file cannot be written.
bool WritePng(const Image& image, const std::string& path);

// The picture of a PNG file; nothing when it is not a regular file of at most
// 64 MiB holding a PNG picture.
std::optional<Image> ReadPng(const std::string& path);

}  // namespace art
