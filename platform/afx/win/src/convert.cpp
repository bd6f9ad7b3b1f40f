// Conversions between the layer's values and wx ones; fonts and dialog units.
#include <cwctype>
#include <map>

#include "internal.h"
#include "resource_store.h"

#include <cairo.h>
#include <wx/dcmemory.h>
#include <wx/graphics.h>

namespace afxwin {

wxString ToWx(LPCTSTR text)
{
    return text ? wxString(text) : wxString();
}

CString FromWx(const wxString& text)
{
    return CString(text.wc_str());
}

wxColour ToWxColour(COLORREF c)
{
    return wxColour(GetRValue(c), GetGValue(c), GetBValue(c));
}

COLORREF FromWxColour(const wxColour& c)
{
    return RGB(c.Red(), c.Green(), c.Blue());
}

wxString MenuLabel(const wchar_t* text)
{
    // wx would bind the part after a tab as an accelerator; it is only shown here.
    wxString label = ToWx(text);
    label.Replace("\t", "    ");
    return label;
}

namespace {

wxString FaceFor(const wxString& face)
{
    wxString f = face.Lower();
    if (f == "arial" || f == "ms sans serif" || f == "ms shell dlg" || f == "ms shell dlg 2" || f == "tahoma" ||
        f == "microsoft sans serif" || f == "segoe ui" || f == "system" || f.empty())
        return "Liberation Sans";
    if (f == "times new roman")
        return "Liberation Serif";
    if (f == "courier new" || f == "courier" || f == "fixedsys")
        return "Liberation Mono";
    return face;
}

}  // namespace

namespace {

// wx takes sizes in points; the layer works at 96 pixels per inch.
double PointsForEm(double emPixels)
{
    return emPixels * 72.0 / 96.0;
}

wxFont MakeFont(const wxString& face, double points, const LOGFONT& lf)
{
    wxFont font(wxFontInfo(points).FaceName(face).Italic(lf.lfItalic != 0).Underlined(lf.lfUnderline != 0)
                    .Strikethrough(lf.lfStrikeOut != 0));
    if (!font.IsOk())
        font = wxFont(wxFontInfo(points).Family(wxFONTFAMILY_SWISS));
    font.SetNumericWeight(lf.lfWeight == 0 ? FW_NORMAL : lf.lfWeight);
    return font;
}

// Cell height of a 100-pixel em of this font, to turn cell heights into ems.
int CellOf100(const wxFont& font100)
{
    static std::map<wxString, int>* cache = new std::map<wxString, int>;
    wxString key = font100.GetNativeFontInfoDesc();
    auto it = cache->find(key);
    if (it != cache->end())
        return it->second;
    wxBitmap bmp(8, 8, 24);
    wxMemoryDC dc(bmp);
    dc.SetFont(font100);
    int cell = std::max(1, dc.GetFontMetrics().height);
    (*cache)[key] = cell;
    return cell;
}

}  // namespace

std::wstring FontKey(const LOGFONT& lf)
{
    std::wstring key = std::to_wstring(lf.lfHeight) + L',' + std::to_wstring(lf.lfWidth) + L',' +
                       std::to_wstring(lf.lfWeight) + L',' + std::to_wstring(lf.lfItalic) +
                       std::to_wstring(lf.lfUnderline) + std::to_wstring(lf.lfStrikeOut) + L',';
    for (int i = 0; i < LF_FACESIZE && lf.lfFaceName[i]; ++i)
        key += lf.lfFaceName[i];
    return key;
}

namespace {

wxFont MakeFontFor(const LOGFONT& lf)
{
    wxString face = FaceFor(wxString(lf.lfFaceName));
    // Negative: the character (em) height in pixels; positive: the cell height; 0: a default.
    double em = 12;
    if (lf.lfHeight < 0) {
        em = -static_cast<double>(lf.lfHeight);
    } else if (lf.lfHeight > 0) {
        int cell100 = CellOf100(MakeFont(face, PointsForEm(100), lf));
        em = lf.lfHeight * 100.0 / cell100;
    }
    return MakeFont(face, PointsForEm(std::max(em, 1.0)), lf);
}

}  // namespace

wxFont FontFor(const LOGFONT& lf)
{
    // Used on the user-interface thread only; never destroyed, as it holds wx objects.
    static auto* fonts = new std::map<std::wstring, wxFont>;
    const std::wstring key = FontKey(lf);
    auto it = fonts->find(key);
    if (it != fonts->end())
        return it->second;
    if (fonts->size() >= 256)
        fonts->clear();
    return fonts->emplace(key, MakeFontFor(lf)).first->second;
}

wxFont TemplateFont(const AfxDialogTemplate& t)
{
    LOGFONT lf{};
    lf.lfHeight = -MulDiv(t.fontPoints > 0 ? t.fontPoints : 8, 96, 72);
    lf.lfWeight = FW_NORMAL;
    const wchar_t* face = t.fontName ? t.fontName : L"MS Shell Dlg";
    for (int i = 0; i < LF_FACESIZE - 1 && face[i]; ++i)
        lf.lfFaceName[i] = face[i];
    return FontFor(lf);
}

wxSize DialogBaseUnits(const wxFont& font)
{
    wxBitmap bmp(8, 8);
    wxMemoryDC dc(bmp);
    dc.SetFont(font);
    wxCoord w = 0, h = 0;
    dc.GetTextExtent("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", &w, &h);
    wxFontMetrics m = dc.GetFontMetrics();
    int height = m.height > 0 ? m.height : h;
    return wxSize((w / 26 + 1) / 2, height);
}

wxRect DialogUnitsToPixels(const wxSize& base, int x, int y, int cx, int cy)
{
    return wxRect(MulDiv(x, base.x, 4), MulDiv(y, base.y, 8), MulDiv(cx, base.x, 4), MulDiv(cy, base.y, 8));
}

namespace {

// An opaque picture painted straight into the bitmap's own cairo surface: a
// bitmap made from a wxImage keeps that image's pixbuf beside the surface wx
// makes for it once it is drawn. Null when the bitmap has no cairo context.
wxBitmap OpaqueBitmap(AfxImage& image)
{
    wxBitmap bitmap(image.width, image.height, 24);
    cairo_surface_t* pixels = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(image.pixels.data()),
        CAIRO_FORMAT_RGB24, image.width, image.height, image.width * 4);
    bool painted = false;
    {
        wxMemoryDC dc(bitmap);
        wxGraphicsContext* gc = dc.GetGraphicsContext();
        if (auto* cr = gc ? static_cast<cairo_t*>(gc->GetNativeContext()) : nullptr) {
            cairo_set_source_surface(cr, pixels, 0, 0);
            cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
            cairo_paint(cr);
            painted = cairo_status(cr) == CAIRO_STATUS_SUCCESS;
        }
    }
    cairo_surface_destroy(pixels);
    return painted ? bitmap : wxNullBitmap;
}

}  // namespace

wxBitmap ImageBitmap(AfxImageKind kind, UINT id)
{
    AfxImage image;
    if (!AfxFindImage(kind, id, &image))
        return wxNullBitmap;
    if (!image.alpha) {
        wxBitmap opaque = OpaqueBitmap(image);
        if (opaque.IsOk())
            return opaque;
    }
    wxImage img(image.width, image.height);
    if (image.alpha)
        img.InitAlpha();
    unsigned char* data = img.GetData();
    unsigned char* alpha = img.GetAlpha();
    for (int i = 0; i < image.width * image.height; ++i) {
        uint32_t p = image.pixels[i];
        data[3 * i] = static_cast<unsigned char>(p >> 16);
        data[3 * i + 1] = static_cast<unsigned char>(p >> 8);
        data[3 * i + 2] = static_cast<unsigned char>(p);
        if (alpha)
            alpha[i] = static_cast<unsigned char>(p >> 24);
    }
    return wxBitmap(img, image.alpha ? 32 : 24);
}

}  // namespace afxwin

CString AfxLoadString(UINT id)
{
    return CString(AfxFindString(id));
}
