#include <cmath>
#include <cstdio>
#include <vector>

#include <wx/graphics.h>

#include "internal.h"
#include "printer_device.h"
#include "printer_text.h"

#include <wx/dcgraph.h>

IMPLEMENT_DYNAMIC(CDC, CObject)
IMPLEMENT_DYNAMIC(CPaintDC, CDC)
IMPLEMENT_DYNAMIC(CClientDC, CDC)

namespace afxwin {
CGdiObject* StockObject(int index);
}

namespace {

wxMemoryDC& MeasuringDC()
{
    static wxBitmap* bitmap = new wxBitmap(8, 8, 24);
    static wxMemoryDC* dc = new wxMemoryDC(*bitmap);
    return *dc;
}

void NoAntialias(wxDC* dc)
{
    if (wxGraphicsContext* gc = dc->GetGraphicsContext())
        gc->SetAntialiasMode(wxANTIALIAS_NONE);
}

wxPen WxPen(const CPen* pen)
{
    if (!pen || pen->IsNull())
        return wxPen(*wxBLACK, 1);
    if (afxwin::Internals::PenStyle(pen) == PS_NULL)
        return *wxTRANSPARENT_PEN;
    int width = pen->m_width < 1 ? 1 : pen->m_width;
    wxPenStyle style = wxPENSTYLE_SOLID;
    if (width == 1) {
        switch (afxwin::Internals::PenStyle(pen)) {
        case PS_DASH: style = wxPENSTYLE_SHORT_DASH; break;
        case PS_DOT: style = wxPENSTYLE_DOT; break;
        case PS_DASHDOT:
        case PS_DASHDOTDOT: style = wxPENSTYLE_DOT_DASH; break;
        default: break;
        }
    }
    wxPen wxp(afxwin::ToWxColour(afxwin::Internals::PenColour(pen)), width, style);
    wxp.SetCap(width == 1 ? wxCAP_BUTT : wxCAP_ROUND);
    return wxp;
}

}  // namespace

CDC::CDC() = default;

CDC::~CDC()
{
    DeleteDC();
}

void CDC::Attach(wxDC* dc, bool owned)
{
    afxwin::RequireUiThread("CDC::Attach");
    m_dc = dc;
    m_ownsDC = owned;
    m_hDC = reinterpret_cast<HDC>(this);
    if (m_dc)
        NoAntialias(m_dc);
}

BOOL CDC::CreateCompatibleDC(CDC*)
{
    return afxwin::OnUi([&]() -> BOOL {
        if (m_dc)
            return FALSE;
        m_memory = new wxMemoryDC();
        Attach(m_memory, true);
        return TRUE;
    });
}

BOOL CDC::DeleteDC()
{
    return afxwin::OnUi([&]() -> BOOL {
        if (!m_hDC)
            return FALSE;
        if (m_attached) {
            ::DeleteDC(Detach());
            return TRUE;
        }
        if (m_ownsPrinter)
            delete m_printer;   // abandons a document that was not ended
        m_printer = nullptr;
        m_ownsPrinter = false;
        m_bPrinting = FALSE;
        if (m_ownsDC) {
            LeaveDisplaySurface();
            if (auto* mem = dynamic_cast<wxMemoryDC*>(m_memory))
                mem->SelectObject(wxNullBitmap);
            delete m_memory;
        }
        m_memory = nullptr;
        m_dc = nullptr;
        m_ownsDC = false;
        m_hDC = nullptr;
        return TRUE;
    });
}

void CDC::NoteDrawn(int x, int y, int cx, int cy)
{
    if (cx <= 0 || cy <= 0)
        return;
    const CRect r(x, y, x + cx, y + cy);
    if (m_drawn.right <= m_drawn.left || m_drawn.bottom <= m_drawn.top)
        m_drawn = r;
    else
        m_drawn = CRect(std::min(m_drawn.left, r.left), std::min(m_drawn.top, r.top), std::max(m_drawn.right, r.right),
                        std::max(m_drawn.bottom, r.bottom));
}

