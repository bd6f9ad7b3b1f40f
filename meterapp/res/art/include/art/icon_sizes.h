#pragma once
// Icons that come in more than one size. Find(Kind::Icon, id) gives the 32 x 32
// form; this gives the others.

#include "art/art.h"

namespace art {

// The icon `id` drawn at `size` x `size` pixels, or nullptr when that icon has
// no such size (129 has 32 and 16; 128 and 156 have 32 only). Same lifetime
// and thread guarantees as Find.
const Image* FindIcon(unsigned id, int size);

}  // namespace art
