// How fonts draw texts, kept while they stay the same. Programs make their
// fonts for each drawing and draw the same few texts again and again (a meter
// face: its annunciators and clock, several times a second); measuring them
// through pango and squeezing a narrow font's text through a scaled picture
// each time cost more than the rest of the drawing.
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

// Expects the font selected into dc.
FontEntry& EntryOf(wxDC& dc, const CFont& font)
{
    LOGFONT lf{};
    font.GetLogFont(&lf);
    const std::wstring key = FontKey(lf);
    auto& store = Store();
    auto it = store.find(key);
    if (it != store.end())
        return it->second;
    if (store.size() >= kMaxFonts)
        store.clear();
    FontEntry& entry = store[key];
    entry.look.metrics = dc.GetFontMetrics();
    wxCoord wide = 0, h = 0;
    dc.GetTextExtent("W", &wide, &h);
    entry.look.widestChar = wide;
    // A font with a character width of its own is drawn narrower or wider than
    // its natural shape: the factor from the natural average width to the asked one.
    const int natural = entry.look.metrics.averageWidth;
    entry.look.scale = lf.lfWidth > 0 && natural > 0 ? static_cast<double>(lf.lfWidth) / natural : 1.0;
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
    wxCoord w = 0, h = 0;
    dc.GetTextExtent(text, &w, &h);
    entry.look.natural = wxSize(w, h);
    entry.look.width = f.look.scale == 1.0 || w <= 0 ? w : Scaled(w, f.look.scale);
    return entry;
}

// The text drawn in its natural shape, squeezed or stretched across and
// anti-aliased, as a picture in `colour` over a transparent background.
wxBitmap MakeScaledText(const wxFont& font, const wxString& text, const TextLook& look, const wxColour& colour)
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
    wxImage image = natural.ConvertToImage().Scale(look.width, h, wxIMAGE_QUALITY_BILINEAR);
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
    return EntryOf(dc, font).look;
}

TextLook LookOfText(wxDC& dc, const CFont& font, const wxString& text)
{
    return TextOf(dc, font, text).look;
}

wxBitmap ScaledTextPicture(wxDC& dc, const CFont& font, const wxString& text, COLORREF colour)
{
    TextEntry& entry = TextOf(dc, font, text);
    if (entry.look.natural.x <= 0 || entry.look.natural.y <= 0)
        return wxNullBitmap;
    auto it = entry.pictures.find(colour);
    if (it == entry.pictures.end())
        it = entry.pictures.emplace(colour, MakeScaledText(font.WxFont(), text, entry.look, ToWxColour(colour))).first;
    return it->second;
}

}  // namespace afxwin