wxDC& CDC::Measuring() const
{
    if (m_memory)
        return *m_memory;
    return m_dc && !m_showsWindow ? *m_dc : MeasuringDC();
}

void CDC::LeaveDisplaySurface()
{
    if (!m_drawing || m_showsWindow)
        return;
    m_dc = m_memory;
    m_drawing.reset();
}

// ---- state ----

void CDC::ApplyPen()
{
    m_dc->SetPen(WxPen(m_state.pen));
}

void CDC::ApplyBrush()
{
    CBrush* brush = m_state.brush;
    if (!brush || brush->IsNull())
        m_dc->SetBrush(*wxWHITE_BRUSH);
    else if (brush->m_hollow)
        m_dc->SetBrush(*wxTRANSPARENT_BRUSH);
    else
        m_dc->SetBrush(wxBrush(afxwin::ToWxColour(brush->m_color)));
}

void CDC::ApplyFont()
{
    CFont* font = m_state.font;
    if (!font || font->IsNull())
        font = static_cast<CFont*>(afxwin::StockObject(SYSTEM_FONT));
    m_dc->SetFont(font->WxFont());
}

void CDC::ApplyState()
{
    ApplyPen();
    ApplyBrush();
    ApplyFont();
    m_dc->SetTextForeground(afxwin::ToWxColour(m_state.textColor));
    m_dc->SetTextBackground(afxwin::ToWxColour(m_state.bkColor));
    m_dc->SetBackgroundMode(m_state.bkMode == OPAQUE ? wxBRUSHSTYLE_SOLID : wxBRUSHSTYLE_TRANSPARENT);
}

CPen* CDC::SelectObject(CPen* pen)
{
    return afxwin::OnUi([&]() -> CPen* {
        CPen* old = m_state.pen ? m_state.pen : static_cast<CPen*>(afxwin::StockObject(BLACK_PEN));
        m_state.pen = pen;
        return old;
    });
}

CBrush* CDC::SelectObject(CBrush* brush)
{
    return afxwin::OnUi([&]() -> CBrush* {
        CBrush* old = m_state.brush ? m_state.brush : static_cast<CBrush*>(afxwin::StockObject(WHITE_BRUSH));
        m_state.brush = brush;
        return old;
    });
}

CFont* CDC::SelectObject(CFont* font)
{
    return afxwin::OnUi([&]() -> CFont* {
        CFont* old = m_state.font ? m_state.font : static_cast<CFont*>(afxwin::StockObject(SYSTEM_FONT));
        m_state.font = font;
        return old;
    });
}

CBitmap* CDC::SelectObject(CBitmap* bitmap)
{
    return afxwin::OnUi([&]() -> CBitmap* {
        CBitmap* old = m_state.bitmap;
        auto* mem = dynamic_cast<wxMemoryDC*>(m_memory);
        if (!mem || !m_ownsDC)
            return nullptr;
        if (bitmap == m_state.bitmap)
            return old;
        LeaveDisplaySurface();
        mem->SelectObject(wxNullBitmap);
        if (bitmap && !bitmap->IsNull()) {
            if (cairo_surface_t* surface = bitmap->DisplaySurface()) {
                m_drawing = std::make_shared<afxwin::SurfaceDrawing>(surface);
                m_dc = &m_drawing->DC();
            } else {
                mem->SelectObject(bitmap->WxBitmap());
                NoAntialias(mem);
            }
        }
        m_state.bitmap = bitmap;
        return old;
    });
}

CGdiObject* CDC::SelectStockObject(int index)
{
    return afxwin::OnUi([&]() -> CGdiObject* {
        CGdiObject* object = afxwin::StockObject(index);
        if (auto* pen = dynamic_cast<CPen*>(object))
            return SelectObject(pen);
        if (auto* brush = dynamic_cast<CBrush*>(object))
            return SelectObject(brush);
        if (auto* font = dynamic_cast<CFont*>(object))
            return SelectObject(font);
        return nullptr;
    });
}

int CDC::SaveDC()
{
    return afxwin::OnUi([&]() -> int {
        m_savedStates.push_back({m_state, m_pos});
        return static_cast<int>(m_savedStates.size());
    });
}

