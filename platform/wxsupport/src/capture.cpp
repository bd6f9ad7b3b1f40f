#include "wxsupport/capture.h"

#include <wx/window.h>

BOOL ReleaseCapture()
{
    if (wxWindow* captured = wxWindow::GetCapture())
        captured->ReleaseMouse();
    return TRUE;
}
