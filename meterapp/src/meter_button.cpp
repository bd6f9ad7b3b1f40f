#include "meterapp/meter_button.h"

#include "meterapp/decibar_view.h"
#include "meterapp/messages.h"
#include "meterproto/meter_keys.h"
#include "resource.h"

namespace {

// The Stop key moves a pixel up when pressed, the others a pixel left.
const SMeterKeyPlace kKeyPlaces[] = {
    { IDC_KEY_STOP, METER_KEY_STOP, IDB_KEY_STOP, 124, 401, 124, 400, 32, 30 },
    { IDC_KEY_REC, METER_KEY_REC, IDB_KEY_REC, 47, 201, 46, 201, 25, 23 },
    { IDC_KEY_MAXMIN, METER_KEY_MAXMIN, IDB_KEY_MAXMIN, 50, 330, 49, 330, 35, 22 },
    { IDC_KEY_FASTSLOW, METER_KEY_FASTSLOW, IDB_KEY_FASTSLOW, 86, 238, 85, 238, 22, 22 },
    { IDC_KEY_LEVEL, METER_KEY_LEVEL, IDB_KEY_LEVEL, 78, 362, 77, 362, 35, 22 },
    { IDC_KEY_AC, METER_KEY_AC, IDB_KEY_AC, 78, 298, 77, 298, 35, 23 },
};

} // namespace

const SMeterKeyPlace* FindMeterKeyPlace(UINT controlId)
{
    for (const SMeterKeyPlace& place : kKeyPlaces) {
        if (place.controlId == controlId)
            return &place;
    }
    return nullptr;
}

BEGIN_MESSAGE_MAP(CMeterButton, CButton)
END_MESSAGE_MAP()

void CMeterButton::PreSubclassWindow()
{
    ModifyStyle(0, BS_OWNERDRAW);
    CButton::PreSubclassWindow();
}

void CMeterButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CDC* dc = CDC::FromHandle(lpDrawItemStruct->hDC);
    const SMeterKeyPlace* place = FindMeterKeyPlace(lpDrawItemStruct->CtlID);
    if (!dc || !place)
        return;
    const bool pressed = (lpDrawItemStruct->itemState & ODS_SELECTED) != 0;

    // Moved only when it is elsewhere: a move repaints, and the repaint draws
    // here again.
    const int x = pressed ? place->pressedX : place->x;
    const int y = pressed ? place->pressedY : place->y;
    CRect now;
    GetWindowRect(&now);
    if (CWnd* parent = GetParent())
        parent->ScreenToClient(&now);
    if (now.left != x || now.top != y || now.Width() != place->width || now.Height() != place->height)
        MoveWindow(x, y, place->width, place->height, TRUE);

    CDC memory;
    if (memory.CreateCompatibleDC(dc)) {
        CBitmap picture;
        if (picture.LoadBitmap(place->bitmapId)) {
            CBitmap* old = memory.SelectObject(&picture);
            dc->BitBlt(0, 0, place->width, place->height, &memory, 0, 0, SRCCOPY);
            memory.SelectObject(old);
            picture.DeleteObject();
        }
        memory.DeleteDC();
    }

    // One message per press: a press may be drawn more than once (the move
    // above repaints), and each message starts a sender that toggles the
    // meter's state once more.
    if (pressed && !m_bShownPressed && g_pView)
        g_pView->SendMessage(WM_METER_KEY, 0, place->keyCode);
    m_bShownPressed = pressed;
}
