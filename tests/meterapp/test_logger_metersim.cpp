// End to end with the simulated meter: download its recordings, load one,
// save it, open the file again, and export it for a spreadsheet program.
#include "file_dialogs.h"
#include "view_test_access.h"
#include "metersim_fixture.h"

#include "meterapp/datalog_dlg.h"
#include "support/spreadsheet.h"
#include "support/tempdir.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using namespace livetest;

std::wstring Wide(const std::string& text)
{
    return std::wstring(text.begin(), text.end());
}

TEST(LoggerWithMeter, DownloadLoadSaveOpenAndExportKeepEverySample)
{
    PrivatePorts ports;
    MeterUnderTest meter({ "--frame-ms", "100", "--seed", "5" });
    ASSERT_TRUE(meter.Started());
    DecibarInstance decibar;
    CDecibarView* view = decibar.View();
    ASSERT_TRUE(PumpUntil([&] { return DecibarViewTestAccess::Connected(view).load(); }, 10000));
    testutil::TempDir dir;
    std::wstring chosen;
    AnswerFileDialogs(decibar, [&](const CFileDialog&) { return chosen; });
    decibar.modal.messageBoxAnswer = IDOK;

    // The meter's built-in memory: four recordings, the third over midnight.
    decibar.Command(ID_DATALOGGER);
    ASSERT_TRUE(meter.PumpUntilSays("download done", 10000));
    ASSERT_EQ(g_pLogRecords->GetSize(), 300 + 120 + 90 + 12);
    CDataLogDlg* window = DecibarViewTestAccess::LoggedDataWindow(view);
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(window->m_list.GetItemCount(), 4);
    const wchar_t* units[] = { L"dBA", L"dBC", L"dBA", L"dBA" };
    const wchar_t* rates[] = { L"1.00", L"5.00", L"2.00", L"60.00" };
    const wchar_t* counts[] = { L"300", L"120", L"90", L"12" };
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(window->m_list.GetItemText(row, 0), CString(std::to_wstring(row + 1).c_str()));
        EXPECT_EQ(window->m_list.GetItemText(row, 2), units[row]);
        EXPECT_EQ(window->m_list.GetItemText(row, 3), rates[row]);
        EXPECT_EQ(window->m_list.GetItemText(row, 4), counts[row]);
    }

    AfxTestActivateListItem(&window->m_list, 2);
    AfxTestPump();
    ASSERT_EQ(window->m_pRecords->GetSize(), 90);
    EXPECT_EQ(RecordAt(*window->m_pRecords, 0)->m_strDateTime, L"05-12-2026,23:58:00");
    EXPECT_EQ(RecordAt(*window->m_pRecords, 89)->m_strDateTime, L"06-12-2026,0:00:58");
    std::vector<double> values;
    std::vector<CString> times;
    for (INT_PTR i = 0; i < window->m_pRecords->GetSize(); ++i) {
        values.push_back(RecordAt(*window->m_pRecords, i)->m_dValue);
        times.push_back(RecordAt(*window->m_pRecords, i)->m_strDateTime);
    }

    chosen = Wide(dir.path() + "/midnight.txt");
    AfxTestChooseCommand(window, ID_SAVE_SELECTED);
    decibar.Command(ID_FILE_OPEN_DATA);
    window = DecibarViewTestAccess::LoggedDataWindow(view);
    ASSERT_EQ(g_pLogRecords->GetSize(), 90);
    ASSERT_EQ(window->m_list.GetItemCount(), 1);
    AfxTestActivateListItem(&window->m_list, 0);
    AfxTestPump();
    ASSERT_EQ(window->m_pRecords->GetSize(), 90);
    for (int i = 0; i < 90; ++i) {
        const CObjData* r = RecordAt(*window->m_pRecords, i);
        EXPECT_EQ(r->m_strDateTime, times[static_cast<size_t>(i)]) << i;
        EXPECT_DOUBLE_EQ(r->m_dValue, values[static_cast<size_t>(i)]) << i;
        EXPECT_EQ(r->m_strUnit, L"dBA");
        EXPECT_EQ(r->m_nRecordSet, 0);
        EXPECT_DOUBLE_EQ(r->m_dInterval, 2.0);
    }

    const std::string soffice = testutil::FindSoffice();
    if (soffice.empty())
        GTEST_SKIP() << "soffice not found: the export is not read back by LibreOffice "
                        "(apt-get install libreoffice-calc-nogui to check it)";
    chosen = Wide(dir.path() + "/midnight.xls");
    AfxTestOpenMenu(window, 1);
    ASSERT_TRUE(AfxTestPumpUntil([&] { return !FileBytes(dir.path() + "/midnight.xls").empty(); }, 5000));
    std::vector<std::vector<std::string>> rows;
    std::string why;
    ASSERT_TRUE(testutil::ReadWithLibreOffice(soffice, dir.path() + "/midnight.xls", &rows, &why)) << why;
    ASSERT_EQ(rows.size(), 6u + 90u);
    EXPECT_EQ(CString(rows[0][1].c_str()), times[0]);
    EXPECT_NEAR(std::atof(rows[3][1].c_str()), window->m_stat.average, 0.005);
    EXPECT_DOUBLE_EQ(std::atof(rows[4][1].c_str()), 2.0);
    for (int i = 0; i < 90; ++i) {
        const std::vector<std::string>& row = rows[6 + static_cast<size_t>(i)];
        ASSERT_EQ(row.size(), 4u) << i;
        EXPECT_EQ(std::atoi(row[0].c_str()), i + 1);
        EXPECT_EQ(row[1], "dBA");
        EXPECT_DOUBLE_EQ(std::atof(row[2].c_str()), values[static_cast<size_t>(i)]) << i;
        EXPECT_EQ(CString(row[3].c_str()), times[static_cast<size_t>(i)]);
    }
}

}  // namespace
