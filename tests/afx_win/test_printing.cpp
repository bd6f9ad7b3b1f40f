// Printer device contexts: PDF output at the printer's resolution, its texts
// and lines, documents and pages, the copies a file holds, failures that leave
// files as they were, handles, and the print dialog (answered by the test
// driver, and GTK's own dialog).
#include <cairo-pdf.h>
#include <cups/cups.h>
#include <gtk/gtk.h>
#include <gtk/gtkunixprint.h>
#include <pango/pangocairo.h>
#include <wx/font.h>
#include <wx/fontutil.h>
#include <grp.h>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "gui_support.h"
#include "support/pdftext.h"
#include "support/pipe_watch.h"
#include "support/scopedenv.h"
#include "support/tempdir.h"
#include "afx/win_codes.h"

namespace {

using testutil::PdfWord;

std::wstring Wide(const std::string& s)
{
    return std::wstring(s.begin(), s.end());
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

int FilesIn(const std::string& dir)
{
    std::string cmd = "ls -A '" + dir + "' | wc -l";
    FILE* p = popen(cmd.c_str(), "r");
    int n = -1;
    if (p) {
        if (fscanf(p, "%d", &n) != 1)
            n = -1;
        pclose(p);
    }
    return n;
}

DEVMODE PaperAt(int dpi, double widthMm, double heightMm)
{
    DEVMODE dm{};
    dm.dmFields = DM_PRINTQUALITY | DM_PAPERWIDTH | DM_PAPERLENGTH;
    dm.dmPrintQuality = static_cast<short>(dpi);
    dm.dmPaperWidth = static_cast<short>(std::lround(widthMm * 10));
    dm.dmPaperLength = static_cast<short>(std::lround(heightMm * 10));
    return dm;
}

// Prints "First" on page 1 and "Second" on page 2 at device pixel (x, y), in a
// font of `em` pixels.
void PrintTwoPages(CDC& dc, int x, int y, int em)
{
    CFont font;
    font.CreateFont(-em, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, FF_SWISS, L"Arial");
    EXPECT_GT(dc.StartDoc(L"Two pages"), 0);
    CFont* old = dc.SelectObject(&font);
    EXPECT_GT(dc.StartPage(), 0);
    dc.TextOut(x, y, CString(L"First"));
    dc.MoveTo(x, y + 2 * em);
    dc.LineTo(x + 600, y + 2 * em);
    EXPECT_GT(dc.EndPage(), 0);
    EXPECT_GT(dc.StartPage(), 0);
    dc.TextOut(x, y, CString(L"Second"));
    EXPECT_GT(dc.EndPage(), 0);
    dc.SelectObject(old);
}

// The words of each page, one line of text a page.
std::vector<std::string> PageTexts(const std::string& pdf)
{
    std::vector<std::string> pages;
    const auto words = testutil::PdfWords(pdf);
    for (int page = 1; page <= testutil::PdfPageCount(pdf); ++page) {
        std::string text;
        for (const std::string& line : testutil::PdfPageLines(words, page))
            text += (text.empty() ? "" : " ") + line;
        pages.push_back(text);
    }
    return pages;
}

// The words of `text` with one space between them, as pdftotext gives a line.
std::string OneSpaced(const std::string& text)
{
    std::string out;
    for (char c : text)
        if (c != ' ' || (!out.empty() && out.back() != ' '))
            out += c;
    return out;
}

// Texts laid out whole by pango as wx lays out and draws a text on a printer
// page at `dpi`, in the face the layer gives each font: their widths in
// pixels, and a PDF of A4 pages with each text's top-left corner at its place.
class WholeLayouts {
public:
    WholeLayouts(const std::string& pdf, int dpi)
        : m_surface(cairo_pdf_surface_create(pdf.c_str(), 595.28, 841.89)), m_cr(cairo_create(m_surface))
    {
        cairo_scale(m_cr, 72.0 / dpi, 72.0 / dpi);
    }
    ~WholeLayouts()
    {
        cairo_destroy(m_cr);
        cairo_surface_destroy(m_surface);
    }
    WholeLayouts(const WholeLayouts&) = delete;
    WholeLayouts& operator=(const WholeLayouts&) = delete;

    int Width(const CFont& font, const std::string& utf8) { return Draw(font, utf8, -1, -1); }
    int Draw(const CFont& font, const std::string& utf8, int x, int y)
    {
        PangoLayout* layout = pango_cairo_create_layout(m_cr);
        pango_layout_set_font_description(layout, AfxTestWxFont(font).GetNativeFontInfo()->description);
        pango_layout_set_text(layout, utf8.c_str(), -1);
        int width = 0;
        pango_layout_get_pixel_size(layout, &width, nullptr);
        if (x >= 0) {
            cairo_move_to(m_cr, x, y);
            pango_cairo_show_layout(m_cr, layout);
            cairo_new_path(m_cr);
        }
        g_object_unref(layout);
        return width;
    }

private:
    cairo_surface_t* m_surface;
    cairo_t* m_cr;
};

TEST(PrinterDC, PdfPrinterPagesAreInPrinterPixelsAtItsResolution)
{
    ASSERT_TRUE(testutil::PopplerToolsAvailable()) << "poppler-utils (scripts/deps.sh)";
    testutil::TempDir dir;
    const std::string pdf = dir.path() + "/out.pdf";
    for (int dpi : {300, 600}) {
        DEVMODE dm = PaperAt(dpi, 210, 297);
        CDC dc;
        ASSERT_TRUE(dc.CreateDC(L"PDF", nullptr, Wide(pdf).c_str(), &dm));
        EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSX), dpi);
        EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSY), dpi);
        EXPECT_EQ(dc.GetDeviceCaps(HORZRES), static_cast<int>(std::lround(210 / 25.4 * dpi)));
        EXPECT_EQ(dc.GetDeviceCaps(VERTRES), static_cast<int>(std::lround(297 / 25.4 * dpi)));
        PrintTwoPages(dc, dpi, 2 * dpi, dpi / 3);
        EXPECT_GT(dc.EndDoc(), 0);

        EXPECT_EQ(testutil::PdfPageCount(pdf), 2);
        double w = 0, h = 0;
        ASSERT_TRUE(testutil::PdfPageSize(pdf, &w, &h));
        EXPECT_NEAR(w, 595.3, 0.5);
        EXPECT_NEAR(h, 841.9, 0.5);
        auto words = testutil::PdfWords(pdf);
        const PdfWord* first = testutil::FindPdfWord(words, "First", 1);
        const PdfWord* second = testutil::FindPdfWord(words, "Second", 2);
        ASSERT_NE(first, nullptr);
        ASSERT_NE(second, nullptr);
        // One inch in and two down whatever the resolution; the font is a third of an inch.
        EXPECT_NEAR(first->xMin, 72.0, 1.5);
        EXPECT_NEAR(first->yMin, 144.0, 1.5);
        EXPECT_NEAR(second->xMin, 72.0, 1.5);
        EXPECT_NEAR(first->yMax - first->yMin, 24.0 * 1.15, 3.0);
    }
}

