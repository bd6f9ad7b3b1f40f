// Look-ups of registered menus and accelerator tables (copies).
#pragma once

#include <vector>

#include "afx/resources.h"

namespace afxwin {
std::vector<AfxMenuEntry> FindMenu(UINT id);
std::vector<AfxAccelEntry> FindAccelerators(UINT id);
}  // namespace afxwin
