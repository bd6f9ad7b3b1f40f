// How fonts draw texts, kept while they stay the same. Programs make their
// fonts for each drawing and draw the same few texts again and again (a meter
// face: its annunciators and clock, several times a second); laying them out
// through pango, and squeezing a narrow font's text through a scaled picture,
// each time cost more than the rest of the drawing. A text is drawn as a
// picture of its anti-aliased shape, made once per font, text and colour.
#include <map>
#include <unordered_map>

#include "internal.h"

namespace afxwin {

namespace {

struct TextEntry {
    TextLook look;
    std::map<COLORREF, wxBitmap> pictures;
};

struct FontEntry {
    FontLook look;
    std::unordered_map<std::wstring, TextEntry> texts;
};

// Bounds that keep the store small whatever a program draws.
constexpr size_t kMaxFonts = 64;
constexpr size_t kMaxTextsPerFont = 256;

// Used on the user-interface thread only; never destroyed, as it holds wx objects.
std::map<std::wstring, FontEntry>& Store()
{
    static auto* store = new std::map<std::wstring, FontEntry>;
    return *store;
}

int Scaled(int width, double scale)
{
    return std::max(1, static_cast<int>(std::lround(width * scale)));
}

FontLook MeasureFont(wxDC& dc, const CFont& font)
{
    LOGFONT lf{};
    afxwin::Internals::LogFont(font, &lf);
    FontLook look;
    dc.SetFont(afxwin::Internals::WxFont(font));
    look.metrics = dc.GetFontMetrics();
    wxCoord wide = 0, h = 0;
    dc.GetTextExtent("W", &wide, &h);
    look.widestChar = wide;
    // A font with a character width of its own is drawn narrower or wider than
    // its natural shape: the factor from the natural average width to the asked one.
    const int natural = look.metrics.averageWidth;
    look.scale = lf.lfWidth > 0 && natural > 0 ? static_cast<double>(lf.lfWidth) / natural : 1.0;
    return look;
}

TextLook MeasureText(wxDC& dc, const CFont& font, double scale, const wxString& text)
{
    dc.SetFont(afxwin::Internals::WxFont(font));
    wxCoord w = 0, h = 0;
    dc.GetTextExtent(text, &w, &h);
    TextLook look;
    look.natural = wxSize(w, h);
    look.width = scale == 1.0 || w <= 0 ? w : Scaled(w, scale);
    return look;
}

FontEntry& EntryOf(wxDC& dc, const CFont& font)
{
    LOGFONT lf{};
    afxwin::Internals::LogFont(font, &lf);
    const std::wstring key = FontKey(lf);
    auto& store = Store();
    auto it = store.find(key);
    if (it != store.end())
        return it->second;
    if (store.size() >= kMaxFonts)
        store.clear();
    FontEntry& entry = store[key];
    entry.look = MeasureFont(dc, font);
    return entry;
}

TextEntry& TextOf(wxDC& dc, const CFont& font, const wxString& text)
{
    FontEntry& f = EntryOf(dc, font);
    const std::wstring key = text.ToStdWstring();
    auto it = f.texts.find(key);
    if (it != f.texts.end())
        return it->second;
    if (f.texts.size() >= kMaxTextsPerFont)
        f.texts.clear();
    TextEntry& entry = f.texts[key];
    entry.look = MeasureText(dc, font, f.look.scale, text);
    return entry;
}

// Measures are kept for pictures on the screen's terms (memory contexts); a
// printer lays text out at its own resolution and is asked each time.
bool Keeps(wxDC& dc)
{
    return dynamic_cast<wxMemoryDC*>(&dc) != nullptr;
}

// The text drawn in its natural shape, squeezed or stretched across when the
// font asks for it, as a picture in `colour` over a transparent background:
// drawn black on white, its darkness is how much of each pixel it covers.
wxBitmap MakeTextPicture(const wxFont& font, const wxString& text, const TextLook& look, const wxColour& colour)
{
    const int w = look.natural.x, h = look.natural.y;
    wxBitmap natural(w, h, 24);
    {
        wxMemoryDC mdc(natural);
        mdc.SetBackground(*wxWHITE_BRUSH);
        mdc.Clear();
        mdc.SetFont(font);
        mdc.SetTextForeground(*wxBLACK);
        mdc.DrawText(text, 0, 0);
    }
    wxImage image = natural.ConvertToImage();
    if (look.width != w)
        image = image.Scale(look.width, h, wxIMAGE_QUALITY_BILINEAR);
    image.InitAlpha();
    unsigned char* rgb = image.GetData();
    unsigned char* alpha = image.GetAlpha();
    const int pixels = image.GetWidth() * image.GetHeight();
    for (int i = 0; i < pixels; ++i) {
        alpha[i] = static_cast<unsigned char>(255 - rgb[3 * i]);
        rgb[3 * i] = colour.Red();
        rgb[3 * i + 1] = colour.Green();
        rgb[3 * i + 2] = colour.Blue();
    }
    return wxBitmap(image);
}

}  // namespace

FontLook LookOfFont(wxDC& dc, const CFont& font)
{
    return Keeps(dc) ? EntryOf(dc, font).look : MeasureFont(dc, font);
}

TextLook LookOfText(wxDC& dc, const CFont& font, const wxString& text)
{
    return Keeps(dc) ? TextOf(dc, font, text).look : MeasureText(dc, font, MeasureFont(dc, font).scale, text);
}

wxBitmap TextPicture(wxDC& dc, const CFont& font, const wxString& text, COLORREF colour)
{
    if (!Keeps(dc)) {
        const TextLook look = LookOfText(dc, font, text);
        return look.natural.x > 0 && look.natural.y > 0 ? MakeTextPicture(afxwin::Internals::WxFont(font), text, look, ToWxColour(colour))
                                                        : wxNullBitmap;
    }
    TextEntry& entry = TextOf(dc, font, text);
    if (entry.look.natural.x <= 0 || entry.look.natural.y <= 0)
        return wxNullBitmap;
    auto it = entry.pictures.find(colour);
    if (it == entry.pictures.end())
        it = entry.pictures.emplace(colour, MakeTextPicture(afxwin::Internals::WxFont(font), text, entry.look, ToWxColour(colour))).first;
    return it->second;
}

}  // namespace afxwin
