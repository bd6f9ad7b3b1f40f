// Decibar in a real window: start-up state, menus, layout, pictures, About,
// Help and the close question.
#include "live_fixture.h"
#include "view_test_access.h"

#include "meterdata/view_layout.h"
#include "resource.h"
#include "support/scopedenv.h"
#include "support/tempdir.h"
#include "afx/win_codes.h"

#include <art/art.h>
#include <win32/devicewatch.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

COLORREF ArtPixel(unsigned id, int x, int y)
{
    const art::Image* image = art::Find(art::Kind::Bitmap, id);
    const uint32_t argb = image->pixels[static_cast<size_t>(y) * image->width + x];
    return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

CString MenuText(CMenu* menu, int position)
{
    CString text;
    AfxTestMenuString(menu, position, text, MF_BYPOSITION);
    return text;
}

TEST(DecibarWindow, StartsMaximisedWithTitleMenusBarsAndAccelerators)
{
    DecibarInstance decibar;
    CMainFrame* frame = decibar.Frame();
    ASSERT_NE(frame, nullptr);
    CString title;
    title = AfxTestWindowText(frame);
    EXPECT_EQ(title, CString(L"KV415"));

    CMenu* bar = AfxTestMenuBar(frame);
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(AfxTestMenuItemCount(bar), 6);
    const wchar_t* barTexts[] = { L"File(&F)", L"Real Time(&R)", L"DataLogger(&D)", L"Com Port(&C)", L"View(&V)",
        L"Help(&H)" };
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(MenuText(bar, i), CString(barTexts[i])) << i;
    // DataLogger is a command on the bar itself.
    EXPECT_EQ(AfxTestMenuItemID(bar, 2), static_cast<UINT>(ID_DATALOGGER));
    CMenu* file = bar->GetSubMenu(0);
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(AfxTestMenuItemCount(file), 7);
    // The layer shows the part after the tab apart from the label, with blanks.
    EXPECT_EQ(MenuText(file, 0).Left(4), CString(L"Open"));
    EXPECT_EQ(MenuText(file, 0).Mid(MenuText(file, 0).GetLength() - 10), CString(L"Ctrl+O(&O)"));
    EXPECT_EQ(MenuText(file, 1).Left(8), CString(L"Save as "));
    EXPECT_EQ(MenuText(file, 1).Mid(MenuText(file, 1).GetLength() - 10), CString(L"Ctrl+S(&S)"));
    EXPECT_EQ(AfxTestMenuItemID(file, 5), 0u);
    EXPECT_EQ(AfxTestMenuItemID(file, 6), static_cast<UINT>(ID_FILE_EXIT));
    EXPECT_EQ(MenuText(bar->GetSubMenu(1), 2), CString(L"Clear Data(C)"));
    EXPECT_EQ(AfxTestMenuItemID(bar->GetSubMenu(5), 1), static_cast<UINT>(ID_APP_ABOUT));

    const UINT buttons[] = { ID_FILE_OPEN_DATA, ID_SEPARATOR, ID_FILE_SAVE_DATA, ID_FILE_EXPORT_EXCEL, ID_REALTIME_RUN,
        ID_REALTIME_STOP, ID_FILE_PRINT_GRAPH, ID_HELP_CONTENTS };
    // The bars as the frame holds them once they are made.
    ASSERT_NE(AfxTestToolBar(frame), nullptr);
    ASSERT_NE(AfxTestStatusBar(frame), nullptr);
    ASSERT_EQ(AfxTestButtonCount(AfxTestToolBar(frame)), 8);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(AfxTestButtonID(AfxTestToolBar(frame), i), buttons[i]) << i;

    const UINT indicators[] = { ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL };
    ASSERT_EQ(AfxTestIndicators(AfxTestStatusBar(frame)).size(), 4u);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(AfxTestIndicators(AfxTestStatusBar(frame))[i], indicators[i]);
    EXPECT_EQ(AfxTestPaneText(AfxTestStatusBar(frame), 0), CString(L"Ready"));

    EXPECT_STREQ(AfxGetAppName(), L"Decibar");
    EXPECT_FALSE(frame->m_bAutoMenuEnable);
}

TEST(DecibarWindow, FindsNoMeterOfAnotherSessionInThePortDirectoryTheEnvironmentNames)
{
    testutil::TempDir shared;
    const std::string sharedPorts = shared.path() + "/comports";
    std::filesystem::create_directories(sharedPorts);
    testutil::ScopedEnv users("COMPORTS_DIR", sharedPorts);
    livetest::FakeMeterLine otherMeter(sharedPorts, 4, livetest::BridgeName(4));
    DecibarInstance decibar;
    EXPECT_EQ(DecibarViewTestAccess::PortNumber(decibar.View()), 0);
    EXPECT_TRUE(decibar.modal.requests.empty());
}

TEST(DecibarWindow, ViewStartsIdleWithTheRateListAndEmptyStatistics)
{
    DecibarInstance decibar;
    CDecibarView* view = decibar.View();
    ASSERT_NE(view, nullptr);
    ASSERT_NE(g_pRealTimeRecords, nullptr);
    ASSERT_NE(g_pLogRecords, nullptr);
    EXPECT_EQ(g_pRealTimeRecords->GetSize(), 0);
    EXPECT_EQ(g_pLogRecords->GetSize(), 0);

    auto* rates = static_cast<CComboBox*>(view->GetDlgItem(IDC_RATE));
    ASSERT_NE(rates, nullptr);
    const wchar_t* expected[] = { L"0.1", L"0.2", L"0.5", L"1", L"1.5", L"2", L"2.5", L"3", L"5", L"10" };
    ASSERT_EQ(AfxTestItemCount(rates), 10);
    for (int i = 0; i < 10; ++i) {
        CString text;
        AfxTestItemText(rates, i, text);
        EXPECT_EQ(text, CString(expected[i])) << i;
    }
    EXPECT_EQ(rates->GetCurSel(), 2);
    CString shown;
    shown = AfxTestWindowText(rates);
    EXPECT_EQ(shown, CString(L"0.5"));

    for (int id : { IDC_START_TIME, IDC_MAX_VALUE, IDC_MAX_TIME, IDC_MIN_VALUE, IDC_MIN_TIME, IDC_AVERAGE,
             IDC_DATA_COUNT }) {
        CString text;
        view->GetDlgItemText(id, text);
        EXPECT_TRUE(text.IsEmpty()) << id;
    }
    EXPECT_EQ(DecibarViewTestAccess::MaxSamples(view), 40000);
    EXPECT_DOUBLE_EQ(DecibarViewTestAccess::Stat(view).min, 150);
    EXPECT_DOUBLE_EQ(DecibarViewTestAccess::Stat(view).max, 0);
    EXPECT_FALSE(DecibarViewTestAccess::Connected(view));
    EXPECT_FALSE(DecibarViewTestAccess::Recording(view));
    EXPECT_DOUBLE_EQ(DecibarViewTestAccess::ReadingNow(view).level, 50.0);
    EXPECT_EQ(DecibarViewTestAccess::CursorA(view), -1);

    // The idle picture at the top left of the view, pixel for pixel where sampled.
    view->Invalidate();
    view->UpdateWindow();
    for (auto point : { CPoint(0, 0), CPoint(97, 230), CPoint(60, 100), CPoint(194, 460), CPoint(150, 300) })
        EXPECT_EQ(AfxTestReadPixel(view, point.x, point.y), ArtPixel(IDB_IDLE, point.x, point.y))
            << point.x << "," << point.y;
}

TEST(DecibarWindow, RunStopAndPortItemsFollowTheView)
{
    DecibarInstance decibar;
    CMainFrame* frame = decibar.Frame();
    CDecibarView* view = decibar.View();

    AfxTestUpdateMenuPopup(frame, 1);
    AfxTestUpdateMenuPopup(frame, 3);
    EXPECT_FALSE(Grayed(frame, ID_REALTIME_RUN));
    EXPECT_TRUE(Grayed(frame, ID_REALTIME_STOP));
    EXPECT_TRUE(Checked(frame, ID_COMPORT_AUTO));
    EXPECT_FALSE(Checked(frame, ID_COMPORT_MANUAL));
    // Both port modes carry radio marks, not check marks.
    EXPECT_TRUE(AfxTestMenuState(AfxTestMenuBar(frame), ID_COMPORT_AUTO, MF_BYCOMMAND) & MFT_RADIOCHECK);
    EXPECT_TRUE(AfxTestMenuState(AfxTestMenuBar(frame), ID_COMPORT_MANUAL, MF_BYCOMMAND) & MFT_RADIOCHECK);
    AfxTestUpdateButtons(AfxTestToolBar(frame));
    EXPECT_TRUE(AfxTestButtonEnabled(AfxTestToolBar(frame), ID_REALTIME_RUN));
    EXPECT_FALSE(AfxTestButtonEnabled(AfxTestToolBar(frame), ID_REALTIME_STOP));

    DecibarViewTestAccess::Recording(view) = true;
    decibar.modal.dialogAnswer = IDCANCEL; // manual mode without opening a port
    decibar.Command(ID_COMPORT_MANUAL);
    AfxTestUpdateMenuPopup(frame, 1);
    AfxTestUpdateMenuPopup(frame, 3);
    EXPECT_TRUE(Grayed(frame, ID_REALTIME_RUN));
    EXPECT_FALSE(Grayed(frame, ID_REALTIME_STOP));
    EXPECT_FALSE(Checked(frame, ID_COMPORT_AUTO));
    EXPECT_TRUE(Checked(frame, ID_COMPORT_MANUAL));
    AfxTestUpdateButtons(AfxTestToolBar(frame));
    EXPECT_FALSE(AfxTestButtonEnabled(AfxTestToolBar(frame), ID_REALTIME_RUN));
    EXPECT_TRUE(AfxTestButtonEnabled(AfxTestToolBar(frame), ID_REALTIME_STOP));
    DecibarViewTestAccess::Recording(view) = false;

    // Without automatic enabling, an item the program grayed stays gray.
    AfxTestMenuBar(frame)->EnableMenuItem(ID_REALTIME_CLEAR, MF_BYCOMMAND | MF_GRAYED);
    AfxTestUpdateMenuPopup(frame, 1);
    AfxTestUpdateMenuPopup(frame, 1);
    EXPECT_TRUE(Grayed(frame, ID_REALTIME_CLEAR));
}

TEST(DecibarWindow, GraphPanelFillsA1024By768View)
{
    DecibarInstance decibar;
    CDecibarView* view = decibar.View();
    ASSERT_TRUE(decibar.SetViewClientSize(1024, 768));
    const CRect cursor = ControlRect(view, IDC_CURSOR_GROUP);
    const int left = cursor.left;
    const int bottom = cursor.bottom;

    EXPECT_EQ(ControlRect(view, IDC_GRAPH), CRect(left, bottom + 5, 982, 713));
    EXPECT_EQ(ControlRect(view, IDC_VSCROLL), CRect(982, bottom + 5, 997, 713));
    EXPECT_EQ(ControlRect(view, IDC_HSCROLL), CRect(left, 733, 982, 748));
    EXPECT_EQ(ControlRect(view, IDC_GRAPH_GROUP), CRect(left - 10, 10, 1014, 758));
    EXPECT_TRUE(view->GetDlgItem(IDC_GRAPH)->IsWindowVisible());
    EXPECT_TRUE(view->GetDlgItem(IDC_VSCROLL)->IsWindowVisible());
    // The cursor group itself keeps its form place.
    EXPECT_EQ(ControlRect(view, IDC_CURSOR_GROUP), cursor);
}

TEST(DecibarWindow, SmallViewsAreLaidOutAs800By550)
{
    DecibarInstance decibar;
    CDecibarView* view = decibar.View();
    ASSERT_TRUE(decibar.SetViewClientSize(700, 500));
    const CRect cursor = ControlRect(view, IDC_CURSOR_GROUP);
    EXPECT_EQ(ControlRect(view, IDC_GRAPH), CRect(cursor.left, cursor.bottom + 5, 758, 495));
    EXPECT_EQ(ControlRect(view, IDC_VSCROLL), CRect(758, cursor.bottom + 5, 773, 495));
    EXPECT_EQ(ControlRect(view, IDC_HSCROLL), CRect(cursor.left, 515, 758, 530));
    EXPECT_EQ(ControlRect(view, IDC_GRAPH_GROUP), CRect(cursor.left - 10, 10, 790, 540));
}

TEST(DecibarWindow, ExitWithoutRecordsClosesAtOnceAndFreesTheView)
{
    DecibarInstance decibar;
    decibar.Command(ID_FILE_EXIT);
    ASSERT_TRUE(AfxTestPumpUntil([&] { return !decibar.Running(); }));
    EXPECT_TRUE(decibar.modal.requests.empty());
    EXPECT_EQ(g_pView, nullptr);
    EXPECT_EQ(g_pRealTimeRecords, nullptr);
    EXPECT_EQ(g_pLogRecords, nullptr);
}

void ExpectSaveQuestion(const SModalLog& modal)
{
    ASSERT_EQ(modal.requests.size(), 1u);
    const AfxModalRequest& question = modal.requests[0];
    EXPECT_EQ(question.kind, AfxModalRequest::MessageBox);
    EXPECT_EQ(question.text, L"Do you want to save the data before closing?");
    EXPECT_EQ(question.caption, L"Tip");
    EXPECT_EQ(question.type, static_cast<UINT>(MB_YESNO));
}

TEST(DecibarWindow, ExitWithRealTimeRecordsAsksBeforeClosing)
{
    DecibarInstance decibar;
    g_pRealTimeRecords->Add(new CObjData(55.5, L"01-02-2017,09:05:03", L"dBA", 0, 0.5));
    decibar.modal.messageBoxAnswer = IDNO;
    decibar.Command(ID_FILE_EXIT);
    ASSERT_TRUE(AfxTestPumpUntil([&] { return !decibar.Running(); }));
    ExpectSaveQuestion(decibar.modal);
    EXPECT_EQ(g_pRealTimeRecords, nullptr);
}

TEST(DecibarWindow, CloseBoxWithLoggedRecordsOnlyAsksTooAndClosesOnYes)
{
    DecibarInstance decibar;
    g_pLogRecords->Add(new CObjData(60, L"01-02-2017,9:05:03", L"dBC", 1, 2));
    decibar.modal.messageBoxAnswer = IDYES;
    decibar.Frame()->SendMessage(WM_CLOSE);
    ASSERT_TRUE(AfxTestPumpUntil([&] { return !decibar.Running(); }));
    ExpectSaveQuestion(decibar.modal);
    EXPECT_EQ(g_pLogRecords, nullptr);
}

TEST(DecibarWindow, DeviceChangesAreAnsweredTrue)
{
    DecibarInstance decibar;
    EXPECT_EQ(decibar.Frame()->SendMessage(WM_DEVICECHANGE, 0x8000, 0), TRUE);
    EXPECT_EQ(decibar.Frame()->SendMessage(WM_DEVICECHANGE, 0x0007, 0), TRUE);
}

TEST(DecibarWindow, AboutShowsDialog100)
{
    DecibarInstance decibar;
    CString version;
    CString notice;
    UINT templateId = 0;
    AfxTestSetModalAnswerer([&](const AfxModalRequest& request) {
        decibar.modal.requests.push_back(request);
        if (request.dialog)
            templateId = AfxTestTemplateId(request.dialog);
        return static_cast<int>(IDOK);
    });
    decibar.Command(ID_APP_ABOUT);
    ASSERT_EQ(decibar.modal.requests.size(), 1u);
    EXPECT_EQ(decibar.modal.requests[0].kind, AfxModalRequest::Dialog);
    EXPECT_EQ(decibar.modal.requests[0].text, L"About KV415");
    EXPECT_EQ(templateId, static_cast<UINT>(IDD_ABOUT));
    EXPECT_TRUE(decibar.Running());
}

std::string ProgramFolder()
{
    char path[4096];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof(path) - 1);
    std::string text(path, n > 0 ? static_cast<size_t>(n) : 0);
    return text.substr(0, text.rfind('/'));
}

