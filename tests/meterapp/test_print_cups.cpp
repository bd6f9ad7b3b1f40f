// Printing through a real CUPS queue (cups-pdf on a scheduler of the test's
// own): the pages that come out match those printed straight to a PDF file,
// and the copies the user asked for reach the print system.
#include "cups_fixture.h"
#include "print_fixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "support/tempdir.h"

namespace {

// The text lines of every page, with the footer's clock time left out.
std::vector<std::string> TextWithoutTimes(const std::string& pdf)
{
    std::vector<std::string> all;
    auto words = testutil::PdfWords(pdf);
    for (int page = 1; page <= testutil::PdfPageCount(pdf); ++page)
        for (std::string line : testutil::PdfPageLines(words, page)) {
            if (line.rfind("Time: ", 0) == 0)
                line = line.substr(line.find(" Page"));
            all.push_back(line);
        }
    return all;
}

// The share of pixels that differ by more than a quarter of the grey scale.
double Difference(const testutil::GreyPage& a, const testutil::GreyPage& b)
{
    if (a.width != b.width || a.height != b.height || a.pixels.empty())
        return 1.0;
    size_t differing = 0;
    for (size_t i = 0; i < a.pixels.size(); ++i)
        differing += std::abs(a.pixels[i] - b.pixels[i]) > 64 ? 1 : 0;
    return static_cast<double>(differing) / a.pixels.size();
}

TEST(PrintThroughCups, TheDataTableFromACupsQueueMatchesTheOnePrintedToAFile)
{
    PrivateCups cups("DecibarPDF");
    if (!cups.SkipReason().empty())
        GTEST_SKIP() << "no CUPS queue here: " << cups.SkipReason();
    ASSERT_TRUE(testutil::PopplerToolsAvailable());
    testutil::TempDir dir;
    RecordSet records(150);
    const SStatInfo stat = StatisticsOf(records, 150);
    CPrintRX job;
    PrintUser user;
    user.pdfPath = dir.path() + "/direct.pdf";
    PrintDataTable(job, records.Array(), stat);
    const int pages = testutil::PdfPageCount(user.pdfPath);
    ASSERT_EQ(pages, 3);

    user.queue = L"DecibarPDF";
    user.copies = 2;
    cups.ClearOutput();
    PrintDataTable(job, records.Array(), stat);
    EXPECT_TRUE(user.messages.empty());
    EXPECT_EQ(job.m_nCopies, 2);
    const std::string printed = cups.WaitForPdf();
    ASSERT_FALSE(printed.empty()) << cups.ErrorLog();
    // cups-pdf names its file after the job's title, the application's.
    EXPECT_EQ(printed.substr(printed.rfind('/') + 1, 7), "Decibar") << printed;
    EXPECT_EQ(testutil::PdfPageCount(printed), pages);
    EXPECT_EQ(TextWithoutTimes(printed), TextWithoutTimes(user.pdfPath));
    // Two copies of each page went to the printer.
    EXPECT_EQ(cups.SheetsLogged(), 2 * pages);
    for (int page = 1; page <= pages; ++page) {
        const testutil::GreyPage direct = testutil::RenderPdfPageGrey(user.pdfPath, page, 50);
        const testutil::GreyPage viaCups = testutil::RenderPdfPageGrey(printed, page, 50);
        EXPECT_LT(Difference(direct, viaCups), 0.01) << "page " << page;
    }
}

TEST(PrintThroughCups, PrintersByNameASecondNamedStartAndAQueueThatRefusesJobs)
{
    PrivateCups cups("DecibarNamed");
    if (!cups.SkipReason().empty())
        GTEST_SKIP() << "no CUPS queue here: " << cups.SkipReason();
    CPrintRX job;
    EXPECT_EQ(job.StartPrinting(L"NoSuchQueue", 1), -1);
    EXPECT_EQ(job.m_nError, PRINT_ERROR_CREATE_DC);
    for (int round = 1; round <= 2; ++round) {
        cups.ClearOutput();
        ASSERT_EQ(job.StartPrinting(L"DecibarNamed", 1), 0);
        EXPECT_EQ(job.m_dc.GetDeviceCaps(LOGPIXELSY), 300);   // the queue's own resolution
        EXPECT_EQ(job.m_dc.GetDeviceCaps(VERTRES), 3508);     // and paper, A4
        ASSERT_EQ(job.StartDoc(), 0);
        ASSERT_EQ(job.StartPage(), 0);
        EXPECT_EQ(job.m_nTopMarginPx, MulDiv(80, 300, 72));
        job.m_dc.TextOut(300, 300, CString(L"Named"));
        EXPECT_GT(job.EndPage(), 0);
        EXPECT_EQ(job.EndPrinting(), 0);
        const std::string printed = cups.WaitForPdf();
        ASSERT_FALSE(printed.empty()) << cups.ErrorLog();
        EXPECT_NE(testutil::FindPdfWord(testutil::PdfWords(printed), "Named"), nullptr);
    }
    EXPECT_EQ(job.m_nFontSets, 2);

    // A queue that refuses jobs: the job ends at once and the user is told.
    ASSERT_TRUE(cups.Accept(false));
    PrintUser user;
    user.queue = L"DecibarNamed";
    RecordSet records(3);
    PrintDataTable(job, records.Array(), StatisticsOf(records, 3));
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_EQ(user.messages[0], kPrintFailedText);
    EXPECT_FALSE(AfxTestWaitCursorShown());
    EXPECT_EQ(AfxTestLivePrinterDCs(), 0);
    EXPECT_EQ(job.m_dc.GetSafeHdc(), nullptr);
}

} // namespace