BOOL CDC::RestoreDC(int savedDC)
{
    return afxwin::OnUi([&]() -> BOOL {
        int n = static_cast<int>(m_savedStates.size());
        if (savedDC < 0)
            savedDC = n + 1 + savedDC;
        if (savedDC < 1 || savedDC > n)
            return FALSE;
        auto saved = m_savedStates[static_cast<size_t>(savedDC - 1)];
        m_savedStates.resize(static_cast<size_t>(savedDC - 1));
        if (saved.first.bitmap != m_state.bitmap)
            SelectObject(saved.first.bitmap);
        m_state = saved.first;
        m_pos = saved.second;
        return TRUE;
    });
}

COLORREF CDC::SetTextColor(COLORREF color)
{
    return afxwin::OnUi([&]() -> COLORREF {
        COLORREF old = m_state.textColor;
        m_state.textColor = color;
        return old;
    });
}

COLORREF CDC::SetBkColor(COLORREF color)
{
    return afxwin::OnUi([&]() -> COLORREF {
        COLORREF old = m_state.bkColor;
        m_state.bkColor = color;
        return old;
    });
}

int CDC::SetBkMode(int mode)
{
    return afxwin::OnUi([&]() -> int {
        int old = m_state.bkMode;
        if (mode == OPAQUE || mode == TRANSPARENT)
            m_state.bkMode = mode;
        return old;
    });
}

UINT CDC::SetTextAlign(UINT flags)
{
    return afxwin::OnUi([&]() -> UINT {
        UINT old = m_state.textAlign;
        m_state.textAlign = flags;
        return old;
    });
}

int CDC::SetMapMode(int mode)
{
    // Logical units are device pixels with the origin at (0, 0); no other mapping is drawn.
    if (mode != MM_TEXT) {
        afxwin::Unsupported("CDC::SetMapMode", "only MM_TEXT is offered");
        return 0;
    }
    return MM_TEXT;
}

int CDC::GetDeviceCaps(int index) const
{
    return afxwin::OnUi([&]() -> int {
        if (m_printer)
            return m_printer->Caps(index);
        switch (index) {
        case LOGPIXELSX:
        case LOGPIXELSY: return m_logPixels;
        case HORZRES:
        case PHYSICALWIDTH: return wxGetDisplaySize().x;
        case VERTRES:
        case PHYSICALHEIGHT: return wxGetDisplaySize().y;
        case HORZSIZE: return MulDiv(wxGetDisplaySize().x, 254, m_logPixels * 10);
        case VERTSIZE: return MulDiv(wxGetDisplaySize().y, 254, m_logPixels * 10);
        case BITSPIXEL: return 24;
        default: return 0;
        }
    });
}

// ---- drawing ----

CPoint CDC::MoveTo(int x, int y)
{
    return afxwin::OnUi([&]() -> CPoint {
        CPoint old = m_pos;
        m_pos = CPoint(x, y);
        return old;
    });
}

BOOL CDC::LineTo(int x, int y)
{
    return afxwin::OnUi([&]() -> BOOL {
        if (m_dc) {
            const wxPen pen = WxPen(m_state.pen);
            if (!m_printer || !m_printer->Line(pen, wxPoint(m_pos.x, m_pos.y), wxPoint(x, y))) {
                m_dc->SetPen(pen);
                m_dc->DrawLine(m_pos.x, m_pos.y, x, y);
            }
        }
        m_pos = CPoint(x, y);
        return m_dc != nullptr;
    });
}

BOOL CDC::Polyline(const POINT* points, int count)
{
    return afxwin::OnUi([&]() -> BOOL {
        if (!m_dc || !points || count < 2)
            return FALSE;
        ApplyPen();
        std::vector<wxPoint> pts;
        for (int i = 0; i < count; ++i)
            pts.emplace_back(points[i].x, points[i].y);
        m_dc->DrawLines(static_cast<int>(pts.size()), pts.data());
        return TRUE;
    });
}

