// The default handling of messages (what the system's window procedures do).

#include "internal.h"

namespace afxwin {
bool IsDefaultCtlBrush(HBRUSH brush);
}

namespace {

CBrush& DefaultBrush(bool window)
{
    static CBrush windowBrush(RGB(255, 255, 255));
    static CBrush faceBrush(RGB(240, 240, 240));
    return window ? windowBrush : faceBrush;
}

void RepaintNow(AfxWindowImpl* impl)
{
    impl->invalid = true;
    impl->erase = true;
    afxwin::PaintNow(impl);
    impl->wx->Refresh(false);
    impl->wx->Update();
}

LRESULT ButtonMouse(CWnd* wnd, AfxWindowImpl* impl, UINT message, LPARAM lParam)
{
    CPoint p(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
    const wxRect client(impl->wx->GetClientSize());
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (!impl->wx->IsThisEnabled())
            return 0;
        if (impl->wx->IsShownOnScreen())
            afxwin::Internals::SetCapture(wnd);
        impl->tracking = true;
        impl->pressed = true;
        RepaintNow(impl);
        return 0;
    case WM_MOUSEMOVE:
        if (impl->tracking) {
            bool inside = client.Contains(p.x, p.y);
            if (inside != impl->pressed) {
                impl->pressed = inside;
                RepaintNow(impl);
            }
        }
        return 0;
    case WM_LBUTTONUP: {
        if (wxWindow::GetCapture() == impl->wx)
            ReleaseCapture();
        bool click = impl->tracking && client.Contains(p.x, p.y);
        impl->tracking = false;
        if (impl->pressed) {
            impl->pressed = false;
            RepaintNow(impl);
        }
        if (click) {
            HWND self = wnd->m_hWnd;
            if (CWnd* parent = wnd->GetParent())
                parent->SendMessage(WM_COMMAND, MAKEWPARAM(impl->id, BN_CLICKED), reinterpret_cast<LPARAM>(self));
        }
        return 0;
    }
    default:
        return 0;
    }
}

}  // namespace

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    AfxWindowImpl* impl = afxwin::Lookup(m_hWnd);
    switch (message) {
    case WM_CLOSE:
        DestroyWindow();
        return 0;
    case WM_CTLCOLOR: {
        auto* req = reinterpret_cast<AfxCtlColorRequest*>(lParam);
        bool window = req && (req->nCtlColor == CTLCOLOR_EDIT || req->nCtlColor == CTLCOLOR_LISTBOX);
        return reinterpret_cast<LRESULT>(static_cast<HBRUSH>(DefaultBrush(window)));
    }
    case WM_ERASEBKGND: {
        // A push button has no background of its own: it paints itself whole,
        // and a class that took it over may keep what it drew there.
        if (impl && impl->isControl && impl->kind == AfxControlKind::PushButton && !impl->ownerDraw)
            return 1;
        CDC* dc = reinterpret_cast<CDC*>(wParam);
        if (dc && impl) {
            CRect r;
            GetClientRect(&r);
            dc->FillSolidRect(&r, afxwin::BackgroundOf(impl));
        }
        return 1;
    }
    case WM_PAINT:
        if (impl && impl->ownerDraw) {
            CPaintDC dc(this);
            DRAWITEMSTRUCT dis{};
            dis.CtlType = ODT_BUTTON;
            dis.CtlID = static_cast<UINT>(impl->id);
            dis.itemAction = ODA_DRAWENTIRE;
            dis.itemState = (impl->pressed ? ODS_SELECTED : 0) | (impl->wx->IsThisEnabled() ? 0 : ODS_DISABLED) |
                            (wxWindow::FindFocus() == impl->wx ? ODS_FOCUS : 0);
            dis.hwndItem = m_hWnd;
            dis.hDC = dc.GetSafeHdc();
            GetClientRect(&dis.rcItem);
            CWnd* parent = GetParent();
            if (parent)
                parent->SendMessage(WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
            else
                DrawItem(&dis);
        }
        return 0;
    case WM_DRAWITEM: {
        // Reflected to the control, which draws itself.
        auto* dis = reinterpret_cast<LPDRAWITEMSTRUCT>(lParam);
        if (CWnd* item = dis ? FromHandle(dis->hwndItem) : nullptr)
            item->DrawItem(dis);
        return 1;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE:
        if (impl && impl->drawn && impl->isControl && impl->kind == AfxControlKind::PushButton)
            return ButtonMouse(this, impl, message, lParam);
        return 0;
    case WM_SETTEXT:
        SetWindowText(reinterpret_cast<LPCTSTR>(lParam));
        return TRUE;
    case WM_GETTEXT: {
        return GetWindowText(reinterpret_cast<LPWSTR>(lParam), static_cast<int>(wParam));
    }
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_TIMER:
    case WM_SIZE:
    case WM_DESTROY:
        return 0;
    default:
        break;
    }
    if (impl && impl->kind == AfxControlKind::Progress && impl->isControl) {
        auto* progress = static_cast<CProgressCtrl*>(this);
        switch (message) {
        case PBM_SETRANGE: {
            int oldMin = impl->progressMin, oldMax = impl->progressMax;
            progress->SetRange32(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
            return MAKELONG(oldMin, oldMax);
        }
        case PBM_SETPOS:
            return progress->SetPos(static_cast<int>(wParam));
        case PBM_GETPOS:
            return progress->GetPos();
        default:
            break;
        }
    }
    return 0;
}
