// The DATALOGGER window in a real window: its list of recordings, loading one
// with a double click, its read-outs, its menu's file commands, closing and
// Esc; and the view's Open.
#include "file_dialogs.h"
#include "view_test_access.h"

#include "meterapp/datalog_dlg.h"
#include "meterapp/graphics_btn.h"
#include "meterapp/messages.h"
#include "meterfiles/data_file.h"
#include "meterfiles/export_table.h"
#include "support/tempdir.h"
#include "resource.h"
#include "afx/win_codes.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

namespace {

std::wstring Wide(const std::string& text)
{
    return std::wstring(text.begin(), text.end());
}

class DataLogWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        decibar = std::make_unique<DecibarInstance>();
        AnswerFileDialogs(*decibar, [this](const CFileDialog& dialog) {
            ++fileDialogs;
            lastFilter = AfxTestFileDialogAsked(dialog).filter;
            return chosen;
        });
        decibar->modal.messageBoxAnswer = IDOK;
    }

    void TearDown() override
    {
        window.reset();
        DeleteAllRecords(g_pLogRecords);
        decibar.reset();
    }

    void Log(int set, double value, const wchar_t* time, const wchar_t* unit = L"dBA", double interval = 2)
    {
        g_pLogRecords->Add(new CObjData(value, time, unit, set, interval));
    }

    CDataLogDlg& Open()
    {
        window = std::make_unique<CDataLogDlg>(nullptr);
        EXPECT_TRUE(window->Create(IDD_DATALOGGER, nullptr));
        window->ShowWindow(SW_SHOW);
        AfxTestPump();
        return *window;
    }

    CString Text(int id)
    {
        CString text;
        window->GetDlgItemText(id, text);
        return text;
    }

    CComboBox* Rates() { return static_cast<CComboBox*>(window->GetDlgItem(IDC_RATE)); }

    int MessageBoxes(const std::wstring& text)
    {
        int n = 0;
        for (const AfxModalRequest& r : decibar->modal.requests)
            if (r.kind == AfxModalRequest::MessageBox && r.text == text)
                ++n;
        return n;
    }

    testutil::TempDir dir;
    std::unique_ptr<DecibarInstance> decibar;
    std::unique_ptr<CDataLogDlg> window;
    std::wstring chosen;
    int fileDialogs = 0;
    CString lastFilter;
};

TEST_F(DataLogWindow, ListsARowPerRunWithItsCountAndAnEmptyLoggerNone)
{
    Log(1, 50, L"08-12-2011,9:05:00", L"dBA", 2);
    Log(1, 51, L"08-12-2011,9:05:02");
    Log(2, 52, L"09-12-2011,10:00:00", L"dBC", 5);
    Log(2, 53, L"09-12-2011,10:00:05");
    Log(2, 54, L"09-12-2011,10:00:10");
    Log(1, 55, L"10-12-2011,11:00:00", L"dBA", 10);
    CDataLogDlg& dlg = Open();
    CString caption;
    caption = AfxTestWindowText(&dlg);
    EXPECT_EQ(caption, L"DATALOGGER");
    ASSERT_EQ(AfxTestColumnCount(&dlg.m_list), 5);
    ASSERT_EQ(dlg.m_list.GetItemCount(), 3);
    const wchar_t* expected[3][5] = { { L"1", L"08-12-2011,9:05:00", L"dBA", L"2.00", L"2" },
        { L"2", L"09-12-2011,10:00:00", L"dBC", L"5.00", L"3" }, { L"1", L"10-12-2011,11:00:00", L"dBA", L"10.00", L"1" } };
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 5; ++column)
            EXPECT_EQ(dlg.m_list.GetItemText(row, column), expected[row][column]) << row << "," << column;
    EXPECT_EQ(dlg.m_list.GetExtendedStyle() & (LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES),
        static_cast<DWORD>(LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES));
    EXPECT_EQ(AfxTestItemCount(Rates()), 10);
    EXPECT_EQ(Rates()->GetCurSel(), CB_ERR);
    EXPECT_EQ(dlg.m_pRecords->GetSize(), 0);

    window.reset();
    DeleteAllRecords(g_pLogRecords);
    EXPECT_EQ(Open().m_list.GetItemCount(), 0);
}

