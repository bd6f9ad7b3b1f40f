// The graph page printed to a PDF printer at 300 dpi on A4, read back with
// pdftotext (texts and their places) and pdftoppm (the curve, the markers and
// the white paper around the plot).
#include "print_fixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>

#include "support/tempdir.h"
#include "afx/win_codes.h"

namespace {

using testutil::PdfWord;

constexpr int kDpi = 300;
constexpr int kH = 2480;
constexpr int kV = 3508;
constexpr int kWindowWidth = 890;

// The main view's graph: plot 800 x 300 showing X 0..40 and Y 0..130.
SGraphState ScreenView(double xSpan = 40)
{
    SGraphState view;
    view.m_dXScale = xSpan / 800;
    view.m_dYScale = 130.0 / 300;
    view.m_nPlotWidth = 800;
    view.m_nPlotHeight = 300;
    return view;
}

// A page rendered to RGB pixels at `dpi` (pdftoppm's PPM).
struct Picture {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    COLORREF At(int x, int y) const
    {
        const size_t i = (static_cast<size_t>(y) * width + x) * 3;
        return RGB(rgb[i], rgb[i + 1], rgb[i + 2]);
    }
};

Picture Render(const std::string& pdf, int dpi, const std::string& base)
{
    Picture p;
    const std::string cmd = "pdftoppm -r " + std::to_string(dpi) + " -singlefile '" + pdf + "' '" + base + "'";
    if (std::system(cmd.c_str()) != 0)
        return p;
    std::ifstream in(base + ".ppm", std::ios::binary);
    std::string magic;
    int maxValue = 0;
    in >> magic >> p.width >> p.height >> maxValue;
    in.get();
    p.rgb.resize(static_cast<size_t>(p.width) * p.height * 3);
    in.read(reinterpret_cast<char*>(p.rgb.data()), static_cast<std::streamsize>(p.rgb.size()));
    return p;
}

bool Bluish(COLORREF c)
{
    return GetBValue(c) > 150 && GetRValue(c) < 120 && GetGValue(c) < 120;
}

bool Black(COLORREF c)
{
    return GetRValue(c) < 60 && GetGValue(c) < 60 && GetBValue(c) < 60;
}

class PrintGraphTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(testutil::PopplerToolsAvailable()) << "poppler-utils (scripts/deps.sh)";
        user.pdfPath = dir.path() + "/graph.pdf";
        page = GraphPageLayout(kH, kV, ScreenView());
        lineHeight = PrintLineHeight(kDpi);
    }

    static int Top(const PdfWord& w) { return static_cast<int>(std::lround(ToPixels(w.yMin, kDpi))); }
    static int Left(const PdfWord& w) { return static_cast<int>(std::lround(ToPixels(w.xMin, kDpi))); }
    static int Right(const PdfWord& w) { return static_cast<int>(std::lround(ToPixels(w.xMax, kDpi))); }

    // Pixels of the plot at 300 dpi (one per printer pixel) that belong to a
    // point marker: black with black all round.
    int MarkerPixels(const Picture& p) const
    {
        int count = 0;
        for (int y = page.top + 3; y < page.bottom - 3; ++y)
            for (int x = page.left + 3; x < kH - page.left - 3; ++x)
                if (Black(p.At(x, y)) && Black(p.At(x - 1, y - 1)) && Black(p.At(x + 1, y + 1))
                    && Black(p.At(x + 1, y - 1)) && Black(p.At(x - 1, y + 1)))
                    ++count;
        return count;
    }

    testutil::TempDir dir;
    PrintUser user;
    CPrintRX job;
    SGraphPageLayout page {};
    int lineHeight = 0;
};

