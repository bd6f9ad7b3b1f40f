// Controls of dialog templates, and their wx events turned into the
// notifications their parents receive.
#include <wx/listctrl.h>
#include <wx/scrolbar.h>
#include <wx/statbmp.h>
#include <wx/statbox.h>

#include <cstdlib>
#include <memory>

#include "internal.h"

namespace afxwin {
bool NotificationsSuppressed();
}

namespace {

class AfxCanvas : public wxWindow {
public:
    AfxCanvas(wxWindow* parent, const wxRect& r)
        : wxWindow(parent, wxID_ANY, r.GetPosition(), r.GetSize(), wxBORDER_NONE | wxFULL_REPAINT_ON_RESIZE)
    {
    }
};

// The CWnd of the nearest registered ancestor.
CWnd* ParentWnd(wxWindow* w)
{
    for (wxWindow* p = w->GetParent(); p; p = p->GetParent())
        if (CWnd* wnd = CWnd::FromHandle(afxwin::ToHwnd(p)))
            return wnd;
    return nullptr;
}

void Notify(wxWindow* control, UINT code)
{
    if (afxwin::NotificationsSuppressed())
        return;
    AfxWindowImpl* impl = afxwin::Lookup(control);
    CWnd* parent = ParentWnd(control);
    if (!impl || !parent)
        return;
    parent->SendMessage(WM_COMMAND, MAKEWPARAM(impl->id, code), reinterpret_cast<LPARAM>(afxwin::ToHwnd(control)));
}

void NotifyList(wxWindow* control, UINT code, long item)
{
    AfxWindowImpl* impl = afxwin::Lookup(control);
    CWnd* parent = ParentWnd(control);
    if (!impl || !parent)
        return;
    NMITEMACTIVATE note{{afxwin::ToHwnd(control), static_cast<UINT_PTR>(impl->id), code}, static_cast<int>(item), 0};
    parent->SendMessage(WM_NOTIFY, static_cast<WPARAM>(impl->id), reinterpret_cast<LPARAM>(&note));
}

// Tells the bar's parent of a scroll code, then shows the position the
// program set (while a thumb is dragged, where the user holds it).
void SendScroll(wxScrollBar* bar, UINT code, int pos)
{
    AfxWindowImpl* impl = afxwin::Lookup(bar);
    CWnd* parent = ParentWnd(bar);
    if (!impl || !parent)
        return;
    UINT message = bar->IsVertical() ? WM_VSCROLL : WM_HSCROLL;
    HWND hwnd = afxwin::ToHwnd(bar);
    parent->SendMessage(message, MAKEWPARAM(code, pos), reinterpret_cast<LPARAM>(impl->wnd));
    if (code != SB_THUMBTRACK && (impl = afxwin::Lookup(hwnd)) != nullptr)
        bar->SetThumbPosition(impl->scrollPos - impl->scrollMin);
}

void Scrolled(wxScrollBar* bar, UINT code, wxScrollEvent& e)
{
    AfxWindowImpl* impl = afxwin::Lookup(bar);
    if (impl)
        SendScroll(bar, code, e.GetPosition() + impl->scrollMin);
}

// One line step per notch of the wheel (up or left: back), as a Windows bar
// steps for its arrow keys. GTK would move the thumb by a share of the page
// and report it as a drag that never ends.
void Wheeled(wxScrollBar* bar, int* rest, wxMouseEvent& e)
{
    const int notch = e.GetWheelDelta() > 0 ? e.GetWheelDelta() : 120;
    const bool horizontal = e.GetWheelAxis() == wxMOUSE_WHEEL_HORIZONTAL;
    *rest += horizontal ? -e.GetWheelRotation() : e.GetWheelRotation();
    const int steps = *rest / notch;  // positive: back
    *rest -= steps * notch;
    const HWND hwnd = afxwin::ToHwnd(bar);
    for (int i = 0; i < std::abs(steps); ++i) {
        AfxWindowImpl* impl = afxwin::Lookup(hwnd);
        if (!impl)
            return;
        SendScroll(bar, steps > 0 ? SB_LINEUP : SB_LINEDOWN, impl->scrollPos);
    }
}

void KeyPressed(wxScrollBar* bar, wxKeyEvent& e)
{
    UINT code;
    switch (e.GetKeyCode()) {
    case WXK_UP:
    case WXK_LEFT:
    case WXK_NUMPAD_UP:
    case WXK_NUMPAD_LEFT: code = SB_LINEUP; break;
    case WXK_DOWN:
    case WXK_RIGHT:
    case WXK_NUMPAD_DOWN:
    case WXK_NUMPAD_RIGHT: code = SB_LINEDOWN; break;
    default: e.Skip(); return;
    }
    if (AfxWindowImpl* impl = afxwin::Lookup(bar))
        SendScroll(bar, code, impl->scrollPos);
}

void BindControlEvents(wxWindow* w, AfxControlKind kind)
{
    switch (kind) {
    case AfxControlKind::PushButton:
        w->Bind(wxEVT_BUTTON, [w](wxCommandEvent&) { Notify(w, BN_CLICKED); });
        break;
    case AfxControlKind::Edit:
        w->Bind(wxEVT_TEXT, [w](wxCommandEvent&) { Notify(w, EN_CHANGE); });
        w->Bind(wxEVT_KILL_FOCUS, [w](wxFocusEvent& e) { Notify(w, EN_KILLFOCUS); e.Skip(); });
        break;
    case AfxControlKind::ComboBox:
        w->Bind(wxEVT_CHOICE, [w](wxCommandEvent&) { Notify(w, CBN_SELCHANGE); });
        w->Bind(wxEVT_COMBOBOX, [w](wxCommandEvent&) { Notify(w, CBN_SELCHANGE); });
        break;
    case AfxControlKind::ListView: {
        auto* list = static_cast<wxListCtrl*>(w);
        w->Bind(wxEVT_LIST_ITEM_ACTIVATED, [w](wxListEvent& e) { NotifyList(w, NM_DBLCLK, e.GetIndex()); });
        w->Bind(wxEVT_LIST_ITEM_SELECTED, [w](wxListEvent& e) {
            NotifyList(w, LVN_ITEMCHANGED, e.GetIndex());
            NotifyList(w, NM_CLICK, e.GetIndex());
        });
        // A double click on no row reaches the parent too, as row -1.
        afxwin::ListRowsWindow(list)->Bind(wxEVT_LEFT_DCLICK, [list](wxMouseEvent& e) {
            int flags = 0;
            if (list->HitTest(e.GetPosition(), flags) == wxNOT_FOUND)
                NotifyList(list, NM_DBLCLK, -1);
            e.Skip();
        });
        break;
    }
    case AfxControlKind::ScrollBar: {
        auto* bar = static_cast<wxScrollBar*>(w);
        bar->Bind(wxEVT_SCROLL_LINEUP, [bar](wxScrollEvent& e) { Scrolled(bar, SB_LINEUP, e); });
        bar->Bind(wxEVT_SCROLL_LINEDOWN, [bar](wxScrollEvent& e) { Scrolled(bar, SB_LINEDOWN, e); });
        bar->Bind(wxEVT_SCROLL_PAGEUP, [bar](wxScrollEvent& e) { Scrolled(bar, SB_PAGEUP, e); });
        bar->Bind(wxEVT_SCROLL_PAGEDOWN, [bar](wxScrollEvent& e) { Scrolled(bar, SB_PAGEDOWN, e); });
        bar->Bind(wxEVT_SCROLL_THUMBTRACK, [bar](wxScrollEvent& e) { Scrolled(bar, SB_THUMBTRACK, e); });
        bar->Bind(wxEVT_SCROLL_THUMBRELEASE, [bar](wxScrollEvent& e) { Scrolled(bar, SB_THUMBPOSITION, e); });
        bar->Bind(wxEVT_SCROLL_TOP, [bar](wxScrollEvent& e) { Scrolled(bar, SB_TOP, e); });
        bar->Bind(wxEVT_SCROLL_BOTTOM, [bar](wxScrollEvent& e) { Scrolled(bar, SB_BOTTOM, e); });
        bar->Bind(wxEVT_MOUSEWHEEL, [bar, rest = std::make_shared<int>(0)](wxMouseEvent& e) { Wheeled(bar, rest.get(), e); });
        bar->Bind(wxEVT_KEY_DOWN, [bar](wxKeyEvent& e) { KeyPressed(bar, e); });
        break;
    }
    default:
        break;
    }
}

std::unique_ptr<CWnd> GenericFor(AfxControlKind kind)
{
    switch (kind) {
    case AfxControlKind::PushButton:
    case AfxControlKind::GroupBox: return std::make_unique<CButton>();
    case AfxControlKind::Edit: return std::make_unique<CEdit>();
    case AfxControlKind::Static:
    case AfxControlKind::Picture: return std::make_unique<CStatic>();
    case AfxControlKind::ComboBox: return std::make_unique<CComboBox>();
    case AfxControlKind::ListView: return std::make_unique<CListCtrl>();
    case AfxControlKind::ScrollBar: return std::make_unique<CScrollBar>();
    case AfxControlKind::Progress: return std::make_unique<CProgressCtrl>();
    }
    return std::make_unique<CWnd>();
}

wxWindow* MakeWx(wxWindow* parent, AfxControlKind kind, const wchar_t* text, const wxRect& r, DWORD style,
                 DWORD exStyle, UINT image)
{
    const wxString label = afxwin::ToWx(text);
    const wxPoint pos = r.GetPosition();
    const wxSize size = r.GetSize();
    const long border = (exStyle & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE)) ? wxBORDER_SUNKEN : 0;
    switch (kind) {
    case AfxControlKind::PushButton:
        if ((style & BS_TYPEMASK) == BS_OWNERDRAW)
            return new AfxCanvas(parent, r);
        return new wxButton(parent, wxID_ANY, label, pos, size);
    case AfxControlKind::GroupBox: {
        long align = 0;
        if ((style & BS_CENTER) == BS_CENTER)
            align = wxALIGN_CENTRE_HORIZONTAL;
        else if (style & BS_RIGHT)
            align = wxALIGN_RIGHT;
        return new wxStaticBox(parent, wxID_ANY, label, pos, size, border | align);
    }
    case AfxControlKind::Edit: {
        long s = (style & WS_BORDER) || border ? 0 : wxBORDER_NONE;
        if (style & ES_MULTILINE)
            s |= wxTE_MULTILINE;
        if (style & ES_READONLY)
            s |= wxTE_READONLY;
        if ((style & 3) == ES_RIGHT)
            s |= wxTE_RIGHT;
        else if ((style & 3) == ES_CENTER)
            s |= wxTE_CENTRE;
        return new wxTextCtrl(parent, wxID_ANY, label, pos, size, s);
    }
    case AfxControlKind::Static: {
        long s = wxST_NO_AUTORESIZE | border;
        if ((style & SS_TYPEMASK) == SS_CENTER)
            s |= wxALIGN_CENTRE_HORIZONTAL;
        else if ((style & SS_TYPEMASK) == SS_RIGHT)
            s |= wxALIGN_RIGHT;
        auto* st = new wxStaticText(parent, wxID_ANY, wxEmptyString, pos, size, s);
        if (style & SS_NOPREFIX)
            st->SetLabelText(label);
        else
            st->SetLabel(label);
        return st;
    }
    case AfxControlKind::Picture: {
        wxBitmap bmp = afxwin::ImageBitmap((style & SS_TYPEMASK) == SS_ICON ? AfxImageKind::Icon : AfxImageKind::Bitmap, image);
        wxSize s = bmp.IsOk() && !(style & SS_CENTERIMAGE) ? bmp.GetSize() : size;
        return new wxStaticBitmap(parent, wxID_ANY, bmp.IsOk() ? wxBitmapBundle(bmp) : wxBitmapBundle(), pos, s);
    }
    case AfxControlKind::ComboBox:
        if ((style & 3) == CBS_DROPDOWNLIST)
            return new wxChoice(parent, wxID_ANY, pos, wxSize(size.x, -1));
        return new wxComboBox(parent, wxID_ANY, label, pos, wxSize(size.x, -1));
    case AfxControlKind::ListView: {
        long s = wxLC_REPORT;
        if (style & LVS_SINGLESEL)
            s |= wxLC_SINGLE_SEL;
        if (style & LVS_NOSORTHEADER)
            s |= wxLC_NO_SORT_HEADER;
        return new wxListCtrl(parent, wxID_ANY, pos, size, s);
    }
    case AfxControlKind::ScrollBar: {
        auto* bar = new wxScrollBar(parent, wxID_ANY, pos, size, (style & SBS_VERT) ? wxSB_VERTICAL : wxSB_HORIZONTAL);
        bar->SetScrollbar(0, 1, 101, 10);
        afxwin::PrepareScrollBar(bar);
        return bar;
    }
    case AfxControlKind::Progress:
        return new afxwin::AfxProgressBar(parent, r);
    }
    return new AfxCanvas(parent, r);
}

}  // namespace

