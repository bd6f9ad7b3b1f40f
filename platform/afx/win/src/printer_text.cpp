#include "printer_text.h"

#include <pango/pangocairo.h>
#include <wx/fontutil.h>

#include <array>
#include <climits>
#include <cstring>
#include <vector>

namespace afxwin {

namespace {

constexpr wchar_t kFirstChar = 0x20;
constexpr wchar_t kLastChar = 0x7E;
constexpr int kChars = kLastChar - kFirstChar + 1;
// What is known of a pair of characters: not shaped yet, or shaped into
// other glyphs than each alone (a ligature, another font); else the kerning.
constexpr int kPairUnknown = INT_MIN;
constexpr int kPairApart = INT_MIN + 1;
// Bounds that keep the store small whatever a program draws.
constexpr size_t kMaxFonts = 64;

bool PrintableAscii(const wxString& text)
{
    if (text.empty())
        return false;
    for (wxUniChar c : text)
        if (c.GetValue() < kFirstChar || c.GetValue() > kLastChar)
            return false;
    return true;
}

struct GObjectDeleter {
    void operator()(gpointer object) const { g_object_unref(object); }
};
using Layout = std::unique_ptr<PangoLayout, GObjectDeleter>;

Layout Lay(PangoContext* context, const PangoFontDescription* description, const char* utf8, int length)
{
    Layout layout(pango_layout_new(context));
    pango_layout_set_font_description(layout.get(), description);
    pango_layout_set_text(layout.get(), utf8, length);
    return layout;
}

// The one run of a text laid out on one line; null when it takes more.
const PangoGlyphItem* OnlyRun(PangoLayout* layout)
{
    if (pango_layout_get_line_count(layout) != 1)
        return nullptr;
    PangoLayoutLine* line = pango_layout_get_line_readonly(layout, 0);
    if (!line || !line->runs || line->runs->next)
        return nullptr;
    return static_cast<const PangoGlyphItem*>(line->runs->data);
}

bool SameGeometry(const PangoGlyphInfo& a, const PangoGlyphInfo& b)
{
    return a.glyph == b.glyph && a.geometry.width == b.geometry.width && a.geometry.x_offset == b.geometry.x_offset
           && a.geometry.y_offset == b.geometry.y_offset;
}

}  // namespace

struct PrinterText::PangoParts {
    PangoContext* context = nullptr;
    ~PangoParts()
    {
        if (context)
            g_object_unref(context);
    }
};

struct PrinterText::Font {
    // A character shaped alone: its glyph, and the run it came in (its font).
    struct Char {
        bool shaped = false;
        PangoGlyphInfo glyph {};
        PangoFont* font = nullptr;    // owned; null when the character is not put together
        int baseline = 0;             // pango units below the top of its line
        int height = 0;               // pixels of its line
    };

    FontLook look;
    bool composes = false;   // of its natural width, neither underlined nor struck out
    PangoFontDescription* description = nullptr;   // owned
    std::array<Char, kChars> chars {};
    std::vector<int> pairs = std::vector<int>(static_cast<size_t>(kChars) * kChars, kPairUnknown);