TEST_F(PrintGraphTest, OnePageWithTitleTimeGridLabelsAndStatistics)
{
    RecordSet records(30);
    const SStatInfo stat = StatisticsOf(records, 30);
    PrintGraphOf(job, records.Array(), ScreenView(), kWindowWidth, stat);
    EXPECT_TRUE(user.messages.empty());
    EXPECT_FALSE(AfxTestWaitCursorShown());
    ASSERT_EQ(testutil::PdfPageCount(user.pdfPath), 1);
    auto words = testutil::PdfWords(user.pdfPath);
    auto lines = testutil::PdfPageLines(words, 1);
    ASSERT_GE(lines.size(), 8u);
    EXPECT_EQ(lines[0], "Veldmark KV415 RealTime Graph");
    EXPECT_EQ(lines[1].rfind("Time: ", 0), 0u);
    EXPECT_EQ(lines[2], "130.0");   // the top of the value labels
    const std::vector<std::string> statistics(lines.end() - 6, lines.end());
    EXPECT_EQ(statistics[0], "Start Time: 05-03-2017,14:07:09");
    EXPECT_EQ(statistics[1], "Maxnum: 47.25 05-03-2017,14:07:38");
    EXPECT_EQ(statistics[2], "Minnum: 40.00 05-03-2017,14:07:09");
    EXPECT_EQ(statistics[3], "Sample Rate: 0.50");
    EXPECT_EQ(statistics[4], "Average: 43.63"); // 43.625 exactly: away from zero, as on Windows
    EXPECT_EQ(statistics[5], "Data No.: 30");
    // The time ticks below the plot: records 0, 8, 16, 24, then carried on.
    EXPECT_EQ(lines[lines.size() - 7], "14:07:09 14:07:17 14:07:25 14:07:33 14:07:41 14:07:49");

    // Places against the page arithmetic, within a pixel.
    const PdfWord* title = testutil::FindPdfWord(words, "Veldmark");
    EXPECT_NEAR(Left(*title), kH / 2 - 14 * page.columnUnit, 1);
    EXPECT_NEAR(Top(*title), page.rowUnit, 1);
    EXPECT_NEAR(Top(*testutil::FindPdfWord(words, "Time:")), 2 * page.rowUnit, 1);
    const PdfWord* start = testutil::FindPdfWord(words, "Start");
    EXPECT_NEAR(Left(*start), page.left, 1);
    EXPECT_NEAR(Top(*start), kV / 2 + page.top, 1);
    EXPECT_NEAR(Top(*testutil::FindPdfWord(words, "Data")), kV / 2 + page.top + 5 * lineHeight, 1);
    EXPECT_NEAR(Left(*testutil::FindPdfWord(words, "30")), page.left + 12 * page.columnUnit, 1);
    const PdfWord* zero = testutil::FindPdfWord(words, "0.0");
    EXPECT_NEAR(Left(*zero), page.left - 5 * page.columnUnit, 1);
    EXPECT_NEAR(Top(*zero), page.bottom - lineHeight / 2, 2);
    // The first time label centred under the plot's left edge.
    const PdfWord* first = testutil::FindPdfWord(words, "14:07:09");
    EXPECT_NEAR((Left(*first) + Right(*first)) / 2.0, page.left, 2);
    EXPECT_NEAR(Top(*first), page.bottom + lineHeight / 2, 2);

    // The curve in blue inside the plot, the paper around it white.
    Picture p = Render(user.pdfPath, kDpi, dir.path() + "/graph");
    ASSERT_GE(p.width, kH);   // the sheet rounds up to whole pixels
    int blueInside = 0, blueOutside = 0;
    for (int y = 0; y < kV / 2 + 200; ++y)
        for (int x = 0; x < kH; ++x) {
            if (!Bluish(p.At(x, y)))
                continue;
            const bool inside = x >= page.left && x <= kH - page.left && y >= page.top && y <= page.bottom;
            (inside ? blueInside : blueOutside) += 1;
        }
    EXPECT_GT(blueInside, 500);
    EXPECT_EQ(blueOutside, 0);
    // 30 records at 2 / 0.05 = 40 > 6: markers, as on screen.
    EXPECT_GT(MarkerPixels(p), 30 * 4);
    EXPECT_TRUE(testutil::RenderPdfPage(user.pdfPath, 1, 100, dir.path() + "/print_graph_page.png"));
}