TEST(DecibarWindow, ContentsOpensTheHelpFileBesideTheProgram)
{
    testutil::TempDir bin;
    const std::string log = bin.path() + "/opened";
    {
        std::ofstream script(bin.path() + "/xdg-open");
        script << "#!/bin/sh\nprintf '%s\\n' \"$@\" >> " << log << "\n";
    }
    chmod((bin.path() + "/xdg-open").c_str(), 0755);
    testutil::ScopedEnv path("PATH", bin.path() + ":/usr/bin:/bin");
    const std::string help = ProgramFolder() + "/KV415.chm";

    DecibarInstance decibar;
    std::remove(help.c_str());
    decibar.Command(ID_HELP_CONTENTS);   // no file: no handler may start

    std::ofstream(help) << "help";
    decibar.Command(ID_HELP_CONTENTS);
    // The handler is started within the command; one that the first command
    // had started would have written its line first.
    const auto logged = [&] {
        std::ifstream in(log);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    };
    EXPECT_TRUE(AfxTestPumpUntil([&] { return logged().find('\n') != std::string::npos; }, 3000));
    std::remove(help.c_str());
    EXPECT_EQ(logged(), help + "\n") << "opened once, with the file beside the program";
    EXPECT_TRUE(decibar.modal.requests.empty());
    EXPECT_TRUE(decibar.Running());
}