TEST(PrinterDC, TextMetricsAndExtentsAreInPrinterPixels)
{
    testutil::TempDir dir;
    DEVMODE dm = PaperAt(600, 210, 297);
    CDC dc;
    ASSERT_TRUE(dc.CreateDC(L"PDF", nullptr, Wide(dir.path() + "/m.pdf").c_str(), &dm));
    ASSERT_GT(dc.StartDoc(L"Metrics"), 0);
    CFont font;
    // A positive height is the cell height: one line of text takes that much.
    font.CreateFont(100, 0, 0, 0, 200, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, FF_SWISS, L"Arial");
    dc.SelectObject(&font);
    TEXTMETRIC tm{};
    ASSERT_TRUE(dc.GetTextMetrics(&tm));
    EXPECT_NEAR(tm.tmHeight, 100, 3);
    CSize extent = dc.GetTextExtent(CString(L"Data Table"));
    EXPECT_NEAR(extent.cy, tm.tmHeight, 1);
    EXPECT_GT(extent.cx, 4 * tm.tmHeight);
    EXPECT_LT(extent.cx, 6 * tm.tmHeight);
    dc.SelectStockObject(SYSTEM_FONT);
    EXPECT_GT(dc.AbortDoc(), 0);
}

// Texts of the printable ASCII characters are put together from glyphs shaped
// one by one; they must measure and print as pango lays out and draws the
// whole text (kerning, ligatures), in the font of each text, and every other
// text as it always did.
TEST(PrinterDC, TextsMeasureAndPrintAsTheirWholeLayout)
{
    ASSERT_TRUE(testutil::PopplerToolsAvailable()) << "poppler-utils (scripts/deps.sh)";
    testutil::TempDir dir;
    const std::string pdf = dir.path() + "/texts.pdf";
    const std::string expected = dir.path() + "/whole.pdf";
    const int dpi = 300;
    DEVMODE dm = PaperAt(dpi, 210, 297);
    CDC dc;
    ASSERT_TRUE(dc.CreateDC(L"PDF", nullptr, Wide(pdf).c_str(), &dm));
    CFont light, bold;
    light.CreateFont(100, 0, 0, 0, 200, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, FF_SWISS, L"Arial");
    bold.CreateFont(-60, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, FF_SWISS, L"Arial");
    const std::vector<std::string> texts = {"AVAWAY To Ty 1111", "05-03-2017,14:00:00", "office flow fifty",
        "Time: 2026-1-9  7:05:09 Page -12-", "{x} [y] <z> ~\\|@#$%^&*_+=`'\"", "Gr\xc3\xb6\xc3\x9f" "e 65,30 \xc2\xb5Pa"};
    ASSERT_GT(dc.StartDoc(L"Texts"), 0);
    ASSERT_GT(dc.StartPage(), 0);
    {
        WholeLayouts whole(expected, dpi);
        int y = 100;
        for (const std::string& text : texts)
            for (CFont* font : {&light, &bold}) {
                SCOPED_TRACE(text);
                const CString wide(wxString::FromUTF8(text).wc_str());
                dc.SelectObject(font);
                EXPECT_EQ(dc.GetTextExtent(wide).cx, whole.Width(*font, text));
                dc.TextOut(200, y, wide);
                whole.Draw(*font, text, 200, y);
                y += 130;
            }
    }
    dc.SelectStockObject(SYSTEM_FONT);
    EXPECT_GT(dc.EndPage(), 0);
    EXPECT_GT(dc.EndDoc(), 0);

    // The same words in the same places, to a hundredth of a point.
    const auto printedWords = testutil::PdfWords(pdf);
    const auto expectedWords = testutil::PdfWords(expected);
    ASSERT_EQ(printedWords.size(), expectedWords.size());
    ASSERT_GT(printedWords.size(), 2 * texts.size());
    for (size_t i = 0; i < printedWords.size(); ++i) {
        const PdfWord& a = printedWords[i];
        const PdfWord& b = expectedWords[i];
        EXPECT_EQ(a.text, b.text);
        EXPECT_NEAR(a.xMin, b.xMin, 0.01) << a.text;
        EXPECT_NEAR(a.xMax, b.xMax, 0.01) << a.text;
        EXPECT_NEAR(a.yMin, b.yMin, 0.01) << a.text;
    }
    const auto lines = testutil::PdfPageLines(printedWords, 1);
    ASSERT_EQ(lines.size(), 2 * texts.size());
    for (size_t i = 0; i < lines.size(); ++i)
        EXPECT_EQ(lines[i], OneSpaced(texts[i / 2]));
}