TEST_F(PrintGraphTest, MarkersAppearExactlyWhenTheScreenShowsThem)
{
    RecordSet records(400);
    const SStatInfo stat = StatisticsOf(records, 400);
    // 2 / X scale = 6: no markers; 6.67: markers.
    for (double span : { 800.0 / 3, 240.0 }) {
        SCOPED_TRACE(span);
        PrintGraphOf(job, records.Array(), ScreenView(span), kWindowWidth, stat);
        Picture p = Render(user.pdfPath, kDpi, dir.path() + "/markers");
        ASSERT_GE(p.width, kH);   // the sheet rounds up to whole pixels
        if (span > 250)
            EXPECT_EQ(MarkerPixels(p), 0);
        else
            EXPECT_GT(MarkerPixels(p), 240 * 4);
    }
}

TEST_F(PrintGraphTest, AZoomedAndPannedGraphPrintsTheSameSection)
{
    RecordSet records(200);
    SGraphState view = ScreenView(10);   // ten samples across
    view.m_dXStart = 150.4;
    view.m_dZoomed = 1.0;
    PrintGraphOf(job, records.Array(), view, kWindowWidth, StatisticsOf(records, 200));
    auto lines = testutil::PdfPageLines(testutil::PdfWords(user.pdfPath), 1);
    ASSERT_GE(lines.size(), 7u);
    // Ticks every two samples from record trunc(150.4 + 0.5) = 150 (14:09:39).
    EXPECT_EQ(lines[lines.size() - 7], "14:09:39 14:09:41 14:09:43 14:09:45 14:09:47 14:09:49");

    // Beyond the last record the labels carry on from the two ticks before.
    view.m_dXStart = 196;
    PrintGraphOf(job, records.Array(), view, kWindowWidth, StatisticsOf(records, 200));
    lines = testutil::PdfPageLines(testutil::PdfWords(user.pdfPath), 1);
    EXPECT_EQ(lines[lines.size() - 7], "14:10:25 14:10:27 14:10:29 14:10:31 14:10:33 14:10:35");
}

TEST_F(PrintGraphTest, ATimeThatDoesNotReadEndsTheLabelsButNotTheJob)
{
    RecordSet records(0);
    records.Add(55.0, L"31-02-2017,noon");
    records.Add(56.0, L"31-02-2017,noon");
    PrintGraphOf(job, records.Array(), ScreenView(), kWindowWidth, StatisticsOf(records, 2));
    EXPECT_TRUE(user.messages.empty());
    EXPECT_FALSE(AfxTestWaitCursorShown());
    EXPECT_EQ(job.m_dc.GetSafeHdc(), nullptr);
    EXPECT_EQ(AfxTestLivePrinterDCs(), 0);
    ASSERT_EQ(testutil::PdfPageCount(user.pdfPath), 1);
    auto words = testutil::PdfWords(user.pdfPath);
    // Tick 0 reads its record's text; tick 1 lies beyond the records and needs the time.
    EXPECT_NE(testutil::FindPdfWord(words, "noon"), nullptr);
    EXPECT_NE(testutil::FindPdfWord(words, "Veldmark"), nullptr);
    EXPECT_NE(testutil::FindPdfWord(words, "No.:"), nullptr);
}

TEST_F(PrintGraphTest, NothingForNoRecordsOrACancelAndAPlotOfNoSizeStillPrintsItsText)
{
    RecordSet none(0);
    PrintGraphOf(job, none.Array(), ScreenView(), kWindowWidth, SStatInfo());
    EXPECT_EQ(user.PrintDialogs(), 0);

    RecordSet records(5);
    user.cancel = true;
    PrintGraphOf(job, records.Array(), ScreenView(), kWindowWidth, StatisticsOf(records, 5));
    EXPECT_EQ(user.PrintDialogs(), 1);
    EXPECT_TRUE(user.messages.empty());
    EXPECT_EQ(testutil::PdfPageCount(user.pdfPath), -1);

    user.cancel = false;
    SGraphState unlaid;   // a control that was never laid out: no plot, no scales
    PrintGraphOf(job, records.Array(), unlaid, 0, StatisticsOf(records, 5));
    ASSERT_EQ(testutil::PdfPageCount(user.pdfPath), 1);
    auto lines = testutil::PdfPageLines(testutil::PdfWords(user.pdfPath), 1);
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[0], "Veldmark KV415 RealTime Graph");
    EXPECT_EQ(lines[7], "Data No.: 5");
}

} // namespace
