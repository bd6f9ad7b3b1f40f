// File > Print Data and Print Graph in the main window, and the Print menu of
// the logged-data window: the records as the graph shows them, with the
// statistics of the moment the command started, through the print dialog to
// a PDF printer.
#include "gui_fixture.h"
#include "view_test_access.h"

#include "meterapp/datalog_dlg.h"
#include "meterapp/graphics_btn.h"
#include "resource.h"

#include <graph/time_axis.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "support/pdftext.h"
#include "support/tempdir.h"

namespace {

class PrintFromTheView : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(testutil::PopplerToolsAvailable()) << "poppler-utils (scripts/deps.sh)";
        decibar = std::make_unique<DecibarInstance>();
        view = decibar->View();
        ASSERT_NE(view, nullptr);
        ASSERT_TRUE(decibar->SetViewClientSize(1024, 768));
        pdf = dir.path() + "/view.pdf";
        for (int i = 0; i < 12; ++i)
            AddRecord(50 + i);
        DecibarViewTestAccess::Stat(view).max = 61;
        DecibarViewTestAccess::Stat(view).maxTime = L"01-02-2017,10:00:11";
        DecibarViewTestAccess::Stat(view).min = 50;
        DecibarViewTestAccess::Stat(view).minTime = L"01-02-2017,10:00:00";
        DecibarViewTestAccess::Stat(view).average = 55.5;
        DecibarViewTestAccess::Stat(view).startTime = L"01-02-2017,10:00:00";
        DecibarViewTestAccess::Stat(view).interval = 1.0;
        GraphOf(view).DrawGraph(g_pRealTimeRecords);
        AfxTestPump();
    }
    void TearDown() override
    {
        AfxTestSetModalAnswerer(nullptr);
        if (g_pRealTimeRecords)
            DeleteAllRecords(g_pRealTimeRecords);
        decibar.reset();
    }
    void AddRecord(double level)
    {
        const int i = static_cast<int>(g_pRealTimeRecords->GetSize());
        CString time;
        time.Format(L"01-02-2017,10:00:%.2d", i);
        g_pRealTimeRecords->Add(new CObjData(level, time, L"dBA", 0, 1.0));
    }
    // While the dialog is open a running recording takes one more sample and
    // its statistics change; the user then picks the PDF printer.
    void AnswerWithASampleTakenMeanwhile()
    {
        AfxTestSetModalAnswerer([this](const AfxModalRequest& request) {
            if (request.kind != AfxModalRequest::PrintDialog)
                return static_cast<int>(IDOK);
            AddRecord(99);
            DecibarViewTestAccess::Stat(view).max = 99;
            const std::wstring path(pdf.begin(), pdf.end());
            AfxTestChoosePdfPrinter(static_cast<CPrintDialog*>(request.dialog), path.c_str());
            return static_cast<int>(IDOK);
        });
    }

    testutil::TempDir dir;
    std::string pdf;
    std::unique_ptr<DecibarInstance> decibar;
    CDecibarView* view = nullptr;
};

TEST_F(PrintFromTheView, PrintDataHasTheRecordsOfTheEndAndTheStatisticsOfTheStart)
{
    AnswerWithASampleTakenMeanwhile();
    decibar->Command(ID_FILE_PRINT_DATA);
    ASSERT_EQ(testutil::PdfPageCount(pdf), 1);
    auto lines = testutil::PdfPageLines(testutil::PdfWords(pdf), 1);
    ASSERT_EQ(lines.size(), 7u + 13u + 1u);
    EXPECT_EQ(lines[2], "MaxNUM 61.00 01-02-2017,10:00:11");
    EXPECT_EQ(lines[19], "13 01-02-2017,10:00:12 dBA 99.00");
    EXPECT_FALSE(AfxTestWaitCursorShown());
}

