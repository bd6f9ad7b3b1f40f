// The export opened by a spreadsheet program: LibreOffice reads the same
// texts and numbers that the records and statistics hold, and computes no
// text of a data file as a formula.
#include "meterfiles/export_table.h"
#include "meterfiles/file_store.h"

#include "support/spreadsheet.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>
#include <win32/text.h>

#include <cstdlib>

namespace {

TEST(ExportSpreadsheet, LibreOfficeReadsTheRecordsAndStatisticsBack)
{
    const std::string soffice = testutil::FindSoffice();
    if (soffice.empty())
        GTEST_SKIP() << "soffice not found: LibreOffice's reading of the export is not checked "
                        "(apt-get install libreoffice-calc-nogui to check it)";
    CObArray records;
    const double values[] = { 65.3, 5.3, 100.5, 0.0, 130.0, 42.25 };
    for (int i = 0; i < 6; ++i) {
        CString time;
        time.Format(L"08-12-2011,9:05:%.2d", 2 * i);
        records.Add(new CObjData(values[i], time, i % 2 ? L"dBC" : L"dBA", 1, 2.0));
    }
    // Texts of a data file that a spreadsheet would compute, or follow as a link.
    const struct {
        const wchar_t* dateTime;
        const wchar_t* unit;
    } formulas[] = {
        { L"=2+3", L"=1+1" }, { L"+2+3", L"-1" }, { L"-2+3", L"@A1" }, { L"@SUM(1;2)", L"+A1" },
        { L"\"=2+3\"", L"\"=1\"" }, { L"=HYPERLINK(\"http://example.com/\";\"click\")", L"=A1" },
    };
    for (const auto& f : formulas)
        records.Add(new CObjData(50, f.dateTime, f.unit, 1, 2.0));
    SStatInfo stat;
    stat.startTime = L"08-12-2011,9:05:00";
    stat.max = 130.0;
    stat.maxTime = L"08-12-2011,9:05:08";
    stat.maxUnit = L"dBA";
    stat.min = 0.0;
    stat.minTime = L"08-12-2011,9:05:06";
    stat.minUnit = L"dBC";
    stat.average = 57.204;
    stat.interval = 2.0;

    testutil::TempDir dir;
    const std::string path = dir.path() + "/2026-2-3 9-5.xls";
    CString problem;
    ASSERT_TRUE(meterfiles::ReplaceFileContents(CString(path.c_str()),
        meterfiles::FormatExportTable(records, stat, meterfiles::EExportCopy::LoggedDataWindow), &problem));
    std::vector<std::vector<std::string>> rows;
    std::string why;
    ASSERT_TRUE(testutil::ReadWithLibreOffice(soffice, path, &rows, &why)) << why;

    ASSERT_EQ(rows.size(), 18u);
    EXPECT_EQ(rows[0], (std::vector<std::string> { "StartTime", "08-12-2011,9:05:00" }));
    EXPECT_EQ(rows[1], (std::vector<std::string> { "Max", "130.00 @ 08-12-2011,9:05:08  dBA " }));
    EXPECT_EQ(rows[2], (std::vector<std::string> { "Min", "0.00 @ 08-12-2011,9:05:06  dBC" }));
    ASSERT_EQ(rows[3].size(), 2u);
    EXPECT_DOUBLE_EQ(std::atof(rows[3][1].c_str()), 57.2) << "the average as written, %.2f";
    EXPECT_EQ(rows[4], (std::vector<std::string> { "SampleRate", "2" }));
    EXPECT_EQ(rows[5], (std::vector<std::string> { "ID", "Unit", "Value", "DateTime" }));
    for (int i = 0; i < 6; ++i) {
        const std::vector<std::string>& row = rows[6 + i];
        ASSERT_EQ(row.size(), 4u) << i;
        EXPECT_EQ(std::atoi(row[0].c_str()), i + 1);
        EXPECT_EQ(row[1], i % 2 ? "dBC" : "dBA");
        EXPECT_DOUBLE_EQ(std::atof(row[2].c_str()), values[i]) << row[2];
        EXPECT_EQ(CString(row[3].c_str()), RecordAt(records, i)->m_strDateTime);
    }
    // They read back as the texts they are, after the apostrophe that keeps
    // them texts.
    for (size_t i = 0; i < sizeof formulas / sizeof formulas[0]; ++i) {
        const std::vector<std::string>& row = rows[12 + i];
        ASSERT_EQ(row.size(), 4u) << i;
        EXPECT_EQ(row[1], "'" + win32::Utf8FromWide(formulas[i].unit)) << i;
        EXPECT_EQ(row[3], "'" + win32::Utf8FromWide(formulas[i].dateTime)) << i;
    }
    DeleteAllRecords(&records);
}

}  // namespace
