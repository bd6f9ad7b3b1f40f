// Decibar's file commands in a real window: Save as and Export To Excel of
// the real-time records, and the close question's Yes.
#include "file_dialogs.h"
#include "view_test_access.h"

#include "meterfiles/data_file.h"
#include "meterfiles/export_table.h"
#include "support/tempdir.h"
#include "resource.h"
#include "afx/win_codes.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sys/stat.h>

namespace {

// "year-month-day hour-minute.ext" of a plausible clock, without leading zeros.
bool IsDefaultFileName(const std::string& name, const std::string& ext)
{
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, used = 0;
    if (std::sscanf(name.c_str(), "%4d-%2d-%2d %2d-%2d.%n", &year, &month, &day, &hour, &minute, &used) != 5)
        return false;
    char expected[64];
    std::snprintf(expected, sizeof expected, "%d-%d-%d %d-%d.", year, month, day, hour, minute);
    return year >= 2000 && month >= 1 && month <= 12 && day >= 1 && day <= 31 && hour <= 23 && minute <= 59
        && name.compare(0, used, expected) == 0 && name.substr(used) == ext;
}

std::string Narrow(const CString& text)
{
    std::string out;
    for (int i = 0; i < text.GetLength(); ++i)
        out.push_back(static_cast<char>(text[i]));
    return out;
}

class FileCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        decibar = std::make_unique<DecibarInstance>();
        AnswerFileDialogs(*decibar, [this](const CFileDialog& dialog) {
            const AfxTestFileDialogRequest asked = AfxTestFileDialogAsked(dialog);
            dialogs.push_back({ asked.open, Narrow(asked.defaultExt), Narrow(asked.fileName), Narrow(asked.filter),
                asked.flags });
            return chosen;
        });
    }

    void TearDown() override { decibar.reset(); }

    void AddRealTimeRecords()
    {
        g_pRealTimeRecords->Add(new CObjData(65.3, L"03-02-2026,09:05:00", L"dBA", 0, 0.5));
        g_pRealTimeRecords->Add(new CObjData(5.3, L"03-02-2026,09:05:01", L"dBA", 0, 0.5));
        g_pRealTimeRecords->Add(new CObjData(100.5, L"03-02-2026,09:05:02", L"dBC", 0, 0.5));
    }

    std::vector<const AfxModalRequest*> MessageBoxes() const
    {
        std::vector<const AfxModalRequest*> boxes;
        for (const AfxModalRequest& r : decibar->modal.requests)
            if (r.kind == AfxModalRequest::MessageBox)
                boxes.push_back(&r);
        return boxes;
    }

    struct DialogSeen {
        bool open;
        std::string ext, name, filter;
        DWORD flags;
    };

    testutil::TempDir dir;
    std::unique_ptr<DecibarInstance> decibar;
    std::vector<DialogSeen> dialogs;
    std::wstring chosen;
};

TEST_F(FileCommands, SaveAsWritesTheRealTimeRecordsUnderTheChosenName)
{
    AddRealTimeRecords();
    chosen = std::wstring(dir.path().begin(), dir.path().end()) + L"/saved.txt";
    decibar->Command(ID_FILE_SAVE_DATA);
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_FALSE(dialogs[0].open);
    EXPECT_EQ(dialogs[0].ext, "txt");
    EXPECT_TRUE(IsDefaultFileName(dialogs[0].name, "txt")) << dialogs[0].name;
    EXPECT_EQ(dialogs[0].filter, "Data File(*.txt)|*.txt||");
    EXPECT_EQ(dialogs[0].flags, static_cast<DWORD>(OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT));
    EXPECT_EQ(FileBytes(dir.path() + "/saved.txt"), meterfiles::FormatDataFile(*g_pRealTimeRecords));
    EXPECT_TRUE(MessageBoxes().empty());

    // Again under another name: the same file.
    chosen = std::wstring(dir.path().begin(), dir.path().end()) + L"/again.txt";
    decibar->Command(ID_FILE_SAVE_DATA);
    EXPECT_EQ(FileBytes(dir.path() + "/again.txt"), FileBytes(dir.path() + "/saved.txt"));
}

TEST_F(FileCommands, SaveAsAndExportDoNothingWithoutRealTimeRecords)
{
    g_pLogRecords->Add(new CObjData(60, L"01-02-2017,9:05:03", L"dBC", 1, 2));
    chosen = std::wstring(dir.path().begin(), dir.path().end()) + L"/none.txt";
    decibar->Command(ID_FILE_SAVE_DATA);
    decibar->Command(ID_FILE_EXPORT_EXCEL);
    EXPECT_TRUE(dialogs.empty());
    EXPECT_TRUE(decibar->modal.requests.empty());
}

TEST_F(FileCommands, ASaveThatCannotBeWrittenSaysSoAndKeepsTheOldFile)
{
    AddRealTimeRecords();
    const std::string folder = dir.path() + "/folder.txt";
    ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
    chosen = std::wstring(folder.begin(), folder.end());
    decibar->modal.messageBoxAnswer = IDYES; // replace what is there
    decibar->Command(ID_FILE_SAVE_DATA);
    const auto boxes = MessageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_NE(boxes[0]->text.find(L"already exists"), std::wstring::npos);
    EXPECT_EQ(boxes[1]->caption, L"ERROR");
    EXPECT_NE(boxes[1]->text.find(L"folder.txt"), std::wstring::npos);

    chosen.clear();
    decibar->Command(ID_FILE_SAVE_DATA);
    EXPECT_EQ(MessageBoxes().size(), 2u) << "a cancelled dialog writes nothing and says nothing";
}