// A printer strokes lines straight on the page in its own units, and draws a
// text's background itself: each in its place and width, in the order drawn
// among wx's fills, on its own page.
TEST(PrinterDC, LinesAndTextBackgroundsKeepTheirPlaceOrderAndPage)
{
    ASSERT_TRUE(testutil::PopplerToolsAvailable()) << "poppler-utils (scripts/deps.sh)";
    testutil::TempDir dir;
    const std::string pdf = dir.path() + "/lines.pdf";
    DEVMODE dm = PaperAt(300, 210, 297);   // a printer pixel is a pixel of a rendering at 300 dpi
    CDC dc;
    ASSERT_TRUE(dc.CreateDC(L"PDF", nullptr, Wide(pdf).c_str(), &dm));
    CPen pen(PS_SOLID, 5, RGB(0, 0, 0));
    CFont font;
    font.CreateFont(-40, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, FF_SWISS, L"Arial");
    ASSERT_GT(dc.StartDoc(L"Lines"), 0);
    ASSERT_GT(dc.StartPage(), 0);
    CPen* oldPen = dc.SelectObject(&pen);
    CFont* oldFont = dc.SelectObject(&font);
    dc.MoveTo(50, 100);
    dc.LineTo(700, 100);
    dc.FillSolidRect(300, 80, 100, 40, RGB(255, 255, 255));
    dc.MoveTo(50, 200);
    dc.LineTo(700, 200);
    dc.TextOut(300, 180, CString(L"        "));   // white behind it
    dc.MoveTo(600, 250);
    dc.LineTo(600, 350);
    dc.TextOut(300, 480, CString(L"MMMM"));
    dc.TextOut(300, 480, CString(L"        "));
    dc.SetBkColor(RGB(128, 128, 128));
    dc.TextOut(300, 580, CString(L"        "));
    EXPECT_GT(dc.EndPage(), 0);
    ASSERT_GT(dc.StartPage(), 0);
    dc.MoveTo(50, 400);
    dc.LineTo(700, 400);
    EXPECT_GT(dc.EndPage(), 0);
    dc.SelectObject(oldPen);
    dc.SelectObject(oldFont);
    EXPECT_GT(dc.EndDoc(), 0);

    const testutil::GreyPage first = testutil::RenderPdfPageGrey(pdf, 1, 300);
    const testutil::GreyPage second = testutil::RenderPdfPageGrey(pdf, 2, 300);
    ASSERT_GT(first.height, 700);
    ASSERT_GT(second.height, 700);
    auto inked = [](const testutil::GreyPage& page, int x, int y) { return page.At(x, y) < 128; };
    // Five pixels wide about its path, with its round caps.
    EXPECT_TRUE(inked(first, 49, 98) && inked(first, 701, 101));
    EXPECT_FALSE(inked(first, 200, 95) || inked(first, 200, 104) || inked(first, 45, 100) || inked(first, 705, 100));
    EXPECT_TRUE(inked(first, 598, 249) && inked(first, 601, 351));
    EXPECT_FALSE(inked(first, 595, 300) || inked(first, 604, 300) || inked(first, 600, 245) || inked(first, 600, 355));
    EXPECT_FALSE(inked(first, 350, 100)) << "the fill drawn after the line covers it";
    EXPECT_TRUE(inked(first, 200, 200));
    EXPECT_FALSE(inked(first, 320, 200)) << "the text's background drawn after the line covers it";
    int ink = 0, grey = 0;
    for (int y = 480; y < 520; ++y)
        for (int x = 300; x < 380; ++x) {
            ink += inked(first, x, y) ? 1 : 0;
            grey += std::abs(first.At(x, y + 100) - 128) < 16 ? 1 : 0;
        }
    EXPECT_EQ(ink, 0) << "a text's white background covers the text before it";
    EXPECT_GT(grey, 40 * 60) << "a background of another colour";
    EXPECT_FALSE(inked(first, 200, 400));
    EXPECT_FALSE(inked(second, 200, 100));
    EXPECT_TRUE(inked(second, 200, 400));
}