TEST_F(PrintFromTheView, PrintGraphLabelsItsTimeAxisAsTheScreenDoes)
{
    AnswerWithASampleTakenMeanwhile();
    decibar->Command(ID_FILE_PRINT_GRAPH);
    ASSERT_EQ(testutil::PdfPageCount(pdf), 1);
    auto words = testutil::PdfWords(pdf);
    auto lines = testutil::PdfPageLines(words, 1);
    ASSERT_GE(lines.size(), 8u);
    EXPECT_EQ(lines[0], "Veldmark KV415 RealTime Graph");
    EXPECT_EQ(lines[lines.size() - 5], "Maxnum: 61.00 01-02-2017,10:00:11");
    EXPECT_EQ(lines.back(), "Data No.: 13");
    // One labelling rule: the page's tick labels are the screen's.
    const graph::SScreenTimeAxis screen = graph::ScreenTimeAxis(GraphOf(view), *g_pRealTimeRecords);
    std::string expected;
    for (int m = 0; m < graph::kTimeTicks; ++m) {
        const CString& label = screen.labels.label[m];
        expected += (m ? " " : "") + std::string(label.GetString(), label.GetString() + label.GetLength());
    }
    EXPECT_NE(std::find(lines.begin(), lines.end(), expected), lines.end()) << expected;
}

TEST_F(PrintFromTheView, ACancelledDialogPrintsNothingAndSaysNothing)
{
    int boxes = 0;
    AfxTestSetModalAnswerer([&](const AfxModalRequest& request) {
        ++boxes;
        return request.kind == AfxModalRequest::PrintDialog ? static_cast<int>(IDCANCEL) : static_cast<int>(IDOK);
    });
    decibar->Command(ID_FILE_PRINT_GRAPH);
    decibar->Command(ID_FILE_PRINT_DATA);
    EXPECT_EQ(boxes, 2);   // the two dialogs, no message
    EXPECT_EQ(testutil::PdfPageCount(pdf), -1);
    EXPECT_FALSE(AfxTestWaitCursorShown());
}

TEST_F(PrintFromTheView, TheLoggedDataWindowPrintsTheRecordingShownAndNothingBefore)
{
    g_pLogRecords->Add(new CObjData(61.5, L"08-12-2011,9:05:00", L"dBA", 1, 2));
    g_pLogRecords->Add(new CObjData(72.25, L"08-12-2011,9:05:02", L"dBA", 1, 2));
    g_pLogRecords->Add(new CObjData(55, L"09-12-2011,10:00:00", L"dBC", 2, 5));
    int dialogs = 0;
    AfxTestSetModalAnswerer([&](const AfxModalRequest& request) {
        if (request.kind == AfxModalRequest::PrintDialog) {
            ++dialogs;
            const std::wstring path(pdf.begin(), pdf.end());
            AfxTestChoosePdfPrinter(static_cast<CPrintDialog*>(request.dialog), path.c_str());
        }
        return static_cast<int>(IDOK);
    });
    auto window = std::make_unique<CDataLogDlg>(nullptr);
    ASSERT_TRUE(window->Create(IDD_DATALOGGER, nullptr));
    window->ShowWindow(SW_SHOW);
    AfxTestPump();

    // No recording chosen yet: nothing, not even the dialog.
    AfxTestChooseCommand(window.get(), ID_PRINT_SELECTED_DATA);
    AfxTestChooseCommand(window.get(), ID_PRINT_SELECTED_GRAPH);
    EXPECT_EQ(dialogs, 0);

    AfxTestActivateListItem(&window->m_list, 0);
    AfxTestPump();
    AfxTestChooseCommand(window.get(), ID_PRINT_SELECTED_DATA);
    EXPECT_EQ(dialogs, 1);
    auto lines = testutil::PdfPageLines(testutil::PdfWords(pdf), 1);
    ASSERT_EQ(lines.size(), 7u + 2u + 1u);
    EXPECT_EQ(lines[1], "Start Time 08-12-2011,9:05:00");
    EXPECT_EQ(lines[2], "MaxNUM 72.25 08-12-2011,9:05:02");
    EXPECT_EQ(lines[5], "Sample Rate 2.00");
    EXPECT_EQ(lines[8], "2 08-12-2011,9:05:02 dBA 72.25");

    AfxTestChooseCommand(window.get(), ID_PRINT_SELECTED_GRAPH);
    EXPECT_EQ(dialogs, 2);
    lines = testutil::PdfPageLines(testutil::PdfWords(pdf), 1);
    ASSERT_GE(lines.size(), 8u);
    EXPECT_EQ(lines[0], "Veldmark KV415 RealTime Graph");
    EXPECT_EQ(lines.back(), "Data No.: 2");
    window->DestroyWindow();
    window.reset();
    DeleteAllRecords(g_pLogRecords);
}

} // namespace