TEST_F(DataLogWindow, ADoubleClickLoadsEveryRunOfItsRecordingWithStatisticsAndRate)
{
    Log(1, 60, L"08-12-2011,9:05:00", L"dBA", 10);
    Log(1, 80, L"08-12-2011,9:05:10", L"dBC", 10);
    Log(2, 99, L"09-12-2011,10:00:00", L"dBA", 7);
    Log(1, 40, L"10-12-2011,11:00:00", L"dBA", 10);
    CDataLogDlg& dlg = Open();
    const CString topLabel = Text(IDC_Y_LABEL_FIRST + 10);
    AfxTestActivateListItem(&dlg.m_list, 2);
    AfxTestPump();
    ASSERT_EQ(dlg.m_pRecords->GetSize(), 3);
    EXPECT_EQ(dlg.m_graph.m_pRecords, dlg.m_pRecords);
    EXPECT_EQ(Text(IDC_DATA_COUNT), L"3");
    EXPECT_EQ(Text(IDC_AVERAGE), L"60.0");
    EXPECT_EQ(Text(IDC_MAX_VALUE), L"80.0");
    EXPECT_EQ(Text(IDC_MAX_TIME), L"08-12-2011,9:05:10");
    EXPECT_EQ(Text(IDC_MIN_VALUE), L"40.0");
    EXPECT_EQ(Text(IDC_MIN_TIME), L"10-12-2011,11:00:00");
    EXPECT_EQ(Text(IDC_START_TIME), L"08-12-2011,9:05:00");
    EXPECT_EQ(dlg.m_stat.maxUnit, L"dBC");
    EXPECT_DOUBLE_EQ(dlg.m_stat.sum, 180);
    EXPECT_DOUBLE_EQ(dlg.m_stat.interval, 10);
    EXPECT_EQ(Rates()->GetCurSel(), 9);
    EXPECT_FALSE(AfxTestWindowEnabled(Rates()));

    // A zoomed graph is laid out anew for the next recording: the level
    // labels and the scroll bars follow. A rate that is not on the list
    // clears the choice.
    CGraphicsBtn& graph = dlg.m_graph;
    const CPoint from(PLOT_LEFT + 5, PLOT_TOP + 5), to(PLOT_LEFT + graph.m_nPlotWidth / 2, PLOT_TOP + graph.m_nPlotHeight / 2);
    graph.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
    graph.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
    graph.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
    ASSERT_EQ(graph.m_dZoomed, 1.0);
    ASSERT_NE(Text(IDC_Y_LABEL_FIRST + 10), topLabel);
    AfxTestActivateListItem(&dlg.m_list, 1);
    AfxTestPump();
    EXPECT_EQ(dlg.m_pRecords->GetSize(), 1);
    EXPECT_EQ(Rates()->GetCurSel(), CB_ERR);
    EXPECT_EQ(graph.m_dZoomed, 0.0);
    EXPECT_EQ(Text(IDC_Y_LABEL_FIRST + 10), topLabel);
    EXPECT_EQ(Text(IDC_Y_LABEL_FIRST), L"0.00");
    for (CScrollBar* bar : { &dlg.m_vScroll, &dlg.m_hScroll }) {
        int low = -1, high = -1;
        AfxTestScrollRange(bar, &low, &high);
        EXPECT_EQ(high, 0);
        EXPECT_EQ(bar->GetScrollPos(), 0);
    }

    // A double click on no row enables the rate list again and changes nothing else.
    dlg.m_graph.m_dXMax = 77;
    AfxTestActivateListItem(&dlg.m_list, -1);
    AfxTestPump();
    EXPECT_TRUE(AfxTestWindowEnabled(Rates()));
    EXPECT_EQ(dlg.m_graph.m_dXMax, 20);
    EXPECT_EQ(dlg.m_pRecords->GetSize(), 1);
}

