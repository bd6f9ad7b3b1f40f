// Look-ups of registered resources: strings, tool bars and images, and menus
// and accelerator tables (copies).
#pragma once

#include <vector>

#include "afx/resources.h"

// Null or false when the id is not registered.
const wchar_t* AfxFindString(UINT id);
const AfxToolBarTemplate* AfxFindToolBar(UINT id);
bool AfxFindImage(AfxImageKind kind, UINT id, AfxImage* out);

namespace afxwin {
std::vector<AfxMenuEntry> FindMenu(UINT id);
std::vector<AfxAccelEntry> FindAccelerators(UINT id);
}  // namespace afxwin