// A file printer has no print system to make copies: the file holds them.
TEST(PrinterDC, AFileHoldsTheCopiesAskedForCollatedOrPageByPage)
{
    ASSERT_TRUE(testutil::PopplerToolsAvailable()) << "poppler-utils (scripts/deps.sh)";
    testutil::TempDir dir;
    const std::string pdf = dir.path() + "/copies.pdf";
    for (bool collate : {true, false}) {
        SCOPED_TRACE(collate ? "collated" : "page by page");
        DEVMODE dm = PaperAt(300, 210, 297);
        dm.dmFields |= DM_COPIES | DM_COLLATE;
        dm.dmCopies = 3;
        dm.dmCollate = collate ? DMCOLLATE_TRUE : DMCOLLATE_FALSE;
        CDC dc;
        ASSERT_TRUE(dc.CreateDC(L"PDF", nullptr, Wide(pdf).c_str(), &dm));
        PrintTwoPages(dc, 300, 600, 100);
        EXPECT_GT(dc.EndDoc(), 0);
        const std::vector<std::string> expected = collate
            ? std::vector<std::string>{"First", "Second", "First", "Second", "First", "Second"}
            : std::vector<std::string>{"First", "First", "First", "Second", "Second", "Second"};
        EXPECT_EQ(PageTexts(pdf), expected);
        // The line under "First" is on each of its copies, in its place.
        const int last = collate ? 5 : 3;
        const testutil::GreyPage copy = testutil::RenderPdfPageGrey(pdf, last, 300);
        ASSERT_GT(copy.height, 900);
        EXPECT_LT(std::min({copy.At(600, 799), copy.At(600, 800), copy.At(600, 801)}), 128);
        EXPECT_EQ(copy.At(600, 900), 255);
    }
}

