#include "internal.h"

IMPLEMENT_DYNAMIC(CGdiObject, CObject)
IMPLEMENT_DYNAMIC(CPen, CGdiObject)
IMPLEMENT_DYNAMIC(CBrush, CGdiObject)
IMPLEMENT_DYNAMIC(CFont, CGdiObject)
IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)

CGdiObject::~CGdiObject() = default;

BOOL CGdiObject::DeleteObject()
{
    if (!m_created)
        return FALSE;
    ReleaseContents();
    m_created = false;
    return TRUE;
}

HGDIOBJ CGdiObject::GetSafeHandle() const
{
    return m_created ? reinterpret_cast<HGDIOBJ>(const_cast<CGdiObject*>(this)) : nullptr;
}

CPen::~CPen() = default;

BOOL CPen::CreatePen(int style, int width, COLORREF color)
{
    if (m_created)
        return FALSE;
    m_style = style;
    m_width = width;
    m_color = color;
    m_created = true;
    return TRUE;
}

CBrush::~CBrush() = default;

BOOL CBrush::CreateSolidBrush(COLORREF color)
{
    if (m_created)
        return FALSE;
    m_color = color;
    m_hollow = false;
    m_created = true;
    return TRUE;
}

BOOL CBrush::CreateStockHollow()
{
    if (m_created)
        return FALSE;
    m_hollow = true;
    m_created = true;
    return TRUE;
}

HBRUSH CreateSolidBrush(COLORREF color)
{
    auto* brush = new CBrush(color);
    return static_cast<HBRUSH>(*brush);
}

namespace {

CGdiObject* Stock(int index)
{
    static CBrush white(RGB(255, 255, 255)), ltgray(RGB(192, 192, 192)), gray(RGB(128, 128, 128)),
        dkgray(RGB(64, 64, 64)), black(RGB(0, 0, 0));
    static CBrush hollow;
    static CPen whitePen(PS_SOLID, 1, RGB(255, 255, 255)), blackPen(PS_SOLID, 1, 0), nullPen(PS_NULL, 1, 0);
    static CFont systemFont;
    if (hollow.IsNull())
        afxwin::Internals::CreateStockHollow(hollow);
    if (systemFont.IsNull())
        systemFont.CreateFont(-13, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, VARIABLE_PITCH, L"System");
    static CFont guiFont;
    if (guiFont.IsNull())
        guiFont.CreateFont(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, VARIABLE_PITCH, L"MS Shell Dlg");
    switch (index) {
    case WHITE_BRUSH: return &white;
    case LTGRAY_BRUSH: return &ltgray;
    case GRAY_BRUSH: return &gray;
    case DKGRAY_BRUSH: return &dkgray;
    case BLACK_BRUSH: return &black;
    case NULL_BRUSH: return &hollow;
    case WHITE_PEN: return &whitePen;
    case BLACK_PEN: return &blackPen;
    case NULL_PEN: return &nullPen;
    case SYSTEM_FONT: return &systemFont;
    case DEFAULT_GUI_FONT: return &guiFont;
    default: return nullptr;
    }
}

}  // namespace

namespace afxwin {
CGdiObject* StockObject(int index)
{
    return Stock(index);
}
}  // namespace afxwin

BOOL DeleteObject(HGDIOBJ object)
{
    if (!object)
        return FALSE;
    auto* o = reinterpret_cast<CGdiObject*>(object);
    for (int i = 0; i <= DEFAULT_GUI_FONT; ++i)
        if (Stock(i) == o)
            return TRUE;
    if (auto* brush = dynamic_cast<CBrush*>(o)) {
        delete brush;   // made by ::CreateSolidBrush
        return TRUE;
    }
    return o->DeleteObject();
}

CFont::CFont() = default;
CFont::~CFont()
{
    DeleteObject();
}

void CFont::ReleaseContents()
{
    afxwin::OnUi([&] { m_font.reset(); });
}

