// Reads what a PDF shows through poppler's command-line tools (pdfinfo,
// pdftotext -bbox, pdftoppm), for tests that check printed pages.
#pragma once

#include <string>
#include <vector>

namespace testutil {

// One word as pdftotext -bbox finds it; coordinates in points from the
// page's top-left corner.
struct PdfWord {
    int page;   // 1-based
    double xMin, yMin, xMax, yMax;
    std::string text;
};

// True when pdfinfo, pdftotext and pdftoppm can be run.
bool PopplerToolsAvailable();
// The page count pdfinfo reports; -1 when it cannot read the file.
int PdfPageCount(const std::string& pdf);
// A field of pdfinfo's report ("Title", "Producer", ...); empty when missing.
std::string PdfInfoField(const std::string& pdf, const std::string& field);
// The page size in points of the first page ("Page size:" of pdfinfo); false when unreadable.
bool PdfPageSize(const std::string& pdf, double* widthPt, double* heightPt);
// Every word of every page, in reading order; empty when unreadable.
std::vector<PdfWord> PdfWords(const std::string& pdf);
// The words of one page.
std::vector<PdfWord> PdfPageWords(const std::vector<PdfWord>& words, int page);
// The first word on `page` whose text is `text` (page 0: any page), or null.
const PdfWord* FindPdfWord(const std::vector<PdfWord>& words, const std::string& text, int page = 0);
// The words of each line of a page (words whose tops lie within 1 pt), joined
// by single spaces, top to bottom.
std::vector<std::string> PdfPageLines(const std::vector<PdfWord>& words, int page);
// Renders one page as PNG at `dpi` into `png` (the path, ".png" included).
bool RenderPdfPage(const std::string& pdf, int page, int dpi, const std::string& png);

// One page as 8-bit grey pixels, one a printer pixel at the dpi it is rendered at.
struct GreyPage {
    int width = 0, height = 0;
    std::vector<unsigned char> pixels;   // rows top to bottom; 0 black, 255 white
    int At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};
// Renders one page in grey at `dpi`; empty when it cannot be read.
GreyPage RenderPdfPageGrey(const std::string& pdf, int page, int dpi);

}  // namespace testutil