BOOL CDC::Rectangle(int x1, int y1, int x2, int y2)
{
    return afxwin::OnUi([&]() -> BOOL {
        if (!m_dc)
            return FALSE;
        ApplyPen();
        ApplyBrush();
        m_dc->DrawRectangle(x1, y1, x2 - x1, y2 - y1);
        return TRUE;
    });
}

BOOL CDC::Ellipse(int x1, int y1, int x2, int y2)
{
    return afxwin::OnUi([&]() -> BOOL {
        if (!m_dc)
            return FALSE;
        ApplyPen();
        ApplyBrush();
        m_dc->DrawEllipse(x1, y1, x2 - x1, y2 - y1);
        return TRUE;
    });
}

void CDC::FillSolidRect(LPCRECT r, COLORREF color)
{
    afxwin::OnUi([&]() {
        if (r)
            FillSolidRect(r->left, r->top, r->right - r->left, r->bottom - r->top, color);
    });
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color)
{
    afxwin::OnUi([&]() {
        // As on Windows, the fill leaves its colour as the background colour.
        m_state.bkColor = color;
        if (!m_dc)
            return;
        m_dc->SetPen(*wxTRANSPARENT_PEN);
        m_dc->SetBrush(wxBrush(afxwin::ToWxColour(color)));
        m_dc->DrawRectangle(x, y, cx, cy);
    });
}



COLORREF CDC::GetPixel(int x, int y) const
{
    return afxwin::OnUi([&]() -> COLORREF {
        wxGraphicsContext* gc = m_dc && (m_showsWindow || m_memory) ? m_dc->GetGraphicsContext() : nullptr;
        if (!gc)
            return CLR_INVALID;
        return afxwin::SurfacePixel(cairo_get_target(static_cast<cairo_t*>(gc->GetNativeContext())), x, y);
    });
}

namespace {

CFont* FontOrSystem(CFont* font)
{
    return font && !font->IsNull() ? font : static_cast<CFont*>(afxwin::StockObject(SYSTEM_FONT));
}

}  // namespace

BOOL CDC::TextOut(int x, int y, LPCTSTR text, int length)
{
    return afxwin::OnUi([&]() -> BOOL {
        if (!m_dc || !text || length < 0)
            return FALSE;
        wxString s(text, static_cast<size_t>(length));
        CFont* font = FontOrSystem(m_state.font);
        afxwin::PrinterText* printed = m_printer ? m_printer->Text() : nullptr;
        wxDC& measuring = Measuring();
        const afxwin::FontLook fontLook =
            printed ? printed->LookOfFont(*m_dc, *font) : afxwin::LookOfFont(measuring, *font);
        const afxwin::TextLook look =
            printed ? printed->LookOfText(*m_dc, *font, s) : afxwin::LookOfText(measuring, *font, s);
        const int w = look.width, h = look.natural.y;
        UINT horizontal = m_state.textAlign & 6u;
        UINT vertical = m_state.textAlign & 24u;
        if (horizontal == TA_CENTER)
            x -= w / 2;
        else if (horizontal == TA_RIGHT)
            x -= w;
        if (vertical == TA_BASELINE)
            y -= fontLook.metrics.ascent;
        else if (vertical == TA_BOTTOM)
            y -= h;
        // Pictures draw texts on the screen's terms; a printer takes them as text.
        if (fontLook.scale == 1.0 && !m_showsWindow && !m_memory) {
            if (printed && printed->Draw(*m_dc, *font, s, x, y, m_state.textColor,
                                         m_state.bkMode == OPAQUE ? &m_state.bkColor : nullptr))
                return TRUE;
            ApplyState();
            m_dc->DrawText(s, x, y);
            return TRUE;
        }
        if (m_state.bkMode == OPAQUE) {
            m_dc->SetPen(*wxTRANSPARENT_PEN);
            m_dc->SetBrush(wxBrush(afxwin::ToWxColour(m_state.bkColor)));
            m_dc->DrawRectangle(x, y, w, h);
        }
        const wxBitmap picture = afxwin::TextPicture(measuring, *font, s, m_state.textColor);
        if (picture.IsOk()) {
            m_dc->DrawBitmap(picture, x, y, true);
            NoteDrawn(x, y, picture.GetWidth(), picture.GetHeight());
        }
        return TRUE;
    });
}

