// The data table printed to a PDF printer at 300 dpi on A4 (2480 x 3508
// printer pixels), read back with poppler's pdftotext: pages, texts, their
// order and their places against the page arithmetic.
#include "print_fixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <sys/stat.h>

#include "support/scopedenv.h"
#include "support/tempdir.h"

namespace {

using testutil::PdfWord;

constexpr int kDpi = 300;
constexpr int kH = 2480;
constexpr int kV = 3508;

bool Exists(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

class PrintDataTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(testutil::PopplerToolsAvailable()) << "poppler-utils (scripts/deps.sh)";
        user.pdfPath = dir.path() + "/table.pdf";
        layout = WithLineHeight(DataTableUnits(kH, kV), PrintLineHeight(kDpi));
    }

    // y in printer pixels of the top of a word.
    static int Top(const PdfWord& w) { return static_cast<int>(std::lround(ToPixels(w.yMin, kDpi))); }
    static int Left(const PdfWord& w) { return static_cast<int>(std::lround(ToPixels(w.xMin, kDpi))); }

    testutil::TempDir dir;
    PrintUser user;
    CPrintRX job;
    SDataTableLayout layout {};
};

TEST_F(PrintDataTest, ASingleRecordPrintsTheWholeFirstPageBlockAndFooterOne)
{
    RecordSet records(1);
    SStatInfo stat = StatisticsOf(records, 1);
    PrintDataTable(job, records.Array(), stat);
    EXPECT_EQ(user.PrintDialogs(), 1);
    EXPECT_TRUE(user.messages.empty());
    EXPECT_FALSE(AfxTestWaitCursorShown());
    ASSERT_EQ(testutil::PdfPageCount(user.pdfPath), 1);

    auto words = testutil::PdfWords(user.pdfPath);
    auto lines = testutil::PdfPageLines(words, 1);
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[0], "Data Table");
    EXPECT_EQ(lines[1], "Start Time 05-03-2017,14:07:09");
    EXPECT_EQ(lines[2], "MaxNUM 40.00 05-03-2017,14:07:09");
    EXPECT_EQ(lines[3], "MinNUM 40.00 05-03-2017,14:07:09");
    EXPECT_EQ(lines[4], "Average 40.00");
    EXPECT_EQ(lines[5], "Sample Rate 0.50");
    EXPECT_EQ(lines[6], "ID DateTime Unit Value");
    EXPECT_EQ(lines[7], "1 05-03-2017,14:07:09 dBA 40.00");
    EXPECT_EQ(lines[8].rfind("Time: ", 0), 0u);
    EXPECT_NE(lines[8].find(" Page -1-"), std::string::npos);

    // Places, in printer pixels, within a pixel of the arithmetic.
    const SDataTableColumns c = DataTableColumns(layout);
    const PdfWord* title = testutil::FindPdfWord(words, "Data");
    ASSERT_NE(title, nullptr);
    EXPECT_NEAR(Left(*title), kH / 4 - 5 * layout.columnUnit, 1);
    EXPECT_NEAR(Top(*title), layout.rowUnit, 1);
    const PdfWord* start = testutil::FindPdfWord(words, "Start");
    EXPECT_NEAR(Left(*start), c.id, 1);
    EXPECT_NEAR(Top(*start), DataTableRowY(layout, 0), 1);
    EXPECT_NEAR(Left(*testutil::FindPdfWord(words, "05-03-2017,14:07:09")), c.statValue, 1);
    EXPECT_NEAR(Top(*testutil::FindPdfWord(words, "Sample")), DataTableRowY(layout, 4), 1);
    const PdfWord* heading = testutil::FindPdfWord(words, "DateTime");
    EXPECT_NEAR(Left(*heading), c.dateTime, 1);
    EXPECT_NEAR(Top(*heading), DataTableRowY(layout, 6), 1);
    const PdfWord* unit = testutil::FindPdfWord(words, "dBA");
    EXPECT_NEAR(Left(*unit), c.unit, 1);
    EXPECT_NEAR(Top(*unit), DataTableRowY(layout, 7), 1);
    EXPECT_NEAR(Left(*testutil::FindPdfWord(words, "1")), c.id, 1);

    // The footer: the time text ends where its length says, "Page" a unit past a third.
    const PdfWord* time = testutil::FindPdfWord(words, "Time:");
    const PdfWord* page = testutil::FindPdfWord(words, "Page");
    ASSERT_NE(time, nullptr);
    ASSERT_NE(page, nullptr);
    const std::string timeText = lines[8].substr(0, lines[8].find(" Page"));
    const int length = static_cast<int>(timeText.size()) + 1;   // the two blanks read as one
    EXPECT_NEAR(Left(*time), kH / 3 - length * layout.columnUnit, 1);
    EXPECT_NEAR(Top(*time), kV - layout.rowUnit, 1);
    EXPECT_NEAR(Left(*page), kH / 3 + layout.columnUnit, 1);
}

