// What a window shows and where: text, state, geometry, family, painting requests.
#include <wx/combobox.h>

#include "internal.h"

namespace afxwin {
bool NotificationsSuppressed();
}

namespace {

using afxwin::ImplOf;

}  // namespace

void CWnd::SetWindowText(LPCTSTR text)
{
    afxwin::OnUi([&]() {
        wxWindow* w = afxwin::Internals::Wx(this);
        if (!w)
            return;
        wxString s = afxwin::ToWx(text);
        if (auto* edit = dynamic_cast<wxTextCtrl*>(w)) {
            if (edit->GetValue() != s) {
                if (afxwin::NotificationsSuppressed())
                    edit->ChangeValue(s);
                else
                    edit->SetValue(s);
            }
        } else if (auto* tl = dynamic_cast<wxTopLevelWindow*>(w)) {
            tl->SetTitle(s);
        } else if (auto* st = dynamic_cast<wxStaticText*>(w)) {
            AfxWindowImpl* impl = ImplOf(this);
            if (impl && (impl->style & SS_NOPREFIX))
                st->SetLabelText(s);
            else
                st->SetLabel(s);
            afxwin::FitLabelToText(st);
        } else if (auto* combo = dynamic_cast<wxComboBox*>(w)) {
            combo->SetValue(s);
        } else {
            w->SetLabel(s);
            w->Refresh();
        }
    });
}

void CWnd::GetWindowText(CString& text) const
{
    afxwin::OnUi([&]() {
        wxWindow* w = afxwin::Internals::Wx(this);
        if (!w) {
            text.Empty();
            return;
        }
        if (auto* edit = dynamic_cast<wxTextCtrl*>(w))
            text = afxwin::FromWx(edit->GetValue());
        else if (auto* tl = dynamic_cast<wxTopLevelWindow*>(w))
            text = afxwin::FromWx(tl->GetTitle());
        else if (auto* choice = dynamic_cast<wxChoice*>(w))
            text = afxwin::FromWx(choice->GetStringSelection());
        else if (auto* combo = dynamic_cast<wxComboBox*>(w))
            text = afxwin::FromWx(combo->GetValue());
        else
            text = afxwin::FromWx(w->GetLabel());
    });
}

int CWnd::GetWindowText(LPWSTR buffer, int maxCount) const
{
    return afxwin::OnUi([&]() -> int {
        if (!buffer || maxCount <= 0)
            return 0;
        CString text;
        GetWindowText(text);
        int n = std::min(text.GetLength(), maxCount - 1);
        for (int i = 0; i < n; ++i)
            buffer[i] = text[i];
        buffer[n] = 0;
        return n;
    });
}

BOOL CWnd::ShowWindow(int cmd)
{
    return afxwin::OnUi([&]() -> BOOL {
        wxWindow* w = afxwin::Internals::Wx(this);
        if (!w)
            return FALSE;
        BOOL was = w->IsShown();
        AfxWindowImpl* impl = ImplOf(this);
        if (cmd == SW_HIDE) {
            w->Hide();
            if (impl)
                impl->style &= ~WS_VISIBLE;
            return was;
        }
        if (auto* tl = dynamic_cast<wxTopLevelWindow*>(w)) {
            if (cmd == SW_MAXIMIZE)
                tl->Maximize(true);
            else if (cmd == SW_MINIMIZE || cmd == SW_SHOWMINIMIZED)
                tl->Iconize(true);
            else if (cmd == SW_RESTORE)
                tl->Maximize(false);
        }
        w->Show();
        if (impl)
            impl->style |= WS_VISIBLE;
        return was;
    });
}

BOOL CWnd::IsWindowVisible() const
{
    return afxwin::OnUi([&]() -> BOOL {
        wxWindow* w = afxwin::Internals::Wx(this);
        return w && w->IsShownOnScreen();
    });
}

