// The window part of the framework layer: include this one header.
#pragma once

#include "afx/afxcore.h"
#include "afx/commdlg.h"
#include "afx/controls.h"
#include "afx/ctime.h"
#include "afx/dialog.h"
#include "afx/docview.h"
#include "afx/frame.h"
#include "afx/gdi.h"
#include "afx/geometry.h"
#include "afx/msgmap.h"
#include "afx/resources.h"
#include "afx/wnd.h"
#include "afx/wintypes.h"
#include "win32/devicewatch.h"   // WM_DEVICECHANGE
