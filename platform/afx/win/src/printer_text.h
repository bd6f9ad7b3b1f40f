// Texts on a printer's pages, shaped once. A printout draws thousands of
// texts made of the same few characters (numbers, times, units, headings);
// laying each out as a whole through pango took most of a long printout's
// time. Printable ASCII texts are put together from glyphs shaped one by one,
// with the kerning of each pair of characters shaped once; any other text is
// laid out and drawn by wx as a whole. Kept for one document of one printer.
#pragma once

#include <cairo.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "internal.h"

namespace afxwin {

class PrinterText {
public:
    // Shapes as wx does on `cr` (its transform and its surface's font options).
    explicit PrinterText(cairo_t* cr);
    ~PrinterText();

    PrinterText(const PrinterText&) = delete;
    PrinterText& operator=(const PrinterText&) = delete;

    // As LookOfFont and LookOfText, measured on `dc`, the wx context on the same cairo context.
    FontLook LookOfFont(wxDC& dc, const CFont& font);
    TextLook LookOfText(wxDC& dc, const CFont& font, const wxString& text);

    // Draws `text` with its top-left corner at (x, y) in `colour`, over
    // `background` unless that is null, as wx would draw it; false (nothing
    // drawn) for a text it does not put together itself.
    bool Draw(wxDC& dc, const CFont& font, const wxString& text, int x, int y, COLORREF colour,
        const COLORREF* background);

private:
    struct Font;
    struct Composed;
    Font& FontOf(wxDC& dc, const CFont& font);
    // The glyphs of a printable ASCII text in a font as pango shapes it whole,
    // from its characters shaped alone and the kerning of each pair; false
    // when a character or pair shapes otherwise (another font, a ligature).
    bool Compose(Font& font, const wxString& text, Composed* out);
    void ShapeChar(Font& font, int index);
    int Pair(Font& font, int first, int second);

    cairo_t* m_cr;
    struct PangoParts;
    std::unique_ptr<PangoParts> m_pango;
    std::map<std::wstring, std::unique_ptr<Font>> m_fonts;
    Font* m_last = nullptr;   // the font of the last text, and its description
    LOGFONT m_lastLogFont {};
    std::unique_ptr<Composed> m_composed;   // the text being drawn or measured
    std::vector<cairo_glyph_t> m_glyphs;
    std::vector<cairo_text_cluster_t> m_clusters;
};

}  // namespace afxwin