    Font() = default;
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;
    ~Font()
    {
        for (Char& c : chars)
            if (c.font)
                g_object_unref(c.font);
        if (description)
            pango_font_description_free(description);
    }
};

struct PrinterText::Composed {
    std::string utf8;
    std::vector<const Font::Char*> chars;
    std::vector<int> x;   // of each glyph from the text's left edge, in pango units
    int units = 0;        // the width, in pango units
};

PrinterText::PrinterText(cairo_t* cr)
    : m_cr(cr), m_pango(std::make_unique<PangoParts>()), m_composed(std::make_unique<Composed>())
{
    // As pango_cairo_create_layout does for each of wx's texts: the context
    // takes the transform and font options of `cr`.
    m_pango->context = pango_cairo_create_context(cr);
}

PrinterText::~PrinterText() = default;

PrinterText::Font& PrinterText::FontOf(wxDC& dc, const CFont& font)
{
    LOGFONT lf {};
    afxwin::Internals::LogFont(font, &lf);
    // Texts mostly come in the font of the text before.
    if (m_last && std::memcmp(&lf, &m_lastLogFont, sizeof lf) == 0)
        return *m_last;
    m_lastLogFont = lf;
    const std::wstring key = FontKey(lf);
    auto it = m_fonts.find(key);
    if (it != m_fonts.end())
        return *(m_last = it->second.get());
    if (m_fonts.size() >= kMaxFonts)
        m_fonts.clear();
    auto entry = std::make_unique<Font>();
    entry->look = afxwin::LookOfFont(dc, font);
    const wxFont& wx = afxwin::Internals::WxFont(font);
    const wxNativeFontInfo* native = wx.GetNativeFontInfo();
    entry->description = native && native->description ? pango_font_description_copy(native->description) : nullptr;
    entry->composes = entry->look.scale == 1.0 && entry->description && !wx.GetUnderlined() && !wx.GetStrikethrough();
    m_last = entry.get();
    m_fonts.emplace(key, std::move(entry));
    return *m_last;
}

FontLook PrinterText::LookOfFont(wxDC& dc, const CFont& font)
{
    return FontOf(dc, font).look;
}

void PrinterText::ShapeChar(Font& font, int index)
{
    Font::Char& c = font.chars[static_cast<size_t>(index)];
    c.shaped = true;
    const char utf8 = static_cast<char>(kFirstChar + index);
    Layout layout = Lay(m_pango->context, font.description, &utf8, 1);
    const PangoGlyphItem* run = OnlyRun(layout.get());
    // Only a character drawn as a glyph of its font: pango draws no glyph
    // for an empty one and a box of its own for one the fonts lack.
    const PangoGlyph glyph = run && run->glyphs->num_glyphs == 1 ? run->glyphs->glyphs[0].glyph : PANGO_GLYPH_EMPTY;
    if (glyph == PANGO_GLYPH_EMPTY || (glyph & PANGO_GLYPH_UNKNOWN_FLAG) || !run->item->analysis.font)
        return;
    c.glyph = run->glyphs->glyphs[0];
    c.font = PANGO_FONT(g_object_ref(run->item->analysis.font));
    c.baseline = pango_layout_get_baseline(layout.get());
    pango_layout_get_pixel_size(layout.get(), nullptr, &c.height);
}

int PrinterText::Pair(Font& font, int first, int second)
{
    int& pair = font.pairs[static_cast<size_t>(first) * kChars + second];
    if (pair != kPairUnknown)
        return pair;
    pair = kPairApart;
    const Font::Char& a = font.chars[static_cast<size_t>(first)];
    const Font::Char& b = font.chars[static_cast<size_t>(second)];
    const char utf8[2] = {static_cast<char>(kFirstChar + first), static_cast<char>(kFirstChar + second)};
    Layout layout = Lay(m_pango->context, font.description, utf8, 2);
    const PangoGlyphItem* run = OnlyRun(layout.get());
    if (!run || run->glyphs->num_glyphs != 2 || run->item->analysis.font != a.font)
        return pair;
    const PangoGlyphInfo& shapedA = run->glyphs->glyphs[0];
    const PangoGlyphInfo& shapedB = run->glyphs->glyphs[1];
    PangoGlyphInfo unkerned = shapedA;
    unkerned.geometry.width = a.glyph.geometry.width;
    if (SameGeometry(unkerned, a.glyph) && SameGeometry(shapedB, b.glyph))
        pair = shapedA.geometry.width - a.glyph.geometry.width;
    return pair;
}

bool PrinterText::Compose(Font& font, const wxString& text, Composed* out)
{
    if (!font.composes || !PrintableAscii(text))
        return false;
    out->utf8.clear();
    out->chars.clear();
    out->x.clear();
    for (wxUniChar ch : text) {
        const int index = static_cast<int>(ch.GetValue()) - kFirstChar;
        Font::Char& c = font.chars[static_cast<size_t>(index)];
        if (!c.shaped)
            ShapeChar(font, index);
        if (!c.font || (!out->chars.empty() && c.font != out->chars.front()->font))
            return false;
        out->utf8 += static_cast<char>(ch.GetValue());
        out->chars.push_back(&c);
    }
    int units = 0;
    const size_t n = out->chars.size();
    for (size_t i = 0; i < n; ++i) {
        const PangoGlyphInfo& glyph = out->chars[i]->glyph;
        out->x.push_back(units + glyph.geometry.x_offset);
        units += glyph.geometry.width;
        if (i + 1 < n) {
            const int kerning = Pair(font, out->utf8[i] - kFirstChar, out->utf8[i + 1] - kFirstChar);
            if (kerning == kPairApart)
                return false;
            units += kerning;
        }
    }
    out->units = units;
    return true;
}

TextLook PrinterText::LookOfText(wxDC& dc, const CFont& font, const wxString& text)
{
    Font& entry = FontOf(dc, font);
    if (!Compose(entry, text, m_composed.get()))
        return afxwin::LookOfText(dc, font, text);
    // As pango_layout_get_pixel_size rounds a line's logical extent.
    TextLook look;
    look.natural = wxSize(PANGO_PIXELS_CEIL(m_composed->units), m_composed->chars.front()->height);
    look.width = look.natural.x;
    return look;
}

bool PrinterText::Draw(wxDC& dc, const CFont& font, const wxString& text, int x, int y, COLORREF colour,
    const COLORREF* background)
{
    Font& entry = FontOf(dc, font);
    Composed& composed = *m_composed;
    if (!Compose(entry, text, &composed))
        return false;
    cairo_t* cr = m_cr;
    cairo_save(cr);
    if (background) {
        cairo_set_source_rgb(cr, GetRValue(*background) / 255.0, GetGValue(*background) / 255.0,
            GetBValue(*background) / 255.0);
        cairo_rectangle(cr, x, y, PANGO_PIXELS_CEIL(composed.units), composed.chars.front()->height);
        cairo_fill(cr);
    }
    cairo_set_source_rgb(cr, GetRValue(colour) / 255.0, GetGValue(colour) / 255.0, GetBValue(colour) / 255.0);
    // Placed as pango places the one run of a layout drawn from the current
    // point (x, y): from that point as cairo keeps it, its baseline below.
    cairo_move_to(cr, x, y);
    double left = 0, top = 0;
    cairo_get_current_point(cr, &left, &top);
    cairo_new_path(cr);
    const Font::Char& first = *composed.chars.front();
    const double baseline = top + static_cast<double>(first.baseline) / PANGO_SCALE;
    const size_t n = composed.chars.size();
    m_glyphs.resize(n);
    m_clusters.resize(n);
    for (size_t i = 0; i < n; ++i) {
        const PangoGlyphGeometry& geometry = composed.chars[i]->glyph.geometry;
        m_glyphs[i].index = composed.chars[i]->glyph.glyph;
        m_glyphs[i].x = left + static_cast<double>(composed.x[i]) / PANGO_SCALE;
        m_glyphs[i].y =
            geometry.y_offset == 0 ? baseline : baseline + static_cast<double>(geometry.y_offset) / PANGO_SCALE;
        m_clusters[i] = cairo_text_cluster_t {1, 1};
    }
    cairo_set_scaled_font(cr, pango_cairo_font_get_scaled_font(PANGO_CAIRO_FONT(first.font)));
    cairo_show_text_glyphs(cr, composed.utf8.data(), static_cast<int>(composed.utf8.size()), m_glyphs.data(),
        static_cast<int>(n), m_clusters.data(), static_cast<int>(n), static_cast<cairo_text_cluster_flags_t>(0));
    cairo_restore(cr);
    return true;
}

}  // namespace afxwin
