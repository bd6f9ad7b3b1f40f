// The tables that RegisterDecibarResources hands to the framework.
#pragma once

#include "decibar_resources.h"

#include <afx/resources.h>
#include <afx/wintypes.h>
#include <win32/user.h>

#include <cstddef>

extern const AfxStringEntry kDecibarStrings[];
extern const size_t kDecibarStringCount;
extern const AfxMenuEntry kMainMenu[];
extern const size_t kMainMenuCount;
extern const AfxAccelEntry kMainAccelerators[];
extern const size_t kMainAcceleratorCount;
extern const AfxToolBarTemplate kMainToolBar;
extern const AfxDialogTemplate kMainForm;
extern const AfxDialogTemplate kAboutDialog;
extern const AfxDialogTemplate kPortDialog;
extern const AfxMenuEntry kDataLogMenu[];
extern const size_t kDataLogMenuCount;
extern const AfxDialogTemplate kDataLogDialog;
extern const AfxDialogTemplate kLogStateDialog;
extern const AfxDialogTemplate kRealTimeSetupDialog;

// Answers the framework's picture look-ups from the program's drawn pictures.
bool FindDecibarImage(AfxImageKind kind, UINT id, AfxImage* out);
