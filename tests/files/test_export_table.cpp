// The spreadsheet export as bytes, and the names the save dialogs propose.
#include "meterfiles/export_table.h"
#include "meterfiles/file_names.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

using meterfiles::EExportCopy;
using meterfiles::FormatExportTable;

struct Recording {
    CObArray records;
    SStatInfo stat;
    Recording()
    {
        records.Add(new CObjData(65.3, L"03-02-2026,09:05:00", L"dBA", 0, 0.5));
        records.Add(new CObjData(40.25, L"03-02-2026,09:05:01", L"dBA", 0, 0.5));
        records.Add(new CObjData(101, L"03-02-2026,9:05:02", L"dBC", 0, 0.5));
        stat.startTime = L"03-02-2026,09:05:00";
        stat.max = 101;
        stat.maxTime = L"03-02-2026,9:05:02";
        stat.maxUnit = L"dBC";
        stat.min = 40.25;
        stat.minTime = L"03-02-2026,09:05:01";
        stat.minUnit = L"dBA";
        stat.average = 68.85;
        stat.interval = 0.5;
    }
    ~Recording() { DeleteAllRecords(&records); }
};

std::vector<std::string> LinesOf(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    EXPECT_EQ(start, text.size()) << "text after the last CR LF";
    return lines;
}

TEST(ExportTable, ThreeRecordsGiveNineTabEndedLinesNumberedFromOne)
{
    Recording r;
    const std::vector<std::string> lines = LinesOf(FormatExportTable(r.records, r.stat, EExportCopy::MainView));
    const std::vector<std::string> expected = {
        "StartTime\t03-02-2026,09:05:00\t",
        "Max\t101.00 @ 03-02-2026,9:05:02  dBC\t",
        "Min\t40.25 @ 03-02-2026,09:05:01  dBA\t",
        "Average\t68.85\t",
        "SampleRate\t0.50\t",
        "ID\tUnit\tValue\tDateTime\t",
        "1\tdBA\t65.30\t03-02-2026,09:05:00\t",
        "2\tdBA\t40.25\t03-02-2026,09:05:01\t",
        "3\tdBC\t101.00\t03-02-2026,9:05:02\t",
    };
    EXPECT_EQ(lines, expected);
}

// Seven records of 60.0 and one of 61.0 average exactly 60.125: "60.13" on
// Windows, as every exact tie rounds there.
TEST(ExportTable, ExactTiesRoundAwayFromZero)
{
    CObArray records;
    SStatInfo stat;
    double sum = 0;
    for (int i = 0; i < 8; ++i) {
        const double level = i == 3 ? 61.0 : 60.0;
        records.Add(new CObjData(level, L"03-02-2026,09:05:00", L"dBA", 0, 1.0));
        sum += level;
    }
    records.Add(new CObjData(40.625, L"03-02-2026,09:05:08", L"dBA", 0, 1.0));
    stat.average = sum / 8;
    stat.max = 61.0;
    stat.min = 40.625;
    stat.interval = 0.125;
    const std::vector<std::string> lines = LinesOf(FormatExportTable(records, stat, EExportCopy::MainView));
    DeleteAllRecords(&records);
    ASSERT_EQ(lines.size(), 15u);
    EXPECT_EQ(lines[2], "Min\t40.63 @   \t");
    EXPECT_EQ(lines[3], "Average\t60.13\t");
    EXPECT_EQ(lines[4], "SampleRate\t0.13\t");
    EXPECT_EQ(lines[14], "9\tdBA\t40.63\t03-02-2026,09:05:08\t");
}

TEST(ExportTable, TheTwoCopiesDifferOnlyByTheBlankBeforeTheMaxLinesTab)
{
    Recording r;
    const std::string view = FormatExportTable(r.records, r.stat, EExportCopy::MainView);
    std::string window = FormatExportTable(r.records, r.stat, EExportCopy::LoggedDataWindow);
    const size_t blank = window.find(" dBC \t\r\n");
    ASSERT_NE(blank, std::string::npos);
    window.erase(blank + 4, 1);
    EXPECT_EQ(window, view);
}

TEST(ExportTable, ACellOfTextThatASpreadsheetWouldTakeForAFormulaBeginsWithAnApostrophe)
{
    CObArray records;
    records.Add(new CObjData(-3, L"=2+3", L"+1", 0, 1));
    records.Add(new CObjData(4, L"-2+3", L"@A1", 0, 1));
    records.Add(new CObjData(5, L"\"=2+3\"", L"'=1", 0, 1));
    records.Add(new CObjData(6, L"a\t=1+1\r-1\t7", L" =1", 0, 1));
    records.Add(new CObjData(7, L"1=2-3@4\"", L"dB-", 0, 1));
    SStatInfo stat;
    stat.startTime = L"=HYPERLINK(\"http://example.com/\";\"x\")";
    stat.max = 7;
    stat.maxTime = L"=1";
    stat.maxUnit = L"\t@1";
    stat.min = -3;
    stat.minTime = L"=2+3";
    stat.minUnit = L"+1";
    stat.average = -1;
    stat.interval = -2;
    const std::vector<std::string> expected = {
        "StartTime\t'=HYPERLINK(\"http://example.com/\";\"x\")\t",
        "Max\t7.00 @ =1  \t'@1\t",
        "Min\t'-3.00 @ =2+3  +1\t",
        "Average\t-1.00\t",
        "SampleRate\t-2.00\t",
        "ID\tUnit\tValue\tDateTime\t",
        "1\t'+1\t-3.00\t'=2+3\t",
        "2\t'@A1\t4.00\t'-2+3\t",
        "3\t'=1\t5.00\t'\"=2+3\"\t",
        "4\t =1\t6.00\ta\t'=1+1\r'-1\t7\t",
        "5\tdB-\t7.00\t1=2-3@4\"\t",
    };
    EXPECT_EQ(LinesOf(FormatExportTable(records, stat, EExportCopy::MainView)), expected);
    DeleteAllRecords(&records);
}

TEST(ExportTable, AnEmptyRecordingStillHasItsSixLines)
{
    CObArray none;
    SStatInfo stat;
    EXPECT_EQ(LinesOf(FormatExportTable(none, stat, EExportCopy::MainView)).size(), 6u);
}

TEST(DefaultFileName, HasNoLeadingZeros)
{
    std::tm when {};
    when.tm_year = 2026 - 1900;
    when.tm_mon = 1;
    when.tm_mday = 3;
    when.tm_hour = 9;
    when.tm_min = 5;
    EXPECT_EQ(meterfiles::DefaultFileName(when, L"xls"), L"2026-2-3 9-5.xls");
    when.tm_year = 2011 - 1900;
    when.tm_mon = 5;
    when.tm_mday = 15;
    when.tm_hour = 13;
    when.tm_min = 0;
    EXPECT_EQ(meterfiles::DefaultFileName(when, L"txt"), L"2011-6-15 13-0.txt");
}

}  // namespace
