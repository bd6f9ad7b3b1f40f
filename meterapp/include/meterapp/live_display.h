// The meter display as the view last drew it.
#pragma once

#include <afx/afxwin.h>
#include "meterdata/face_layout.h"

#include <vector>

// Guarded by the view's m_stateLock.
struct SLiveDisplay {
    // The display area (kDisplayArea) as last drawn: the instrument picture
    // under it, the filled window and the reading. Made by the first drawing.
    CBitmap picture;
    // The operations the picture was drawn from; empty while none is valid.
    std::vector<SFaceOp> drawnOps;
    // The face, not the idle picture, is on the screen.
    bool faceShown = false;
    // Redraws the receive path asked for, and drawings of the display area, so far.
    int redrawsAsked = 0;
    int drawings = 0;
};