TEST(PrinterDC, AFailedOrAbandonedDocumentLeavesTheFileAsItWas)
{
    testutil::TempDir dir;
    const std::string pdf = dir.path() + "/kept.pdf";
    {
        std::ofstream(pdf) << "earlier contents";
    }
    DEVMODE dm = PaperAt(300, 210, 297);
    {
        CDC dc;
        ASSERT_TRUE(dc.CreateDC(L"PDF", nullptr, Wide(pdf).c_str(), &dm));
        ASSERT_GT(dc.StartDoc(L"Abandoned"), 0);
        ASSERT_GT(dc.StartPage(), 0);
        dc.TextOut(10, 10, CString(L"never printed"));
        EXPECT_GT(dc.AbortDoc(), 0);
        EXPECT_EQ(dc.EndPage(), SP_ERROR);
        EXPECT_EQ(dc.EndDoc(), SP_ERROR);
        // A document that is never ended goes with its context.
        ASSERT_GT(dc.StartDoc(L"Left open"), 0);
        ASSERT_GT(dc.StartPage(), 0);
    }
    EXPECT_EQ(ReadFile(pdf), "earlier contents");
    EXPECT_EQ(FilesIn(dir.path()), 1);

    // A folder that does not exist: StartDoc fails and nothing is written anywhere.
    CDC missing;
    ASSERT_TRUE(missing.CreateDC(L"PDF", nullptr, Wide(dir.path() + "/no/such/dir/x.pdf").c_str(), &dm));
    EXPECT_EQ(missing.StartDoc(L"Nowhere"), SP_ERROR);
    EXPECT_EQ(missing.StartPage(), SP_ERROR);

    // Out of room (writes past a file-size limit fail as on a full disk): the
    // write error ends the document with SP_ERROR, also when the copies are
    // written from a finished first copy, which then goes from the temporary
    // folder.
    const std::string spool = dir.path() + "/spool";
    ::mkdir(spool.c_str(), 0700);
    testutil::ScopedEnv tmpdir("TMPDIR", spool);
    struct rlimit size {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &size), 0);
    struct sigaction ignore {}, before {};
    ignore.sa_handler = SIG_IGN;
    ASSERT_EQ(::sigaction(SIGXFSZ, &ignore, &before), 0);
    const std::string full = dir.path() + "/full.pdf";
    for (short copies : {1, 2}) {
        SCOPED_TRACE(copies);
        DEVMODE withCopies = dm;
        withCopies.dmFields |= DM_COPIES;
        withCopies.dmCopies = copies;
        CDC dc;
        ASSERT_TRUE(dc.CreateDC(L"PDF", nullptr, Wide(full).c_str(), &withCopies));
        ASSERT_GT(dc.StartDoc(L"Too big"), 0);
        struct rlimit small = size;
        small.rlim_cur = 64 * 1024;
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
        bool failed = false;
        for (int page = 0; page < 400 && !failed; ++page) {
            failed = dc.StartPage() == SP_ERROR;
            for (int i = 0; i < 60 && !failed; ++i)
                dc.TextOut(50, 50 + i * 40, CString(L"A line of text that fills the page"));
            failed = failed || dc.EndPage() == SP_ERROR;
        }
        EXPECT_TRUE(failed || dc.EndDoc() == SP_ERROR);
        dc.AbortDoc();
        ::setrlimit(RLIMIT_FSIZE, &size);
        EXPECT_EQ(FilesIn(spool), 0);
        EXPECT_EQ(FilesIn(dir.path()), 2) << "only kept.pdf and the spool folder";
    }
    ::sigaction(SIGXFSZ, &before, nullptr);
}

// Prints a page into path as a user who is not root: in a child that drops to
// "nobody" when the test runs as root (for whom every file is writable),
// directly otherwise. "W" when the document was written, "F" when refused.
std::string PrintAsUnprivilegedUser(const std::string& path)
{
    const auto print = [&path] {
        DEVMODE dm = PaperAt(300, 210, 297);
        CDC dc;
        if (!dc.CreateDC(L"PDF", nullptr, Wide(path).c_str(), &dm))
            return std::string("F");
        if (dc.StartDoc(L"Refused") <= 0)
            return std::string("F");
        dc.StartPage();
        dc.TextOut(10, 10, CString(L"printed"));
        dc.EndPage();
        return std::string(dc.EndDoc() > 0 ? "W" : "F");
    };
    if (::geteuid() != 0)
        return print();
    const passwd* nobody = ::getpwnam("nobody");
    if (!nobody)
        return "no user nobody";
    const uid_t uid = nobody->pw_uid;
    const gid_t gid = nobody->pw_gid;
    int channel[2];
    if (::pipe(channel) != 0)
        return "no pipe";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        std::string report = "dropping privileges failed";
        if (::setgroups(0, nullptr) == 0 && ::setgid(gid) == 0 && ::setuid(uid) == 0)
            report = print();
        [[maybe_unused]] const ssize_t sent = ::write(channel[1], report.data(), report.size());
        ::_exit(0);
    }
    ::close(channel[1]);
    std::string report;
    char piece[256];
    for (ssize_t n; (n = ::read(channel[0], piece, sizeof piece)) > 0;)
        report.append(piece, static_cast<size_t>(n));
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return report;
}