// The framework's New (Ctrl+N) runs the initial update again; the view keeps
// what it has instead of filling the list twice or resetting a recording.
TEST(DecibarWindow, RepeatedInitialUpdateKeepsTheViewAsItIs)
{
    DecibarInstance decibar;
    CDecibarView* view = decibar.View();
    auto* rates = static_cast<CComboBox*>(view->GetDlgItem(IDC_RATE));
    rates->SetCurSel(4);
    DecibarViewTestAccess::Recording(view) = true;
    DecibarViewTestAccess::Stat(view).max = 88;
    g_pRealTimeRecords->Add(new CObjData(88, L"01-02-2017,09:05:03", L"dBA", 0, 0.5));

    decibar.Command(ID_FILE_NEW);
    ASSERT_EQ(decibar.View(), view);
    EXPECT_EQ(AfxTestItemCount(rates), 10);
    EXPECT_EQ(rates->GetCurSel(), 4);
    EXPECT_TRUE(DecibarViewTestAccess::Recording(view));
    EXPECT_DOUBLE_EQ(DecibarViewTestAccess::Stat(view).max, 88);
    EXPECT_EQ(g_pRealTimeRecords->GetSize(), 1);
    DecibarViewTestAccess::Recording(view) = false;
    DeleteAllRecords(g_pRealTimeRecords);
}