TEST_F(DataLogWindow, ARowWhoseRecordsAreGoneShowsAnEmptyRecording)
{
    Log(3, 60, L"08-12-2011,9:05:00");
    CDataLogDlg& dlg = Open();
    AfxTestActivateListItem(&dlg.m_list, 0);
    AfxTestPump();
    ASSERT_EQ(Text(IDC_DATA_COUNT), L"1");
    // The records go without the list being rebuilt.
    dlg.m_pRecords->RemoveAll();
    DeleteAllRecords(g_pLogRecords);
    AfxTestActivateListItem(&dlg.m_list, 0);
    AfxTestPump();
    EXPECT_EQ(dlg.m_pRecords->GetSize(), 0);
    EXPECT_EQ(Text(IDC_DATA_COUNT), L"");
    EXPECT_EQ(Text(IDC_AVERAGE), L"");
}

TEST_F(DataLogWindow, CursorAndHoverReadOutsUseTheShownRecordingAndTheHoverHasNoUnit)
{
    for (int i = 0; i < 8; ++i) {
        CString time;
        time.Format(L"08-12-2011,9:05:%.2d", i);
        Log(1, 50 + i, time, i == 5 ? L"dBC" : L"dBA");
    }
    CDataLogDlg& dlg = Open();
    AfxTestActivateListItem(&dlg.m_list, 0);
    AfxTestPump();
    dlg.SendMessage(WM_GRAPH_HOVER, static_cast<WPARAM>(-2), 5);
    EXPECT_EQ(Text(IDC_HOVER_VALUE), L"55.0");
    EXPECT_EQ(Text(IDC_HOVER_TIME), L"08-12-2011,9:05:05");
    dlg.SendMessage(WM_GRAPH_CURSOR, static_cast<WPARAM>(-1), 3);
    dlg.SendMessage(WM_GRAPH_CURSOR, static_cast<WPARAM>(-2), 7);
    EXPECT_EQ(dlg.m_nCursorA, 3);
    EXPECT_EQ(Text(IDC_AB_QUANTITY), L"5");
    EXPECT_EQ(Text(IDC_AB_AVERAGE), L"55.0");
    EXPECT_EQ(Text(IDC_AB_MAX_VALUE), L"57.0");
    EXPECT_EQ(Text(IDC_AB_MIN_TIME), L"08-12-2011,9:05:03");
    // An index beyond the shown recording changes nothing.
    dlg.SendMessage(WM_GRAPH_HOVER, static_cast<WPARAM>(-2), 8);
    EXPECT_EQ(Text(IDC_HOVER_VALUE), L"55.0");
}

TEST_F(DataLogWindow, ClosingDiscardsTheLoggedDataWhileEscOnlyHidesTheWindow)
{
    Log(1, 60, L"08-12-2011,9:05:00");
    CDataLogDlg& dlg = Open();
    AfxTestActivateListItem(&dlg.m_list, 0);
    AfxTestPump();
    AfxTestPressKey(&dlg, VK_ESCAPE);
    AfxTestPump();
    EXPECT_FALSE(dlg.IsWindowVisible());
    EXPECT_EQ(g_pLogRecords->GetSize(), 1);

    dlg.ShowWindow(SW_SHOW);
    AfxTestPump();
    dlg.SendMessage(WM_CLOSE);
    AfxTestPump();
    EXPECT_FALSE(dlg.IsWindowVisible());
    EXPECT_EQ(g_pLogRecords->GetSize(), 0);
    EXPECT_EQ(dlg.m_pRecords->GetSize(), 0);
    EXPECT_EQ(dlg.m_graph.m_nCursorA, -1);
}