// Print to File takes the same care as a save: it never replaces a file the
// user may not write, and never waits on a pipe in the file's place.
TEST(PrinterDC, AFileTheUserMayNotWriteOrAPipeIsRefusedAndKept)
{
    testutil::TempDir dir;
    const std::string pipe = dir.path() + "/pipe.pdf";
    testutil::MakePipe(pipe);
    CDC toPipe;
    ASSERT_TRUE(toPipe.CreateDC(L"PDF", nullptr, Wide(pipe).c_str(), nullptr));
    int started = 0;
    EXPECT_TRUE(testutil::ReturnsWithoutWaitingOn(pipe, [&] { started = toPipe.StartDoc(L"Pipe"); }));
    EXPECT_EQ(started, SP_ERROR);
    struct stat info {};
    ASSERT_EQ(::lstat(pipe.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));

    // A folder everybody may write in, as a shared folder is.
    const std::string shared = dir.path() + "/shared";
    ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
    ASSERT_EQ(::mkdir(shared.c_str(), 0777), 0);
    ASSERT_EQ(::chmod(shared.c_str(), 0777), 0);
    std::vector<std::string> refused{shared + "/own read-only.pdf"};
    std::ofstream(refused[0]) << "the user's own document";
    ASSERT_EQ(::chmod(refused[0].c_str(), 0444), 0);
    if (::geteuid() == 0) {
        const passwd* nobody = ::getpwnam("nobody");
        ASSERT_NE(nobody, nullptr);
        ASSERT_EQ(::chown(refused[0].c_str(), nobody->pw_uid, nobody->pw_gid), 0);
        // Another user's file, which the user may read but not write.
        refused.push_back(shared + "/another user's.pdf");
        std::ofstream(refused[1]) << "another user's document";
        ASSERT_EQ(::chmod(refused[1].c_str(), 0644), 0);
    }
    for (const std::string& path : refused) {
        struct stat before {};
        ASSERT_EQ(::stat(path.c_str(), &before), 0);
        const std::string contents = ReadFile(path);
        EXPECT_EQ(PrintAsUnprivilegedUser(path), "F") << path;
        struct stat after {};
        ASSERT_EQ(::stat(path.c_str(), &after), 0);
        EXPECT_EQ(after.st_ino, before.st_ino) << path;
        EXPECT_EQ(after.st_mode, before.st_mode) << path;
        EXPECT_EQ(ReadFile(path), contents) << path;
    }
    EXPECT_EQ(FilesIn(shared), static_cast<int>(refused.size())) << "printing left something behind";
}

TEST(PrinterDC, ADocumentWithoutPagesWritesNothing)
{
    testutil::TempDir dir;
    const std::string pdf = dir.path() + "/empty.pdf";
    CDC dc;
    ASSERT_TRUE(dc.CreateDC(L"PDF", nullptr, Wide(pdf).c_str(), nullptr));
    EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSY), 300);   // A4 at 300 dpi by default
    EXPECT_EQ(dc.GetDeviceCaps(VERTRES), 3508);
    ASSERT_GT(dc.StartDoc(L"Empty"), 0);
    EXPECT_GT(dc.EndDoc(), 0);
    EXPECT_EQ(FilesIn(dir.path()), 0);
}

TEST(PrinterDC, HandlesAttachDetachAndDelete)
{
    testutil::TempDir dir;
    const std::string pdf = dir.path() + "/h.pdf";
    EXPECT_EQ(::CreateDC(L"PDF", nullptr, nullptr, nullptr), nullptr);       // no file
    EXPECT_EQ(::CreateDC(L"PLOTTER", L"x", nullptr, nullptr), nullptr);     // no such driver
    HDC handle = ::CreateDC(L"PDF", nullptr, Wide(pdf).c_str(), nullptr);
    ASSERT_NE(handle, nullptr);
    {
        CDC dc;
        EXPECT_FALSE(dc.Attach(nullptr));
        ASSERT_TRUE(dc.Attach(handle));
        EXPECT_FALSE(dc.Attach(handle));
        EXPECT_EQ(dc.GetDeviceCaps(HORZRES), 2480);
        PrintTwoPages(dc, 300, 300, 60);
        EXPECT_GT(dc.EndDoc(), 0);
        EXPECT_EQ(dc.Detach(), handle);
        EXPECT_EQ(dc.GetSafeHdc(), nullptr);
        EXPECT_EQ(dc.StartDoc(L"Detached"), SP_ERROR);
    }
    EXPECT_EQ(testutil::PdfPageCount(pdf), 2);
    EXPECT_TRUE(::DeleteDC(handle));
    EXPECT_FALSE(::DeleteDC(handle));

    // A context that still holds an attached handle deletes it when it goes.
    HDC second = ::CreateDC(L"PDF", nullptr, Wide(pdf).c_str(), nullptr);
    {
        CDC dc;
        ASSERT_TRUE(dc.Attach(second));
    }
    EXPECT_FALSE(::DeleteDC(second));
    CDC screen;
    ASSERT_TRUE(screen.CreateCompatibleDC(nullptr));
    EXPECT_FALSE(::DeleteDC(screen.GetSafeHdc()));   // not a printer handle
    EXPECT_EQ(screen.StartDoc(L"Screen"), SP_ERROR);
}

