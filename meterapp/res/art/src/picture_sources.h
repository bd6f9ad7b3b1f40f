#pragma once
// Where each picture comes from: an SVG file drawn whole, or a part of a
// drawing, as the digits are of their strip and the key caps of the face. The
// build draws them all (artbake) and puts them into the program as PNG data.

#include <functional>
#include <string>
#include <vector>

#include "art/art.h"
#include "art/catalog.h"

namespace art {

struct DrawnPicture {
  CatalogEntry entry;
  Image image;  // empty (width 0) when its files could not be drawn
};

// Every picture of the catalog, in its order, drawn from the SVG files that
// `readFile` gives by name ("meter-face.svg"; empty when there is no such file).
std::vector<DrawnPicture> DrawPictures(const std::function<std::string(const std::string&)>& readFile);

}  // namespace art