BOOL CDC::TextOut(int x, int y, const CString& text)
{
    return afxwin::OnUi([&]() -> BOOL {
        return TextOut(x, y, text.GetString(), text.GetLength());
    });
}

int CDC::DrawText(const CString& text, LPRECT r, UINT format)
{
    return afxwin::OnUi([&]() -> int {
        if (!r)
            return 0;
        CSize size = GetTextExtent(text);
        int x = r->left, y = r->top;
        if (format & DT_CENTER)
            x = (r->left + r->right - size.cx) / 2;
        else if (format & DT_RIGHT)
            x = r->right - size.cx;
        if ((format & DT_SINGLELINE) && (format & DT_VCENTER))
            y = (r->top + r->bottom - size.cy) / 2;
        else if ((format & DT_SINGLELINE) && (format & DT_BOTTOM))
            y = r->bottom - size.cy;
        UINT align = m_state.textAlign;
        m_state.textAlign = 0;
        TextOut(x, y, text);
        m_state.textAlign = align;
        return size.cy;
    });
}

CSize CDC::GetTextExtent(LPCTSTR text, int length) const
{
    return afxwin::OnUi([&]() -> CSize {
        if (!text || length <= 0) {
            TEXTMETRIC tm{};
            GetTextMetrics(&tm);
            return CSize(0, tm.tmHeight);
        }
        wxDC* dc = &Measuring();
        CFont* font = FontOrSystem(m_state.font);
        const wxString s(text, static_cast<size_t>(length));
        afxwin::PrinterText* printed = m_dc && m_printer ? m_printer->Text() : nullptr;
        const afxwin::TextLook look = printed ? printed->LookOfText(*dc, *font, s) : afxwin::LookOfText(*dc, *font, s);
        return CSize(look.width, look.natural.y);
    });
}

CSize CDC::GetTextExtent(const CString& text) const
{
    return afxwin::OnUi([&]() -> CSize {
        return GetTextExtent(text.GetString(), text.GetLength());
    });
}

BOOL CDC::GetTextMetrics(LPTEXTMETRIC metrics) const
{
    return afxwin::OnUi([&]() -> BOOL {
        if (!metrics)
            return FALSE;
        wxDC* dc = &Measuring();
        CFont* font = FontOrSystem(m_state.font);
        afxwin::PrinterText* printed = m_dc && m_printer ? m_printer->Text() : nullptr;
        const afxwin::FontLook look = printed ? printed->LookOfFont(*dc, *font) : afxwin::LookOfFont(*dc, *font);
        const wxFontMetrics& m = look.metrics;
        metrics->tmHeight = m.height;
        metrics->tmAscent = m.ascent;
        metrics->tmDescent = m.descent;
        metrics->tmInternalLeading = m.internalLeading;
        metrics->tmExternalLeading = m.externalLeading;
        auto scaled = [&](int width) {
            return look.scale == 1.0 ? width : std::max(1, static_cast<int>(std::lround(width * look.scale)));
        };
        metrics->tmAveCharWidth = scaled(m.averageWidth);
        metrics->tmMaxCharWidth = scaled(look.widestChar);
        metrics->tmWeight = font->WxFont().GetNumericWeight();
        return TRUE;
    });
}