TEST(PrinterDC, ResetDCChangesSettingsOnlyBetweenDocuments)
{
    testutil::TempDir dir;
    CDC dc;
    ASSERT_TRUE(dc.CreateDC(L"PDF", nullptr, Wide(dir.path() + "/r.pdf").c_str(), nullptr));
    DEVMODE letter = PaperAt(150, 215.9, 279.4);
    ASSERT_TRUE(dc.ResetDC(&letter));
    EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSX), 150);
    EXPECT_EQ(dc.GetDeviceCaps(HORZRES), 1275);
    EXPECT_EQ(dc.GetDeviceCaps(VERTRES), 1650);
    ASSERT_GT(dc.StartDoc(L"Letter"), 0);
    EXPECT_FALSE(dc.ResetDC(&letter));
    dc.AbortDoc();
}

TEST(PrinterDC, AQueueCupsDoesNotKnowMakesNoContext)
{
    // A scheduler that is not there answers at once: no context, no wait.
    testutil::TempDir dir;
    testutil::ScopedEnv server("CUPS_SERVER", dir.path() + "/no-cupsd.sock");
    CDC dc;
    EXPECT_FALSE(dc.CreateDC(nullptr, L"NoSuchQueue", nullptr, nullptr));
    EXPECT_EQ(::CreateDC(L"WINSPOOL", L"NoSuchQueue", nullptr, nullptr), nullptr);
}

// A scheduler that takes the connection and never answers: the program's
// window would wait for it for ever.
TEST(PrinterDC, ASchedulerThatNeverAnswersMakesNoContextAfterAWhile)
{
    testutil::TempDir dir;
    const std::string socketPath = dir.path() + "/silent-cupsd.sock";
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(listener, 0);
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", socketPath.c_str());
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(listener, 16), 0);
    // libcups keeps the first scheduler it was told of for the whole program.
    cupsSetServer(socketPath.c_str());

    // Without a time limit this call never returns (the suite's time-out then fails the test).
    const auto start = std::chrono::steady_clock::now();
    CDC dc;
    EXPECT_FALSE(dc.CreateDC(nullptr, L"SilentQueue", nullptr, nullptr));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(60));
    EXPECT_GT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)) << "the scheduler was never reached";
    cupsSetServer(nullptr);
    ::close(listener);
}

TEST(PrintDialog, TheChosenPrinterComesBackAsAContextAndACancelGivesNone)
{
    testutil::TempDir dir;
    const std::string pdf = dir.path() + "/dialog.pdf";
    CPrintDialog dialog(FALSE, PD_DISABLEPRINTTOFILE);
    AfxTestSetModalAnswerer([&](const AfxModalRequest& r) {
        EXPECT_EQ(r.kind, AfxModalRequest::PrintDialog);
        AfxTestChoosePdfPrinter(static_cast<CPrintDialog*>(r.dialog), Wide(pdf).c_str(), 200, 148, 210, 3);
        return IDOK;
    });
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.GetCopies(), 3);
    HDC handle = dialog.GetPrinterDC();
    ASSERT_NE(handle, nullptr);
    {
        CDC dc;
        dc.Attach(handle);
        EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSY), 200);
        EXPECT_EQ(dc.GetDeviceCaps(HORZRES), static_cast<int>(std::lround(148 / 25.4 * 200)));
        dc.Detach();
    }
    EXPECT_TRUE(::DeleteDC(handle));

    AfxTestSetModalAnswerer([](const AfxModalRequest&) { return IDCANCEL; });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.GetPrinterDC(), nullptr);
    AfxTestSetModalAnswerer(nullptr);
}

