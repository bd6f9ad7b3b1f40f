#pragma once
// The list of every picture the program has, for tools that show them all.

#include <vector>

#include "art/art.h"

namespace art {

struct CatalogEntry {
  Kind kind;
  unsigned id;
  int size;          // 0 for a picture's main form; the edge length for an extra icon size
  const char* name;  // short file-name-safe description, e.g. "meter-face"
};

// Every picture, in a fixed order; each is available through Find (size 0) or
// FindIcon (other sizes).
const std::vector<CatalogEntry>& Catalog();

}  // namespace art
