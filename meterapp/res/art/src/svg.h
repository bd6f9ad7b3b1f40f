#pragma once
// SVG documents drawn into images with librsvg and cairo.

#include <initializer_list>
#include <string_view>

#include "art/art.h"

namespace art {

// Draws the documents one over the other onto a transparent image of the
// first one's size (its width and height, in pixels). Gives an empty image
// (width 0) when a document cannot be read or drawn, has no size of its own,
// or differs in size from the first. Draws one image at a time: calls from
// several threads wait for each other.
Image DrawSvg(std::initializer_list<std::string_view> documents);

}  // namespace art