TEST_F(PrintDataTest, PageBreaksFollowTheRowsPerPage)
{
    const int r = layout.rowsPerPage;
    ASSERT_GT(r, 60);   // A4 at 300 dpi holds some 75 rows

    struct Case {
        int records;
        int pages;
    };
    for (Case c : { Case { r - 7, 1 }, Case { r - 6, 2 }, Case { r - 6 + r, 3 } }) {
        SCOPED_TRACE(c.records);
        RecordSet records(c.records);
        PrintDataTable(job, records.Array(), StatisticsOf(records, c.records));
        ASSERT_EQ(testutil::PdfPageCount(user.pdfPath), c.pages);
        auto words = testutil::PdfWords(user.pdfPath);
        for (int p = 1; p <= c.pages; ++p) {
            auto lines = testutil::PdfPageLines(words, p);
            ASSERT_GE(lines.size(), 2u);
            EXPECT_EQ(lines.front(), "Data Table");
            char footer[32];
            std::snprintf(footer, sizeof footer, " Page -%d-", p);
            EXPECT_NE(lines.back().find(footer), std::string::npos) << lines.back();
            if (p > 1) {
                EXPECT_EQ(lines[1], "ID DateTime Unit Value");
                EXPECT_NEAR(Left(*testutil::FindPdfWord(words, "Data", p)), kH / 4 - 4 * layout.columnUnit, 1);
            }
        }
        // Record k stands on the row its running number gives.
        for (int k : { 1, c.records - 1, c.records }) {
            const STableRecordPlace place = DataTableRecordPlace(layout, k);
            const std::string id = std::to_string(k);
            const PdfWord* found = nullptr;
            const std::vector<PdfWord> onPage = testutil::PdfPageWords(words, place.page);
            for (const PdfWord& w : onPage)
                if (w.text == id && std::abs(Left(w) - DataTableColumns(layout).id) <= 1)
                    found = &w;
            ASSERT_NE(found, nullptr) << "record " << k;
            EXPECT_NEAR(Top(*found), DataTableRowY(layout, place.row), 1);
        }
        if (c.records == r - 6) {
            // The page after a full page: only the header and the footer.
            EXPECT_EQ(testutil::PdfPageLines(words, 2).size(), 3u);
        }
    }
}

TEST_F(PrintDataTest, CancelAndEmptyArraysPrintNothingAndSayNothing)
{
    RecordSet none(0);
    PrintDataTable(job, none.Array(), SStatInfo());
    EXPECT_EQ(user.PrintDialogs(), 0);   // not even the dialog

    RecordSet records(3);
    user.cancel = true;
    PrintDataTable(job, records.Array(), StatisticsOf(records, 3));
    PrintDataTable(job, records.Array(), StatisticsOf(records, 3));
    EXPECT_EQ(user.PrintDialogs(), 2);
    // The cancelled dialog is kept and asked again.
    EXPECT_EQ(user.dialogs[0], user.dialogs[1]);
    EXPECT_EQ(job.m_pPrintDlg, user.dialogs[1]);
    EXPECT_TRUE(user.messages.empty());
    EXPECT_FALSE(Exists(user.pdfPath));
    EXPECT_FALSE(AfxTestWaitCursorShown());
    EXPECT_EQ(job.m_dc.GetSafeHdc(), nullptr);

    // After a completed job the next print makes a new dialog.
    user.cancel = false;
    PrintDataTable(job, records.Array(), StatisticsOf(records, 3));
    EXPECT_EQ(job.m_pPrintDlg, nullptr);
    EXPECT_EQ(testutil::PdfPageCount(user.pdfPath), 1);
    EXPECT_EQ(AfxTestLivePrinterDCs(), 0);   // the dialog's context is deleted after the job
    EXPECT_EQ(job.m_nFontSets, 1);
}

