// Windows that the program draws: a picture of the client area that paint
// and client device contexts draw into and the screen shows; and the wx
// events of such windows turned into messages.
#include <gdk/gdk.h>
#include <wx/graphics.h>

#include "internal.h"
#include "mouse_clicks.h"

#include <wx/dcgraph.h>

namespace afxwin {
bool IsDefaultCtlBrush(HBRUSH brush);
bool NotificationsSuppressed();
}

namespace {

UINT MouseFlags(const wxMouseEvent& e)
{
    UINT flags = 0;
    if (e.LeftIsDown())
        flags |= MK_LBUTTON;
    if (e.RightIsDown())
        flags |= MK_RBUTTON;
    if (e.MiddleIsDown())
        flags |= MK_MBUTTON;
    if (e.ShiftDown())
        flags |= MK_SHIFT;
    if (e.ControlDown())
        flags |= MK_CONTROL;
    return flags;
}

void SendMouse(wxWindow* w, UINT message, wxMouseEvent& e)
{
    afxwin::Dispatch(afxwin::ToHwnd(w), message, MouseFlags(e), MAKELPARAM(e.GetX(), e.GetY()));
    if (message != WM_LBUTTONDOWN && message != WM_RBUTTONDOWN)
        e.Skip();
}

// Asks `parent` for the colours of `child` (or of itself when child is null).
HBRUSH AskCtlColor(CWnd* parent, CWnd* child, UINT type, CDC& dc)
{
    AfxCtlColorRequest req{&dc, child ? child : parent, type};
    return reinterpret_cast<HBRUSH>(parent->SendMessage(WM_CTLCOLOR, 0, reinterpret_cast<LPARAM>(&req)));
}

UINT CtlColorType(const AfxWindowImpl* impl)
{
    switch (impl->kind) {
    case AfxControlKind::Edit: return CTLCOLOR_EDIT;
    case AfxControlKind::ListView:
    case AfxControlKind::ComboBox: return CTLCOLOR_LISTBOX;
    case AfxControlKind::ScrollBar: return CTLCOLOR_SCROLLBAR;
    case AfxControlKind::PushButton: return CTLCOLOR_BTN;
    default: return CTLCOLOR_STATIC;
    }
}

}  // namespace