TEST_F(DataLogWindow, SaveSelectedAndExportWriteTheShownRecordingOnlyOnceOneIsLoaded)
{
    Log(1, 60, L"08-12-2011,9:05:00", L"dBA", 2);
    Log(2, 5.3, L"09-12-2011,10:00:00", L"dBC", 5);
    Log(2, 100.5, L"09-12-2011,10:00:05", L"dBC", 5);
    CDataLogDlg& dlg = Open();
    chosen = Wide(dir.path() + "/selected.txt");
    AfxTestChooseCommand(&dlg, ID_SAVE_SELECTED);
    AfxTestOpenMenu(&dlg, 1); // Export To Excel, on the menu bar itself
    AfxTestPump();
    EXPECT_EQ(fileDialogs, 0) << "nothing is shown yet";

    AfxTestActivateListItem(&dlg.m_list, 1);
    AfxTestPump();
    AfxTestChooseCommand(&dlg, ID_SAVE_SELECTED);
    EXPECT_EQ(FileBytes(dir.path() + "/selected.txt"),
        "VELDMARK KV415 DATA LOGGER SamplingRate:5.0;\r\n"
        "09-12-2011,10:00:00,  5.30, dBC\r\n"
        "09-12-2011,10:00:05, 100.50, dBC\r\n");

    chosen = Wide(dir.path() + "/selected.xls");
    AfxTestOpenMenu(&dlg, 1);
    ASSERT_TRUE(AfxTestPumpUntil([&] { return fileDialogs == 2; }));
    AfxTestPump();
    EXPECT_EQ(lastFilter, L"Data File(*.xls)|*.xls||");
    EXPECT_EQ(FileBytes(dir.path() + "/selected.xls"),
        meterfiles::FormatExportTable(*dlg.m_pRecords, dlg.m_stat, meterfiles::EExportCopy::LoggedDataWindow));
    EXPECT_NE(FileBytes(dir.path() + "/selected.xls").find("Max\t100.50 @ 09-12-2011,10:00:05  dBC \t\r\n"),
        std::string::npos);
}

TEST_F(DataLogWindow, ImportReplacesTheLoggedRecordsAndAWrongFileChangesNothing)
{
    Log(1, 60, L"08-12-2011,9:05:00");
    Log(2, 70, L"09-12-2011,9:05:00");
    CDataLogDlg& dlg = Open();
    AfxTestActivateListItem(&dlg.m_list, 1);
    AfxTestPump();

    std::ofstream(dir.path() + "/wrong.txt", std::ios::binary) << "velDMARK KV415 DATA LOGGER SamplingRate:0.5;\r\n";
    chosen = Wide(dir.path() + "/wrong.txt");
    AfxTestOpenMenu(&dlg, 0);
    ASSERT_TRUE(AfxTestPumpUntil([&] { return MessageBoxes(L"Data Format is wrong!") == 1; }));
    EXPECT_EQ(g_pLogRecords->GetSize(), 2);
    EXPECT_EQ(dlg.m_pRecords->GetSize(), 1);

    std::ofstream(dir.path() + "/good.txt", std::ios::binary)
        << "VELDMARK KV415 DATA LOGGER SamplingRate:0.5;\r\n01-01-2026,0:00:00, 42.00, dBC\r\n"
           "01-01-2026,0:00:01, 43.00, dBC\r\n";
    chosen = Wide(dir.path() + "/good.txt");
    AfxTestOpenMenu(&dlg, 0);
    ASSERT_TRUE(AfxTestPumpUntil([&] { return g_pLogRecords->GetSize() == 2 && dlg.m_list.GetItemCount() == 1; }));
    EXPECT_EQ(dlg.m_list.GetItemText(0, 0), L"0");
    EXPECT_EQ(dlg.m_list.GetItemText(0, 4), L"2");
    EXPECT_EQ(dlg.m_pRecords->GetSize(), 0);
    EXPECT_EQ(RecordAt(*g_pLogRecords, 1)->m_strUnit, L"dBC");
}