BOOL CDC::BitBlt(int x, int y, int w, int h, CDC* src, int xSrc, int ySrc, DWORD rop)
{
    return afxwin::OnUi([&]() -> BOOL {
        if (!m_dc)
            return FALSE;
        if (rop == BLACKNESS || rop == WHITENESS) {
            COLORREF keep = m_state.bkColor;
            FillSolidRect(x, y, w, h, rop == BLACKNESS ? RGB(0, 0, 0) : RGB(255, 255, 255));
            m_state.bkColor = keep;
            return TRUE;
        }
        if (rop != SRCCOPY) {
            afxwin::Unsupported("CDC::BitBlt", "only SRCCOPY, BLACKNESS and WHITENESS are offered");
            return FALSE;
        }
        if (!src || !src->m_dc || w <= 0 || h <= 0)
            return FALSE;
        // Onto a window, only what changes is copied and shown again; comparing
        // is not worth it for a small copy.
        const wxRect to(x, y, w, h);
        const wxRect changed = m_showsWindow && w * h >= 4096
                                   ? afxwin::ChangedByCopy(*m_dc, to, *src->m_dc, wxPoint(xSrc, ySrc))
                                   : to;
        if (changed.IsEmpty())
            return TRUE;
        NoteDrawn(changed.x, changed.y, changed.width, changed.height);
        const wxPoint from(xSrc + changed.x - x, ySrc + changed.y - y);
        if (afxwin::CopyOntoDisplay(*m_dc, changed, *src->m_dc, from))
            return TRUE;
        // wx copies between its own memory and window contexts only; a picture the display keeps is copied here.
        if ((m_drawing || src->m_drawing) && afxwin::CopyBetweenSurfaces(*m_dc, changed, *src->m_dc, from))
            return TRUE;
        return m_dc->Blit(changed.x, changed.y, changed.width, changed.height, src->m_dc, from.x, from.y, wxCOPY);
    });
}

// ---- window contexts ----

namespace {

std::shared_ptr<afxwin::SurfaceDrawing> OpenPicture(CWnd* wnd)
{
    AfxWindowImpl* impl = wnd ? afxwin::Lookup(wnd->m_hWnd) : nullptr;
    return impl ? afxwin::OpenPictureDrawing(impl) : nullptr;
}

// `noted`: what the context drew that wx does not count (copies, pictures).
void ClosePicture(HWND hwnd, wxDC& dc, const CRect& noted)
{
    AfxWindowImpl* impl = afxwin::Lookup(hwnd);
    if (!impl || impl->pictureUsers <= 0)
        return;
    // Only what was drawn goes to the screen: a window-sized refresh for every
    // small drawing would repaint every control each time. wx counts lines,
    // shapes and texts (without the pen's width); the context noted the rest.
    wxRect drawn;
    if (dc.MaxX() >= dc.MinX() && dc.MaxY() >= dc.MinY() && (dc.MaxX() > 0 || dc.MaxY() > 0))
        drawn = wxRect(wxPoint(dc.MinX(), dc.MinY()), wxPoint(dc.MaxX(), dc.MaxY())).Inflate(2);
    if (noted.right > noted.left && noted.bottom > noted.top)
        drawn.Union(wxRect(noted.left, noted.top, noted.Width(), noted.Height()));
    afxwin::ClosePictureDrawing(impl);
    if (drawn.IsEmpty() || impl->painting)
        return;
    impl->wx->RefreshRect(drawn, false);
}

}  // namespace

CPaintDC::CPaintDC(CWnd* wnd) : m_wnd(wnd)
{
    m_hwnd = wnd ? wnd->m_hWnd : nullptr;
    m_showsWindow = true;
    afxwin::OnUi([&] {
        if ((m_drawing = OpenPicture(wnd)))
            Attach(&m_drawing->DC(), false);
        if (AfxWindowImpl* impl = afxwin::Lookup(m_hwnd))
            impl->invalid = false;
    });
}

CPaintDC::~CPaintDC()
{
    afxwin::OnUi([&] {
        if (m_drawing)
            ClosePicture(m_hwnd, m_drawing->DC(), m_drawn);
        m_drawing.reset();
        m_dc = nullptr;
    });
}

CClientDC::CClientDC(CWnd* wnd) : m_wnd(wnd)
{
    m_hwnd = wnd ? wnd->m_hWnd : nullptr;
    m_showsWindow = true;
    afxwin::OnUi([&] {
        if ((m_drawing = OpenPicture(wnd)))
            Attach(&m_drawing->DC(), false);
    });
}

CClientDC::~CClientDC()
{
    afxwin::OnUi([&] {
        if (m_drawing)
            ClosePicture(m_hwnd, m_drawing->DC(), m_drawn);
        m_drawing.reset();
        m_dc = nullptr;
    });
}