namespace afxwin {

wxWindow* CreateControl(wxWindow* parent, AfxControlKind kind, int id, const wchar_t* text, const wxRect& r,
                        DWORD style, DWORD exStyle, UINT image, const wxFont* font)
{
    wxWindow* w = MakeWx(parent, kind, text, r, style, exStyle, image);
    if (font && font->IsOk())
        w->SetFont(*font);
    FitLabelToText(w);
    AfxWindowImpl* impl = Register(w, nullptr);
    impl->id = id;
    impl->kind = kind;
    impl->style = style;
    impl->exStyle = exStyle;
    impl->isControl = true;
    impl->ownerDraw = kind == AfxControlKind::PushButton && (style & BS_TYPEMASK) == BS_OWNERDRAW;
    impl->drawn = impl->ownerDraw;
    impl->generic = GenericFor(kind);
    impl->wnd = impl->generic.get();
    impl->wnd->m_hWnd = ToHwnd(w);
    if (kind == AfxControlKind::Picture)
        impl->image = nullptr;
    if (impl->drawn)
        BindDrawnEvents(w);
    BindControlEvents(w, kind);
    if (kind == AfxControlKind::PushButton && (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
        if (auto* button = dynamic_cast<wxButton*>(w))
            button->SetDefault();
    if (!(style & WS_VISIBLE))
        w->Hide();
    if (style & WS_DISABLED)
        w->Disable();
    w->Bind(wxEVT_DESTROY, [w](wxWindowDestroyEvent& e) {
        if (e.GetEventObject() == w)
            if (AfxWindowImpl* gone = Lookup(w)) {
                if (gone->wnd)
                    gone->wnd->m_hWnd = nullptr;
                Unregister(w);
            }
        e.Skip();
    });
    return w;
}

wxSize CreateTemplateControls(CWnd*, wxWindow* parent, const AfxDialogTemplate& t)
{
    wxFont font = TemplateFont(t);
    wxSize base = DialogBaseUnits(font);
    for (size_t i = 0; i < t.count; ++i) {
        const AfxDlgItem& item = t.items[i];
        wxRect r = DialogUnitsToPixels(base, item.x, item.y, item.cx, item.cy);
        CreateControl(parent, item.kind, item.id, item.text, r, item.style, item.exStyle, item.image, &font);
    }
    wxRect all = DialogUnitsToPixels(base, 0, 0, t.cx, t.cy);
    return all.GetSize();
}

// Puts a drawn window in place of a template push button, for an object that
// draws it and takes its mouse messages itself.
HWND ConvertToDrawn(HWND hwnd)
{
    AfxWindowImpl* old = Lookup(hwnd);
    if (!old || old->drawn)
        return hwnd;
    wxWindow* ow = old->wx;
    wxWindow* parent = ow->GetParent();
    auto* canvas = new AfxCanvas(parent, ow->GetRect());
    canvas->SetFont(ow->GetFont());
    canvas->SetLabel(ow->GetLabel());
    AfxWindowImpl* impl = Register(canvas, nullptr);
    impl->id = old->id;
    impl->kind = old->kind;
    impl->style = old->style;
    impl->exStyle = old->exStyle;
    impl->isControl = true;
    impl->drawn = true;
    impl->generic = std::move(old->generic);
    impl->wnd = old->wnd;
    impl->ownerDraw = impl->kind == AfxControlKind::PushButton && (impl->style & BS_TYPEMASK) == BS_OWNERDRAW;
    if (impl->generic)
        impl->generic->m_hWnd = ToHwnd(canvas);
    if (impl->wnd)
        impl->wnd->m_hWnd = ToHwnd(canvas);
    BindDrawnEvents(canvas);
    // As every window on Windows, the control hears of its new size at once.
    canvas->Bind(wxEVT_SIZE, [canvas](wxSizeEvent& e) {
        const wxSize size = canvas->GetClientSize();
        Dispatch(ToHwnd(canvas), WM_SIZE, SIZE_RESTORED, MAKELPARAM(size.x, size.y));
        e.Skip();
    });
    if (!ow->IsShown())
        canvas->Hide();
    if (!ow->IsThisEnabled())
        canvas->Disable();
    canvas->MoveAfterInTabOrder(ow);
    canvas->Bind(wxEVT_DESTROY, [canvas](wxWindowDestroyEvent& e) {
        if (e.GetEventObject() == canvas)
            if (AfxWindowImpl* gone = Lookup(canvas)) {
                if (gone->wnd)
                    gone->wnd->m_hWnd = nullptr;
                Unregister(canvas);
            }
        e.Skip();
    });
    old->wnd = nullptr;
    Unregister(ow);
    ow->Destroy();
    return ToHwnd(canvas);
}

}  // namespace afxwin