TEST_F(DataLogWindow, OpenOnTheViewReadsAFileIntoANewWindowAndRefusesAWrongOne)
{
    std::ofstream(dir.path() + "/data.txt", std::ios::binary)
        << "VELDMARK KV415 DATA LOGGER SamplingRate:1.0;\r\n08-12-2011,9:05:00, 65.30, dBA\r\n";
    Log(4, 1, L"old");
    chosen = Wide(dir.path() + "/data.txt");
    decibar->Command(ID_FILE_OPEN_DATA);
    EXPECT_EQ(lastFilter, L"Data File(*.txt)|*.txt||");
    CDecibarView* view = decibar->View();
    ASSERT_NE(DecibarViewTestAccess::LoggedDataWindow(view), nullptr);
    ASSERT_TRUE(DecibarViewTestAccess::LoggedDataWindow(view)->IsWindowVisible());
    EXPECT_EQ(DecibarViewTestAccess::LoggedDataWindow(view)->m_list.GetItemCount(), 1);
    ASSERT_EQ(g_pLogRecords->GetSize(), 1);
    EXPECT_DOUBLE_EQ(RecordAt(*g_pLogRecords, 0)->m_dValue, 65.3);

    // Opening again makes the window anew.
    const HWND first = DecibarViewTestAccess::LoggedDataWindow(view)->GetSafeHwnd();
    decibar->Command(ID_FILE_OPEN_DATA);
    EXPECT_NE(DecibarViewTestAccess::LoggedDataWindow(view)->GetSafeHwnd(), first);
    EXPECT_TRUE(DecibarViewTestAccess::LoggedDataWindow(view)->IsWindowVisible());

    chosen = Wide(dir.path() + "/none.txt");
    decibar->Command(ID_FILE_OPEN_DATA);
    ASSERT_EQ(decibar->modal.requests.back().kind, AfxModalRequest::MessageBox);
    EXPECT_NE(decibar->modal.requests.back().text.find(L"none.txt"), std::wstring::npos);
    EXPECT_EQ(g_pLogRecords->GetSize(), 1);
}

TEST_F(DataLogWindow, Screenshot)
{
    const char* path = std::getenv("DECIBAR_DATALOG_SCREENSHOT");
    if (!path)
        GTEST_SKIP() << "set DECIBAR_DATALOG_SCREENSHOT to a PNG path to save the window with a loaded recording";
    for (int block = 1; block <= 3; ++block)
        for (int i = 0; i < 60 * block; ++i) {
            CString time;
            time.Format(L"%.2d-12-2026,%d:%.2d:%.2d", block, 8 + block, i * block / 60, i * block % 60);
            Log(block, 45 + (i * 37 % 200) / 10.0 + 10 * (block % 2), time, block == 2 ? L"dBC" : L"dBA", block);
        }
    CDataLogDlg& dlg = Open();
    AfxTestActivateListItem(&dlg.m_list, 1);
    AfxTestPump();
    dlg.SendMessage(WM_GRAPH_CURSOR, static_cast<WPARAM>(-1), 20);
    dlg.SendMessage(WM_GRAPH_CURSOR, static_cast<WPARAM>(-2), 70);
    dlg.m_graph.m_nCursorA = 20;
    dlg.m_graph.m_nCursorB = 70;
    dlg.SendMessage(WM_GRAPH_HOVER, static_cast<WPARAM>(-2), 45);
    dlg.m_graph.DrawGraph(dlg.m_pRecords);
    AfxTestPumpUntil([] { return false; }, 300);
    const std::string text(path);
    EXPECT_TRUE(AfxTestSaveScreenshot(&dlg, std::wstring(text.begin(), text.end())));
}

}  // namespace