namespace afxwin {

void EnsurePicture(AfxWindowImpl* impl)
{
    wxSize size = impl->wx->GetClientSize();
    size.x = std::max(size.x, 1);
    size.y = std::max(size.y, 1);
    if (impl->picture && impl->pictureSize == size)
        return;
    // A window moved or resized while it is being drawn keeps its picture
    // until the drawing ends; it is repainted at its new size afterwards.
    if (impl->picture && impl->pictureUsers > 0) {
        impl->invalid = true;
        impl->erase = true;
        return;
    }
    // The display keeps the picture, as it keeps the screen: a client area
    // costs the program no memory, and showing it copies nothing across.
    AfxSurface picture = NewDisplaySurface(size, BackgroundOf(impl));
    if (impl->picture) {
        // Keep what was drawn where the new picture overlaps the old one.
        cairo_t* cr = cairo_create(picture.get());
        cairo_set_source_surface(cr, impl->picture.get(), 0, 0);
        cairo_paint(cr);
        cairo_destroy(cr);
    }
    impl->picture = std::move(picture);
    impl->pictureSize = size;
    impl->invalid = true;
    impl->erase = true;
}

AfxSurface NewDisplaySurface(const wxSize& size, COLORREF ground)
{
    GdkWindow* root = gdk_get_default_root_window();
    AfxSurface surface(root ? gdk_window_create_similar_surface(root, CAIRO_CONTENT_COLOR, size.x, size.y)
                            : cairo_image_surface_create(CAIRO_FORMAT_RGB24, size.x, size.y));
    cairo_t* cr = cairo_create(surface.get());
    cairo_set_source_rgb(cr, GetRValue(ground) / 255.0, GetGValue(ground) / 255.0, GetBValue(ground) / 255.0);
    cairo_paint(cr);
    cairo_destroy(cr);
    return surface;
}

SurfaceDrawing::SurfaceDrawing(cairo_surface_t* surface) : m_cairo(cairo_create(surface))
{
    wxGraphicsContext* gc = wxGraphicsRenderer::GetCairoRenderer()->CreateContextFromNativeContext(m_cairo);
    // As wx's own window and memory contexts: a line of odd width lies on
    // the pixels it names rather than half a pixel before them, and edges stay sharp.
    gc->EnableOffset(true);
    gc->SetAntialiasMode(wxANTIALIAS_NONE);
    m_dc = std::make_unique<wxGCDC>(gc);
}

SurfaceDrawing::~SurfaceDrawing()
{
    m_dc.reset();
    cairo_destroy(m_cairo);
}

std::shared_ptr<SurfaceDrawing> OpenPictureDrawing(AfxWindowImpl* impl)
{
    EnsurePicture(impl);
    if (!impl->picture)
        return nullptr;
    if (!impl->pictureDrawing)
        impl->pictureDrawing = std::make_shared<SurfaceDrawing>(impl->picture.get());
    ++impl->pictureUsers;
    return impl->pictureDrawing;
}

void ClosePictureDrawing(AfxWindowImpl* impl)
{
    if (impl->pictureUsers <= 0 || --impl->pictureUsers > 0)
        return;
    impl->pictureDrawing.reset();
}

COLORREF BackgroundOf(AfxWindowImpl* impl)
{
    CWnd* wnd = impl->wnd;
    if (!wnd)
        return RGB(240, 240, 240);
    CDC dc;
    if (impl->isControl) {
        CWnd* parent = wnd->GetParent();
        if (!parent)
            return RGB(240, 240, 240);
        HBRUSH brush = AskCtlColor(parent, wnd, CtlColorType(impl), dc);
        if (!IsDefaultCtlBrush(brush) && !afxwin::Internals::BrushHollow(CBrush::FromHandle(brush)))
            return afxwin::Internals::BrushColour(CBrush::FromHandle(brush));
        AfxWindowImpl* parentImpl = Lookup(parent->m_hWnd);
        return parentImpl ? BackgroundOf(parentImpl) : RGB(240, 240, 240);
    }
    HBRUSH brush = AskCtlColor(wnd, nullptr, CTLCOLOR_DLG, dc);
    if (!IsDefaultCtlBrush(brush) && !afxwin::Internals::BrushHollow(CBrush::FromHandle(brush)))
        return afxwin::Internals::BrushColour(CBrush::FromHandle(brush));
    return RGB(240, 240, 240);
}

void PaintNow(AfxWindowImpl* impl)
{
    EnsurePicture(impl);
    HWND hwnd = ToHwnd(impl->wx);
    if (impl->erase) {
        impl->erase = false;
        impl->painting = true;
        CClientDC dc(impl->wnd);
        Dispatch(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(&dc), 0);
    }
    if (!Lookup(hwnd))
        return;
    impl->invalid = false;
    impl->painting = true;
    Dispatch(hwnd, WM_PAINT, 0, 0);
    if (AfxWindowImpl* still = Lookup(hwnd)) {
        still->painting = false;
        // The colours a dialog or form gives its controls may have changed since.
        if (!still->isControl && still->wnd)
            ApplyControlColours(still->wnd);
    }
}

void KeepDefaultAttributes(wxWindow* w)
{
    // A paint context takes its window's font and colours; ones the window only
    // inherits are looked up in the GTK theme (making GTK objects) for every
    // paint of it, and of its top-level window around it.
    w->SetOwnFont(w->GetFont());
    w->SetOwnForegroundColour(w->GetForegroundColour());
    w->SetOwnBackgroundColour(w->GetBackgroundColour());
}

void BindDrawnEvents(wxWindow* w)
{
    w->SetBackgroundStyle(wxBG_STYLE_PAINT);
    KeepDefaultAttributes(w);
    w->Bind(wxEVT_PAINT, [w](wxPaintEvent&) {
        wxPaintDC screen(w);
        AfxWindowImpl* impl = Lookup(w);
        if (!impl)
            return;
        EnsurePicture(impl);
        if (impl->invalid)
            PaintNow(impl);
        impl = Lookup(w);
        wxGraphicsContext* gc = screen.GetGraphicsContext();
        if (impl && impl->picture && gc) {
            auto* cr = static_cast<cairo_t*>(gc->GetNativeContext());
            cairo_save(cr);
            cairo_set_source_surface(cr, impl->picture.get(), 0, 0);
            cairo_paint(cr);
            cairo_restore(cr);
        }
    });
    w->Bind(wxEVT_LEFT_DOWN, [w](wxMouseEvent& e) {
        afxwin::Dispatch(afxwin::ToHwnd(w), afxwin::LeftPressMessage(w, e), MouseFlags(e), MAKELPARAM(e.GetX(), e.GetY()));
    });
    w->Bind(wxEVT_LEFT_UP, [w](wxMouseEvent& e) { SendMouse(w, WM_LBUTTONUP, e); });
    w->Bind(wxEVT_LEFT_DCLICK, [w](wxMouseEvent& e) {
        if (UINT message = afxwin::LeftDoubleClickMessage(w, e))
            SendMouse(w, message, e);
    });
    w->Bind(wxEVT_RIGHT_DOWN, [w](wxMouseEvent& e) {
        afxwin::OtherButtonPressed();
        SendMouse(w, WM_RBUTTONDOWN, e);
    });
    w->Bind(wxEVT_RIGHT_UP, [w](wxMouseEvent& e) { SendMouse(w, WM_RBUTTONUP, e); });
    w->Bind(wxEVT_MOTION, [w](wxMouseEvent& e) { SendMouse(w, WM_MOUSEMOVE, e); });
    w->Bind(wxEVT_MOUSE_CAPTURE_LOST, [](wxMouseCaptureLostEvent&) {});
}

void ApplyControlColours(CWnd* parent)
{
    wxWindow* pw = parent ? afxwin::Internals::Wx(parent) : nullptr;
    if (!pw)
        return;
    for (wxWindow* child : pw->GetChildren()) {
        AfxWindowImpl* impl = Lookup(child);
        if (!impl || !impl->isControl || !impl->wnd || impl->drawn)
            continue;
        CDC dc;
        const COLORREF text0 = afxwin::Internals::TextColour(dc);
        HBRUSH brush = AskCtlColor(parent, impl->wnd, CtlColorType(impl), dc);
        if (!Lookup(child))
            continue;
        bool changed = false;
        if (afxwin::Internals::TextColour(dc) != text0 && child->GetForegroundColour() != ToWxColour(afxwin::Internals::TextColour(dc)))
            changed = child->SetForegroundColour(ToWxColour(afxwin::Internals::TextColour(dc)));
        // A drop-down list's brush paints its list, not the face that shows the
        // choice: GTK would paint a patch of it behind the chosen text.
        if (!IsDefaultCtlBrush(brush) && !afxwin::Internals::BrushHollow(CBrush::FromHandle(brush)) &&
            impl->kind != AfxControlKind::Edit && impl->kind != AfxControlKind::ScrollBar &&
            impl->kind != AfxControlKind::ComboBox) {
            // The brush paints the control; the context's background colour only
            // lies behind the text, which wx controls do not tell apart.
            COLORREF bk = afxwin::Internals::BrushColour(CBrush::FromHandle(brush));
            if (child->GetBackgroundColour() != ToWxColour(bk))
                changed = child->SetBackgroundColour(ToWxColour(bk)) || changed;
        }
        if (changed)
            child->Refresh();
    }
}

}  // namespace afxwin
