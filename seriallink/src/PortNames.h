// The name fix-ups of the port enumeration.
#pragma once

#include "seriallink/SerialEnum.h"

namespace seriallink {

// An empty friendly name becomes the port name; an empty description becomes
// the friendly name, cut before " (" when that name's only ")" ends it.
void FillMissingNames(SSerInfo& info);

}  // namespace seriallink