TEST_F(PrintDataTest, AJobThePrinterRefusesEndsAndSaysSo)
{
    RecordSet records(5);
    user.pdfPath = dir.path() + "/missing/folder/table.pdf";
    PrintDataTable(job, records.Array(), StatisticsOf(records, 5));
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_EQ(user.messages[0], kPrintFailedText);
    EXPECT_FALSE(user.waitCursorAtMessage[0]);
    EXPECT_FALSE(AfxTestWaitCursorShown());
    EXPECT_EQ(job.m_dc.GetSafeHdc(), nullptr);
    EXPECT_EQ(AfxTestLivePrinterDCs(), 0);

    // A device that fills up half-way: pages fail, the job ends, one message.
    RecordSet many(3000);
    user.pdfPath = "/dev/full";
    user.messages.clear();
    PrintDataTable(job, many.Array(), StatisticsOf(many, 3000));
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_FALSE(AfxTestWaitCursorShown());
    EXPECT_EQ(AfxTestLivePrinterDCs(), 0);

    // The same object prints normally afterwards.
    user.pdfPath = dir.path() + "/after.pdf";
    PrintDataTable(job, records.Array(), StatisticsOf(records, 5));
    EXPECT_EQ(testutil::PdfPageCount(user.pdfPath), 1);
}

TEST_F(PrintDataTest, TheDocumentIsNamedAfterTheApplication)
{
    RecordSet records(1);
    PrintDataTable(job, records.Array(), StatisticsOf(records, 1));
    EXPECT_EQ(testutil::PdfInfoField(user.pdfPath, "Title"), "Decibar");
}

TEST_F(PrintDataTest, AJobThatNeverEndsGoesWithItsObject)
{
    {
        CPrintRX unfinished;
        EXPECT_EQ(unfinished.StartPage(), -1);   // no job yet
        EXPECT_EQ(unfinished.m_nError, PRINT_ERROR_START_PAGE);
        ASSERT_EQ(unfinished.StartPrinting(nullptr, 1), 0);
        EXPECT_EQ(unfinished.m_dc.GetDeviceCaps(LOGPIXELSY), kDpi);
        EXPECT_EQ(unfinished.StartPrinting(nullptr, 1), -1);   // one job at a time
        ASSERT_EQ(unfinished.StartDoc(), 0);
        EXPECT_EQ(unfinished.m_nPageWidth, kH);
        EXPECT_EQ(unfinished.m_nPageHeight, kV);
        ASSERT_EQ(unfinished.StartPage(), 0);
        EXPECT_EQ(unfinished.m_nTopMarginPx, MulDiv(PRINT_MARGIN_TOP, kDpi, 72));
        EXPECT_EQ(unfinished.m_nLeftMarginPx, MulDiv(PRINT_MARGIN_LEFT, kDpi, 72));
        unfinished.m_dc.TextOut(100, 100, CString(L"never ends"));
        EXPECT_EQ(AfxTestLivePrinterDCs(), 1);
    }
    // The dialog's context went with the object, and the document with it.
    EXPECT_EQ(AfxTestLivePrinterDCs(), 0);
    EXPECT_FALSE(Exists(user.pdfPath));
}

TEST_F(PrintDataTest, TheEleventhJobOnOneObjectStillPrints)
{
    RecordSet records(2);
    for (int jobNumber = 1; jobNumber <= 11; ++jobNumber) {
        user.pdfPath = dir.path() + "/job" + std::to_string(jobNumber) + ".pdf";
        PrintDataTable(job, records.Array(), StatisticsOf(records, 2));
        EXPECT_EQ(testutil::PdfPageCount(user.pdfPath), 1) << "job " << jobNumber;
        EXPECT_EQ(job.m_nFontSets, std::min(jobNumber, MAX_FONT_SETS));
    }
    LOGFONT font {};
    EXPECT_EQ(job.CreateFontSet(&font), -1);
    EXPECT_EQ(job.m_nFontSets, MAX_FONT_SETS);
}

TEST_F(PrintDataTest, PagesRenderForPeopleToLookAt)
{
    RecordSet records(100);
    PrintDataTable(job, records.Array(), StatisticsOf(records, 100));
    ASSERT_EQ(testutil::PdfPageCount(user.pdfPath), 2);
    const std::string page1 = dir.path() + "/print_data_page1.png";
    EXPECT_TRUE(testutil::RenderPdfPage(user.pdfPath, 1, 100, page1));
    EXPECT_TRUE(testutil::RenderPdfPage(user.pdfPath, 2, 100, dir.path() + "/print_data_page2.png"));
    EXPECT_TRUE(Exists(page1));
}

TEST_F(PrintDataTest, EmptyTextsLeaveTheirPlaceBlank)
{
    RecordSet records(0);
    records.Add(61.5, L"");
    SStatInfo stat = StatisticsOf(records, 1);
    stat.maxTime.Empty();
    PrintDataTable(job, records.Array(), stat);
    auto lines = testutil::PdfPageLines(testutil::PdfWords(user.pdfPath), 1);
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[1], "Start Time");
    EXPECT_EQ(lines[2], "MaxNUM 61.50");
    EXPECT_EQ(lines[7], "1 dBA 61.50");
}

} // namespace