BOOL CWnd::EnableWindow(BOOL enable)
{
    return afxwin::OnUi([&]() -> BOOL {
        wxWindow* w = afxwin::Internals::Wx(this);
        if (!w)
            return FALSE;
        BOOL wasDisabled = !w->IsThisEnabled();
        w->Enable(enable != FALSE);
        return wasDisabled;
    });
}

BOOL CWnd::IsWindowEnabled() const
{
    return afxwin::OnUi([&]() -> BOOL {
        wxWindow* w = afxwin::Internals::Wx(this);
        return w && w->IsThisEnabled();
    });
}

CWnd* CWnd::SetFocus()
{
    return afxwin::OnUi([&]() -> CWnd* {
        CWnd* old = GetFocus();
        if (wxWindow* w = afxwin::Internals::Wx(this))
            w->SetFocus();
        return old;
    });
}

CWnd* CWnd::GetFocus()
{
    return afxwin::OnUi([&]() -> CWnd* {
        return FromHandle(afxwin::ToHwnd(wxWindow::FindFocus()));
    });
}

void CWnd::GetClientRect(LPRECT rect) const
{
    afxwin::OnUi([&]() {
        if (!rect)
            return;
        wxWindow* w = afxwin::Internals::Wx(this);
        wxSize s = w ? w->GetClientSize() : wxSize(0, 0);
        *rect = RECT{0, 0, s.x, s.y};
    });
}

namespace {

// The screen position of a window's client origin, worked out through its
// parents so that it holds also before the top-level window is shown.
wxPoint ClientOrigin(const wxWindow* w)
{
    if (w->IsTopLevel() || !w->GetParent()) {
        if (w->IsShownOnScreen())
            return w->ClientToScreen(wxPoint(0, 0));
        return w->GetPosition() + w->GetClientAreaOrigin();
    }
    return ClientOrigin(w->GetParent()) + w->GetPosition() + w->GetClientAreaOrigin();
}

}  // namespace

void CWnd::GetWindowRect(LPRECT rect) const
{
    afxwin::OnUi([&]() {
        if (!rect)
            return;
        wxWindow* w = afxwin::Internals::Wx(this);
        if (!w) {
            *rect = RECT{0, 0, 0, 0};
            return;
        }
        wxPoint origin = ClientOrigin(w) - w->GetClientAreaOrigin();
        wxSize size = w->GetSize();
        *rect = RECT{origin.x, origin.y, origin.x + size.x, origin.y + size.y};
    });
}

void CWnd::ClientToScreen(LPPOINT point) const
{
    afxwin::OnUi([&]() {
        wxWindow* w = afxwin::Internals::Wx(this);
        if (!w || !point)
            return;
        wxPoint origin = ClientOrigin(w);
        point->x += origin.x;
        point->y += origin.y;
    });
}

void CWnd::ClientToScreen(LPRECT rect) const
{
    afxwin::OnUi([&]() {
        if (!rect)
            return;
        POINT a{rect->left, rect->top}, b{rect->right, rect->bottom};
        ClientToScreen(&a);
        ClientToScreen(&b);
        *rect = RECT{a.x, a.y, b.x, b.y};
    });
}

void CWnd::ScreenToClient(LPPOINT point) const
{
    afxwin::OnUi([&]() {
        wxWindow* w = afxwin::Internals::Wx(this);
        if (!w || !point)
            return;
        wxPoint origin = ClientOrigin(w);
        point->x -= origin.x;
        point->y -= origin.y;
    });
}

void CWnd::ScreenToClient(LPRECT rect) const
{
    afxwin::OnUi([&]() {
        if (!rect)
            return;
        POINT a{rect->left, rect->top}, b{rect->right, rect->bottom};
        ScreenToClient(&a);
        ScreenToClient(&b);
        *rect = RECT{a.x, a.y, b.x, b.y};
    });
}

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL)
{
    afxwin::OnUi([&]() {
        if (wxWindow* w = afxwin::Internals::Wx(this))
            w->SetSize(x, y, width, height, wxSIZE_ALLOW_MINUS_ONE);
    });
}