// What the reader thread will share with painting is taken under the view's
// lock; repainting while another thread writes it must stay race-free.
TEST(DecibarWindow, PaintingWhileAnotherThreadWritesTheReading)
{
    DecibarInstance decibar;
    CDecibarView* view = decibar.View();
    std::atomic<bool> stop { false };
    std::thread writer([&] {
        for (int i = 0; !stop; ++i) {
            DecibarViewTestAccess::WriteAsReader(view, [i](SReading& reading, CString& rx) {
                reading.level = 30 + i % 100;
                rx += L"a5";
                if (rx.GetLength() > 400)
                    rx.Empty();
            });
            DecibarViewTestAccess::Connected(view) = (i / 50) % 2 == 0;
            std::this_thread::yield();
        }
    });
    for (int i = 0; i < 20; ++i) {
        view->Invalidate();
        view->UpdateWindow();
        AfxTestPump();
    }
    stop = true;
    writer.join();

    // Connected, the display window of the face is cleared; idle, the idle picture shows.
    DecibarViewTestAccess::Connected(view) = true;
    view->Invalidate();
    view->UpdateWindow();
    EXPECT_EQ(AfxTestReadPixel(view, 60, 60), RGB(128, 140, 128));
    DecibarViewTestAccess::Connected(view) = false;
    view->Invalidate();
    view->UpdateWindow();
    EXPECT_EQ(AfxTestReadPixel(view, 60, 60), ArtPixel(IDB_IDLE, 60, 60));
}

TEST(DecibarWindow, Screenshot)
{
    const char* path = std::getenv("DECIBAR_SCREENSHOT");
    if (!path)
        GTEST_SKIP() << "set DECIBAR_SCREENSHOT to a PNG path to save the main window";
    DecibarInstance decibar;
    // As a maximised window on a 1280 x 1024 screen shows it.
    decibar.SetViewClientSize(1280, 900);
    CDecibarView* view = decibar.View();
    view->Invalidate();
    view->UpdateWindow();
    // Taken once the screen shows the drawn face, not before GTK has put it there.
    EXPECT_TRUE(livetest::PumpUntil(
        [&] { return livetest::ScreenPixelsUnlikePicture(view, IDB_IDLE, CRect(0, 0, 100, 100)) == 0; }, 5000));
    const std::string text(path);
    EXPECT_TRUE(AfxTestSaveScreenshot(decibar.Frame(), std::wstring(text.begin(), text.end())));
}

} // namespace