// GTK's own dialog, as the user sees it: found among the top-level windows.
GtkPrintUnixDialog* OpenGtkPrintDialog()
{
    GList* windows = gtk_window_list_toplevels();
    GtkPrintUnixDialog* found = nullptr;
    for (GList* w = windows; w; w = w->next)
        if (GTK_IS_PRINT_UNIX_DIALOG(w->data) && gtk_widget_get_visible(GTK_WIDGET(w->data)))
            found = GTK_PRINT_UNIX_DIALOG(w->data);
    g_list_free(windows);
    return found;
}

struct GtkDialogScript {
    std::string outputUri;   // empty: the user cancels
    int copies = 1;
    std::string screenshot;
    int polls = 0;
    bool answered = false;
    bool shot = false;
};

gboolean AnswerGtkDialog(gpointer data)
{
    auto* script = static_cast<GtkDialogScript*>(data);
    GtkPrintUnixDialog* dialog = OpenGtkPrintDialog();
    if (++script->polls > 400) {   // 20 s: give up so that the test fails instead of hanging
        if (dialog)
            gtk_dialog_response(GTK_DIALOG(dialog), GTK_RESPONSE_CANCEL);
        return G_SOURCE_REMOVE;
    }
    if (!dialog)
        return G_SOURCE_CONTINUE;
    if (script->outputUri.empty()) {
        script->answered = true;
        gtk_dialog_response(GTK_DIALOG(dialog), GTK_RESPONSE_CANCEL);
        return G_SOURCE_REMOVE;
    }
    GtkPrinter* printer = gtk_print_unix_dialog_get_selected_printer(dialog);
    if (!printer || std::string(gtk_printer_get_name(printer)) != "Print to File") {
        GtkPrintSettings* settings = gtk_print_settings_new();
        gtk_print_settings_set_n_copies(settings, script->copies);
        gtk_print_settings_set_printer(settings, "Print to File");
        gtk_print_settings_set(settings, GTK_PRINT_SETTINGS_OUTPUT_URI, script->outputUri.c_str());
        gtk_print_settings_set(settings, GTK_PRINT_SETTINGS_OUTPUT_FILE_FORMAT, "pdf");
        gtk_print_unix_dialog_set_settings(dialog, settings);
        g_object_unref(settings);
        return G_SOURCE_CONTINUE;
    }
    if (!script->shot && !script->screenshot.empty() && script->polls > 20) {
        GdkWindow* window = gtk_widget_get_window(GTK_WIDGET(dialog));
        GdkPixbuf* picture = gdk_pixbuf_get_from_window(window, 0, 0, gdk_window_get_width(window),
                                                        gdk_window_get_height(window));
        if (picture) {
            gdk_pixbuf_save(picture, script->screenshot.c_str(), "png", nullptr, nullptr);
            g_object_unref(picture);
        }
        script->shot = true;
    }
    if (script->screenshot.empty() || script->shot) {
        script->answered = true;
        gtk_dialog_response(GTK_DIALOG(dialog), GTK_RESPONSE_OK);
        return G_SOURCE_REMOVE;
    }
    return G_SOURCE_CONTINUE;
}

TEST(PrintDialog, GtkDialogCancelledGivesNoContext)
{
    CPrintDialog dialog(FALSE, PD_DISABLEPRINTTOFILE);
    GtkDialogScript script;
    g_timeout_add(50, &AnswerGtkDialog, &script);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_TRUE(script.answered);
    EXPECT_EQ(dialog.GetPrinterDC(), nullptr);
}

TEST(PrintDialog, GtkPrintToFileWritesThePdfTheUserNamedWithItsCopies)
{
    testutil::TempDir dir;
    const std::string pdf = dir.path() + "/chosen.pdf";
    CPrintDialog dialog(FALSE, PD_DISABLEPRINTTOFILE);
    GtkDialogScript script;
    script.outputUri = "file://" + pdf;
    script.copies = 2;
    script.screenshot = dir.path() + "/print_dialog.png";
    g_timeout_add(50, &AnswerGtkDialog, &script);
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(script.answered);
    EXPECT_TRUE(script.shot);
    EXPECT_EQ(AfxTestPrintOutputFile(dialog), CString(Wide(pdf).c_str()));
    EXPECT_EQ(dialog.GetCopies(), 2);
    HDC handle = dialog.GetPrinterDC();
    ASSERT_NE(handle, nullptr);
    {
        CDC dc;
        dc.Attach(handle);
        PrintTwoPages(dc, 300, 600, 100);
        EXPECT_GT(dc.EndDoc(), 0);
        dc.Detach();
    }
    EXPECT_TRUE(::DeleteDC(handle));
    EXPECT_EQ(PageTexts(pdf), (std::vector<std::string>{"First", "Second", "First", "Second"}));
}

}  // namespace