void CWnd::MoveWindow(LPCRECT rect, BOOL repaint)
{
    afxwin::OnUi([&]() {
        if (rect)
            MoveWindow(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, repaint);
    });
}

BOOL CWnd::SetWindowPos(const CWnd*, int x, int y, int cx, int cy, UINT flags)
{
    return afxwin::OnUi([&]() -> BOOL {
        wxWindow* w = afxwin::Internals::Wx(this);
        if (!w)
            return FALSE;
        wxRect r = w->GetRect();
        if (!(flags & SWP_NOMOVE)) {
            r.x = x;
            r.y = y;
        }
        if (!(flags & SWP_NOSIZE)) {
            r.width = cx;
            r.height = cy;
        }
        if (!(flags & (SWP_NOMOVE)) || !(flags & SWP_NOSIZE))
            w->SetSize(r, wxSIZE_ALLOW_MINUS_ONE);
        if (flags & SWP_SHOWWINDOW)
            ShowWindow(SW_SHOW);
        if (flags & SWP_HIDEWINDOW)
            ShowWindow(SW_HIDE);
        return TRUE;
    });
}

DWORD CWnd::GetStyle() const
{
    return afxwin::OnUi([&]() -> DWORD {
        AfxWindowImpl* impl = ImplOf(this);
        if (!impl)
            return 0;
        DWORD style = impl->style & ~(WS_VISIBLE | WS_DISABLED);
        if (impl->wx->IsShown())
            style |= WS_VISIBLE;
        if (!impl->wx->IsThisEnabled())
            style |= WS_DISABLED;
        return style;
    });
}

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT)
{
    return afxwin::OnUi([&]() -> BOOL {
        AfxWindowImpl* impl = ImplOf(this);
        if (!impl)
            return FALSE;
        impl->style = (impl->style & ~remove) | add;
        // A push button made owner-drawn is drawn by the program from now on.
        if (impl->isControl && impl->kind == AfxControlKind::PushButton && (impl->style & BS_TYPEMASK) == BS_OWNERDRAW) {
            if (!impl->drawn)
                afxwin::ConvertToDrawn(m_hWnd);
            if (AfxWindowImpl* now = ImplOf(this))
                now->ownerDraw = true;
            Invalidate();
        }
        return TRUE;
    });
}

int CWnd::GetDlgCtrlID() const
{
    return afxwin::OnUi([&]() -> int {
        AfxWindowImpl* impl = ImplOf(this);
        return impl ? impl->id : 0;
    });
}

void CWnd::SetFont(CFont* font, BOOL)
{
    afxwin::OnUi([&]() {
        AfxWindowImpl* impl = ImplOf(this);
        if (!impl || !font || font->IsNull())
            return;
        impl->font = font;
        impl->wx->SetFont(afxwin::Internals::WxFont(*font));
        afxwin::FitLabelToText(impl->wx);
    });
}

void CWnd::SetIcon(HICON icon, BOOL)
{
    afxwin::OnUi([&]() {
        auto* tl = dynamic_cast<wxTopLevelWindow*>(afxwin::Internals::Wx(this));
        if (!tl || !icon)
            return;
        wxBitmap bmp = afxwin::ImageBitmap(AfxImageKind::Icon, static_cast<UINT>(reinterpret_cast<uintptr_t>(icon)));
        if (bmp.IsOk()) {
            wxIcon wxi;
            wxi.CopyFromBitmap(bmp);
            tl->SetIcon(wxi);
        }
    });
}

void CWnd::Invalidate(BOOL erase)
{
    afxwin::OnUi([&]() {
        AfxWindowImpl* impl = ImplOf(this);
        if (!impl)
            return;
        impl->invalid = true;
        impl->erase = impl->erase || erase;
        impl->wx->Refresh(erase != FALSE);
    });
}

void CWnd::InvalidateRect(LPCRECT rect, BOOL erase)
{
    afxwin::OnUi([&]() {
        AfxWindowImpl* impl = ImplOf(this);
        if (!impl || !rect) {
            Invalidate(erase);
            return;
        }
        impl->invalid = true;
        impl->erase = impl->erase || erase;
        const wxRect area(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top);
        if (!area.IsEmpty())
            impl->wx->RefreshRect(area, erase != FALSE);
    });
}