TEST_F(FileCommands, ExportWritesTheViewsTableWithItsStatistics)
{
    AddRealTimeRecords();
    CDecibarView* view = decibar->View();
    DecibarViewTestAccess::Stat(view).startTime = L"03-02-2026,09:05:00";
    DecibarViewTestAccess::Stat(view).max = 100.5;
    DecibarViewTestAccess::Stat(view).maxTime = L"03-02-2026,09:05:02";
    DecibarViewTestAccess::Stat(view).maxUnit = L"dBC";
    DecibarViewTestAccess::Stat(view).min = 5.3;
    DecibarViewTestAccess::Stat(view).minTime = L"03-02-2026,09:05:01";
    DecibarViewTestAccess::Stat(view).minUnit = L"dBA";
    DecibarViewTestAccess::Stat(view).average = 57.03;
    DecibarViewTestAccess::Stat(view).interval = 0.5;
    chosen = std::wstring(dir.path().begin(), dir.path().end()) + L"/table.xls";
    decibar->Command(ID_FILE_EXPORT_EXCEL);
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].ext, "xls");
    EXPECT_EQ(dialogs[0].filter, "Data File(*.xls)|*.xls||");
    EXPECT_TRUE(IsDefaultFileName(dialogs[0].name, "xls")) << dialogs[0].name;
    EXPECT_EQ(FileBytes(dir.path() + "/table.xls"),
        meterfiles::FormatExportTable(*g_pRealTimeRecords, DecibarViewTestAccess::Stat(view), meterfiles::EExportCopy::MainView));
}

TEST_F(FileCommands, CloseQuestionYesSavesTheRealTimeRecordsThenCloses)
{
    AddRealTimeRecords();
    const std::string expected = meterfiles::FormatDataFile(*g_pRealTimeRecords);
    decibar->modal.messageBoxAnswer = IDYES;
    chosen = std::wstring(dir.path().begin(), dir.path().end()) + L"/at-close.txt";
    decibar->Command(ID_FILE_EXIT);
    ASSERT_TRUE(AfxTestPumpUntil([&] { return !decibar->Running(); }));
    EXPECT_EQ(FileBytes(dir.path() + "/at-close.txt"), expected);
}

TEST_F(FileCommands, CloseQuestionYesWhoseSaveFailsKeepsTheProgramAndItsRecords)
{
    AddRealTimeRecords();
    decibar->modal.messageBoxAnswer = IDYES;
    chosen = L"/nonexistent-folder/at-close.txt";
    decibar->Frame()->SendMessage(WM_CLOSE);
    AfxTestPump();
    ASSERT_TRUE(decibar->Running());
    EXPECT_EQ(g_pRealTimeRecords->GetSize(), 3);
    ASSERT_EQ(MessageBoxes().size(), 2u);
    EXPECT_EQ(MessageBoxes()[1]->caption, L"ERROR");

    // Cancelling the save dialog closes as it always has.
    chosen.clear();
    decibar->Frame()->SendMessage(WM_CLOSE);
    ASSERT_TRUE(AfxTestPumpUntil([&] { return !decibar->Running(); }));
}

// Ctrl+S and Ctrl+O, pressed as the user presses them, run Save as and Open,
// whose menu texts show them: the data file's dialogs come up, a replaced
// recording holds the records, and the file chosen for Open is read.
TEST_F(FileCommands, CtrlSAndCtrlORunSaveAsAndOpenAsTheMenuShows)
{
    AddRealTimeRecords();
    const std::string recording = dir.path() + "/recording.txt";
    std::ofstream(recording) << "01-02-2017,09:05:03, 60.0, dBC\r\n";
    chosen = std::wstring(recording.begin(), recording.end());
    decibar->modal.messageBoxAnswer = IDYES; // replace it
    ASSERT_TRUE(AfxTestPressKeys(decibar->Frame(), FCONTROL, 'S'));
    ASSERT_TRUE(AfxTestPumpUntil([&] { return !dialogs.empty(); }));
    EXPECT_FALSE(dialogs[0].open);
    EXPECT_EQ(dialogs[0].filter, "Data File(*.txt)|*.txt||");
    EXPECT_EQ(FileBytes(recording), meterfiles::FormatDataFile(*g_pRealTimeRecords));

    ASSERT_TRUE(AfxTestPressKeys(decibar->Frame(), FCONTROL, 'O'));
    ASSERT_TRUE(AfxTestPumpUntil([&] { return dialogs.size() == 2; }));
    EXPECT_TRUE(dialogs[1].open);
    EXPECT_EQ(dialogs[1].filter, "Data File(*.txt)|*.txt||");
    EXPECT_TRUE(AfxTestPumpUntil([&] { return g_pLogRecords->GetSize() == 3; }));
    EXPECT_EQ(MessageBoxes().size(), 1u) << "only the question to replace the file";

    // The document's own Save, which no key reaches now, writes nothing over a file either.
    decibar->Command(ID_FILE_SAVE);
    EXPECT_EQ(FileBytes(recording), meterfiles::FormatDataFile(*g_pRealTimeRecords));
}

}  // namespace
