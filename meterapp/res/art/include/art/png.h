#pragma once
// Pictures as PNG files, for looking at them outside the program (artdump)
// and for tests that read screenshots. Not part of the program.

#include <optional>
#include <string>

#include "art/art.h"

namespace art {

// Writes the image as an 8-bit RGBA PNG; false when the image's pixel count
// does not match its size or the file cannot be written.
bool WritePng(const Image& image, const std::string& path);

// The picture of a PNG file; nothing when the file cannot be read.
std::optional<Image> ReadPng(const std::string& path);

}  // namespace art