void CWnd::ValidateRect(LPCRECT)
{
    afxwin::OnUi([&]() {
        if (AfxWindowImpl* impl = ImplOf(this))
            impl->invalid = false;
    });
}

void CWnd::UpdateWindow()
{
    afxwin::OnUi([&]() {
        AfxWindowImpl* impl = ImplOf(this);
        if (!impl)
            return;
        if (impl->drawn && impl->invalid)
            afxwin::PaintNow(impl);
        impl->wx->Update();
    });
}

CWnd* CWnd::SetCapture()
{
    return afxwin::OnUi([&]() -> CWnd* {
        CWnd* old = GetCapture();
        wxWindow* w = afxwin::Internals::Wx(this);
        if (w && wxWindow::GetCapture() != w)
            w->CaptureMouse();
        return old;
    });
}

CWnd* CWnd::GetCapture()
{
    return afxwin::OnUi([&]() -> CWnd* {
        return FromHandle(afxwin::ToHwnd(wxWindow::GetCapture()));
    });
}

CWnd* CWnd::GetParent() const
{
    return afxwin::OnUi([&]() -> CWnd* {
        wxWindow* w = afxwin::Internals::Wx(this);
        for (wxWindow* p = w ? w->GetParent() : nullptr; p; p = p->GetParent())
            if (CWnd* wnd = FromHandle(afxwin::ToHwnd(p)))
                return wnd;
        return nullptr;
    });
}

CFrameWnd* CWnd::GetParentFrame() const
{
    return afxwin::OnUi([&]() -> CFrameWnd* {
        for (CWnd* p = GetParent(); p; p = p->GetParent())
            if (auto* frame = dynamic_cast<CFrameWnd*>(p))
                return frame;
        return nullptr;
    });
}

CWnd* CWnd::GetDlgItem(int id) const
{
    return afxwin::OnUi([&]() -> CWnd* {
        wxWindow* w = afxwin::Internals::Wx(this);
        if (!w || id == IDC_STATIC)
            return nullptr;
        std::function<wxWindow*(wxWindow*)> find = [&](wxWindow* parent) -> wxWindow* {
            for (wxWindow* child : parent->GetChildren()) {
                AfxWindowImpl* impl = afxwin::Lookup(child);
                if (impl && impl->isControl && impl->id == id)
                    return child;
            }
            for (wxWindow* child : parent->GetChildren()) {
                AfxWindowImpl* impl = afxwin::Lookup(child);
                if (impl && !impl->isControl)
                    continue;   // another dialog or view holds its own controls
                if (wxWindow* found = find(child))
                    return found;
            }
            return nullptr;
        };
        return FromHandle(afxwin::ToHwnd(find(w)));
    });
}

void CWnd::SetDlgItemText(int id, LPCTSTR text)
{
    afxwin::OnUi([&]() {
        if (CWnd* item = GetDlgItem(id))
            item->SetWindowText(text);
    });
}

int CWnd::GetDlgItemText(int id, CString& text) const
{
    return afxwin::OnUi([&]() -> int {
        text.Empty();
        if (CWnd* item = GetDlgItem(id))
            item->GetWindowText(text);
        return text.GetLength();
    });
}

CMenu* CWnd::GetMenu() const
{
    return afxwin::OnUi([&]() -> CMenu* {
        if (auto* frame = dynamic_cast<const CFrameWnd*>(this))
            return frame->GetMenuBar();
        AfxWindowImpl* impl = ImplOf(this);
        return impl ? impl->menuBar.get() : nullptr;
    });
}

int CWnd::MessageBox(LPCTSTR text, LPCTSTR caption, UINT type)
{
    return afxwin::OnUi([&]() -> int {
        CString title = caption ? CString(caption) : CString(AfxGetAppName());
        return MessageBoxW(m_hWnd, text, title, type);
    });
}
