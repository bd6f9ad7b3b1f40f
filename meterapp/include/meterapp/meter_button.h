// One of the meter's front-panel keys, drawn over the face picture.
#pragma once

#include <afx/afxwin.h>

// An owner-drawn button that places itself on the face picture at its key's
// place, draws the key's picture and shifts by a pixel while pressed. Each
// press (the first drawing in the pressed state) sends WM_METER_KEY with the
// key's code to g_pView. A control id that is not a meter key draws nothing.
class CMeterButton : public CButton {
public:
    CMeterButton() = default;
    ~CMeterButton() override = default;

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

protected:
    // Makes the button owner-drawn.
    void PreSubclassWindow() override;

    DECLARE_MESSAGE_MAP()

private:
    bool m_bShownPressed = false;
};

// A meter key's place on the face picture (view client pixels).
struct SMeterKeyPlace {
    UINT controlId;
    int keyCode;
    UINT bitmapId;
    int x, y;               // released
    int pressedX, pressedY; // pressed
    int width, height;      // window, and the part of the picture copied
};

// The place of the key with this control id; null when it is no meter key.
const SMeterKeyPlace* FindMeterKeyPlace(UINT controlId);