BOOL CFont::CreateFontIndirect(const LOGFONT* logFont)
{
    if (m_created || !logFont)
        return FALSE;
    m_logFont = *logFont;
    m_logFont.lfFaceName[LF_FACESIZE - 1] = 0;
    afxwin::OnUi([&] { m_font = std::make_unique<wxFont>(afxwin::FontFor(m_logFont)); });
    m_created = true;
    return TRUE;
}

BOOL CFont::CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                       BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision,
                       BYTE quality, BYTE pitchAndFamily, LPCTSTR faceName)
{
    LOGFONT lf{};
    lf.lfHeight = height;
    lf.lfWidth = width;
    lf.lfEscapement = escapement;
    lf.lfOrientation = orientation;
    lf.lfWeight = weight;
    lf.lfItalic = italic;
    lf.lfUnderline = underline;
    lf.lfStrikeOut = strikeOut;
    lf.lfCharSet = charSet;
    lf.lfOutPrecision = outPrecision;
    lf.lfClipPrecision = clipPrecision;
    lf.lfQuality = quality;
    lf.lfPitchAndFamily = pitchAndFamily;
    for (int i = 0; faceName && i < LF_FACESIZE - 1 && faceName[i]; ++i)
        lf.lfFaceName[i] = faceName[i];
    return CreateFontIndirect(&lf);
}

BOOL CFont::CreatePointFont(int pointSize, LPCTSTR faceName, CDC*)
{
    return CreateFont(-MulDiv(pointSize, 96, 720), 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, faceName);
}

int CFont::GetLogFont(LOGFONT* out) const
{
    if (!m_created || !out)
        return 0;
    *out = m_logFont;
    return static_cast<int>(sizeof(LOGFONT));
}

const wxFont& CFont::WxFont() const
{
    return m_font ? *m_font : *wxNORMAL_FONT;
}

CBitmap::CBitmap() = default;
CBitmap::~CBitmap()
{
    DeleteObject();
}

void CBitmap::ReleaseContents()
{
    afxwin::OnUi([&] {
        m_bitmap.reset();
        if (m_surface)
            cairo_surface_destroy(m_surface);
        m_surface = nullptr;
        m_surfaceSize = CSize();
    });
}

BOOL CBitmap::LoadBitmap(UINT id)
{
    if (m_created)
        return FALSE;
    bool loaded = afxwin::OnUi([&] {
        wxBitmap bmp = afxwin::ImageBitmap(AfxImageKind::Bitmap, id);
        if (bmp.IsOk())
            m_bitmap = std::make_unique<wxBitmap>(bmp);
        return bmp.IsOk();
    });
    m_created = loaded;
    return loaded ? TRUE : FALSE;
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height)
{
    // One compatible with a window is kept where the window's own picture is.
    if (!dynamic_cast<CClientDC*>(dc) && !dynamic_cast<CPaintDC*>(dc))
        return CreateBitmap(width, height);
    if (m_created || width <= 0 || height <= 0 || width > 32767 || height > 32767)
        return FALSE;
    afxwin::OnUi([&] {
        m_surface = afxwin::NewDisplaySurface(wxSize(width, height), RGB(0, 0, 0)).release();
        m_surfaceSize = CSize(width, height);
    });
    m_created = true;
    return TRUE;
}

BOOL CBitmap::CreateBitmap(int width, int height)
{
    if (m_created || width <= 0 || height <= 0 || width > 32767 || height > 32767)
        return FALSE;
    afxwin::OnUi([&] {
        m_bitmap = std::make_unique<wxBitmap>(width, height, 24);
        wxMemoryDC dc(*m_bitmap);
        dc.SetBackground(*wxBLACK_BRUSH);
        dc.Clear();
    });
    m_created = true;
    return TRUE;
}

CSize CBitmap::GetBitmapDimension() const
{
    return afxwin::OnUi([&] {
        if (m_surface)
            return m_surfaceSize;
        return m_bitmap ? CSize(m_bitmap->GetWidth(), m_bitmap->GetHeight()) : CSize(0, 0);
    });
}

wxBitmap& CBitmap::WxBitmap()
{
    return m_bitmap ? *m_bitmap : const_cast<wxBitmap&>(wxNullBitmap);
}

