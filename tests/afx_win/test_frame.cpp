// The frame: menus and their update handlers, tool bar, status bar, device
// changes; the single-document template with a form view; the profile.
#include <atomic>
#include <cstdlib>
#include <fstream>
#include <cstring>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

#include <wx/statusbr.h>
#include <wx/toolbar.h>

#include "gui_support.h"
#include "screen_image.h"
#include "support/pipe_watch.h"
#include "win32/devicewatch.h"
#include "x_keyboard.h"
#include "afx/win_codes.h"

namespace {

constexpr UINT IDR_TEST = 800;
constexpr UINT ID_RUN = 40001, ID_STOP = 40002, ID_CLEAR = 40003, ID_SETUP = 40004, ID_LOGGER = 40010;

constexpr UINT ID_MANUAL = 40030, ID_AUTO = 40031;

const AfxMenuEntry kMenu[] = {
    AfxPopup(L"File(&F)"), AfxItem(40020, L"Open\tCtrl+O(&O)"), AfxSeparator(), AfxItem(40021, L"Exit(&X)"), AfxEndPopup(),
    AfxPopup(L"Real Time(&R)"), AfxItem(ID_RUN, L"Run(&R)"), AfxItem(ID_STOP, L"Stop(&S)"),
    AfxItem(ID_CLEAR, L"Clear Data(C)"), AfxItem(ID_SETUP, L"Setup(&U)"), AfxEndPopup(),
    AfxItem(ID_LOGGER, L"DataLogger(&D)"),
    AfxPopup(L"Com Port(&C)"), AfxItem(ID_MANUAL, L"Manual(&M)"), AfxItem(ID_AUTO, L"Auto(&A)"), AfxEndPopup(),
    AfxPopup(L"View(&V)"), AfxItem(ID_VIEW_TOOLBAR, L"ToolBar(&T)"), AfxItem(ID_VIEW_STATUS_BAR, L"StatusBar(&S)"), AfxEndPopup(),
};
const AfxStringEntry kStrings[] = {
    {IDR_TEST, L"KV-Test\n\nTest\n\n\nTest.Document\nTest.Document"},
    {ID_RUN, L"Run Real Time Monitoring\nRun"},
    {ID_STOP, L"Stop Real Time Monitoring\nStop"},
    {AFX_IDS_IDLEMESSAGE, L"Ready"},
};
const UINT kButtons[] = {ID_RUN, ID_SEPARATOR, ID_STOP, ID_SETUP};
const AfxToolBarTemplate kToolBar{17, 15, IDR_TEST, kButtons, 4};
const AfxAccelEntry kAccels[] = {{FVIRTKEY | FCONTROL, 'O', ID_FILE_OPEN}, {FVIRTKEY, VK_F6, ID_NEXT_PANE}};

struct Registration {
    Registration()
    {
        AfxRegisterMenu(IDR_TEST, kMenu);
        AfxRegisterStrings(kStrings);
        AfxRegisterToolBar(IDR_TEST, kToolBar);
        AfxRegisterAccelerators(IDR_TEST, kAccels);
    }
} g_registration;

std::atomic<int> g_deviceChanges{0};
std::atomic<int> g_deviceChangesOffThread{0};
bool g_frameDeleted = false;

class CTestFrame : public CFrameWnd {
public:
    CTestFrame() { m_bAutoMenuEnable = FALSE; }
    ~CTestFrame() override { g_frameDeleted = true; }
    bool m_recording = false;
    int m_clears = 0;
    int m_runs = 0;
    int m_loggers = 0;
    bool m_autoPort = true;
    std::vector<UINT> m_portCommands;
    CToolBar m_wndToolBar;
    CStatusBar m_wndStatusBar;

protected:
    int OnCreate(LPCREATESTRUCT cs)
    {
        if (CFrameWnd::OnCreate(cs) == -1)
            return -1;
        static const UINT indicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};
        if (!m_wndToolBar.CreateEx(this) || !m_wndToolBar.LoadToolBar(IDR_TEST))
            return -1;
        if (!m_wndStatusBar.Create(this) || !m_wndStatusBar.SetIndicators(indicators, 4))
            return -1;
        return 0;
    }
    void OnRun() { ++m_runs; m_recording = true; }
    void OnStop() { m_recording = false; }
    void OnClear() { ++m_clears; }
    void OnLogger() { ++m_loggers; }
    void OnManual() { OnPortMode(ID_MANUAL); }
    void OnAuto() { OnPortMode(ID_AUTO); }
    void OnPortMode(UINT id)
    {
        m_portCommands.push_back(id);
        m_autoPort = id == ID_AUTO;
    }
    void OnUpdateManual(CCmdUI* ui) { ui->SetRadio(!m_autoPort); }
    void OnUpdateAuto(CCmdUI* ui) { ui->SetRadio(m_autoPort); }
    void OnUpdateRun(CCmdUI* ui) { ui->Enable(!m_recording); }
    void OnUpdateStop(CCmdUI* ui) { ui->Enable(m_recording); }
    LRESULT OnDeviceChange(WPARAM, LPARAM)
    {
        if (std::this_thread::get_id() != UiThread())
            ++g_deviceChangesOffThread;
        ++g_deviceChanges;
        return TRUE;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_COMMAND(ID_RUN, &CTestFrame::OnRun)
    ON_COMMAND(ID_STOP, &CTestFrame::OnStop)
    ON_COMMAND(ID_CLEAR, &CTestFrame::OnClear)
    ON_COMMAND(ID_LOGGER, &CTestFrame::OnLogger)
    ON_COMMAND(ID_MANUAL, &CTestFrame::OnManual)
    ON_COMMAND(ID_AUTO, &CTestFrame::OnAuto)
    ON_UPDATE_COMMAND_UI(ID_MANUAL, &CTestFrame::OnUpdateManual)
    ON_UPDATE_COMMAND_UI(ID_AUTO, &CTestFrame::OnUpdateAuto)
    ON_UPDATE_COMMAND_UI(ID_RUN, &CTestFrame::OnUpdateRun)
    ON_UPDATE_COMMAND_UI(ID_STOP, &CTestFrame::OnUpdateStop)
    ON_MESSAGE(WM_DEVICECHANGE, &CTestFrame::OnDeviceChange)
END_MESSAGE_MAP()

bool Grayed(CMenu* menu, UINT id)
{
    return (AfxTestMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED) != 0;
}

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char dir[] = "/tmp/afx_ports_XXXXXX";
        ASSERT_NE(mkdtemp(dir), nullptr);
        m_ports = dir;
        setenv("COMPORTS_DIR", dir, 1);
        g_frameDeleted = false;
        m_frame = new CTestFrame;
        ASSERT_TRUE(AfxTestLoadFrame(m_frame, IDR_TEST));
        m_frame->ShowWindow(SW_SHOW);
        AfxTestPump();
    }
    void TearDown() override
    {
        if (!g_frameDeleted && m_frame->m_hWnd)
            m_frame->DestroyWindow();
        unsetenv("COMPORTS_DIR");
        std::string cmd = "rm -rf " + m_ports;
        EXPECT_EQ(std::system(cmd.c_str()), 0);
    }
    CTestFrame* m_frame = nullptr;
    std::string m_ports;
};

TEST_F(FrameTest, WithAutomaticEnablingOffOnlyTheProgramAndUpdateHandlersChangeItems)
{
    CMenu* bar = m_frame->GetMenu();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(AfxTestMenuItemCount(bar), 5);
    CMenu* realTime = bar->GetSubMenu(1);
    ASSERT_NE(realTime, nullptr);
    EXPECT_EQ(AfxTestMenuItemID(realTime, 2), ID_CLEAR);

    // The program grays Clear and Setup by position, as a running recording does.
    EXPECT_EQ(realTime->EnableMenuItem(2, MF_BYPOSITION | MF_GRAYED), MF_ENABLED);
    EXPECT_EQ(realTime->EnableMenuItem(3, MF_BYPOSITION | MF_GRAYED), MF_ENABLED);
    AfxTestUpdateMenuPopup(m_frame, 1);
    EXPECT_FALSE(Grayed(bar, ID_RUN));
    EXPECT_TRUE(Grayed(bar, ID_STOP));
    EXPECT_TRUE(Grayed(bar, ID_CLEAR));   // has a handler but no update handler: stays gray
    EXPECT_TRUE(Grayed(bar, ID_SETUP));

    AfxTestChooseCommand(m_frame, ID_RUN);
    EXPECT_EQ(m_frame->m_runs, 1);
    AfxTestUpdateMenuPopup(m_frame, 1);   // opening the menu again
    EXPECT_TRUE(Grayed(bar, ID_RUN));
    EXPECT_FALSE(Grayed(bar, ID_STOP));
    EXPECT_TRUE(Grayed(bar, ID_CLEAR));

    EXPECT_EQ(realTime->EnableMenuItem(2, MF_BYPOSITION | MF_ENABLED), MF_GRAYED);
    realTime->EnableMenuItem(3, MF_BYPOSITION | MF_ENABLED);
    AfxTestUpdateMenuPopup(m_frame, 1);
    EXPECT_FALSE(Grayed(bar, ID_CLEAR));
    EXPECT_FALSE(Grayed(bar, ID_SETUP));   // no handler at all, and still not grayed
}

TEST_F(FrameTest, WithAutomaticEnablingOnItemsWithoutHandlersAreGrayed)
{
    m_frame->m_bAutoMenuEnable = TRUE;
    CMenu* bar = m_frame->GetMenu();
    bar->GetSubMenu(1)->EnableMenuItem(2, MF_BYPOSITION | MF_GRAYED);
    AfxTestUpdateMenuPopup(m_frame, 1);
    EXPECT_FALSE(Grayed(bar, ID_CLEAR));
    EXPECT_TRUE(Grayed(bar, ID_SETUP));
}

TEST_F(FrameTest, ToolBarButtonsFollowTheirHandlersAndViewCommandsToggleBars)
{
    ASSERT_EQ(AfxTestButtonCount(&m_frame->m_wndToolBar), 4);
    AfxTestUpdateButtons(&m_frame->m_wndToolBar);
    EXPECT_TRUE(AfxTestButtonEnabled(&m_frame->m_wndToolBar, ID_RUN));
    EXPECT_FALSE(AfxTestButtonEnabled(&m_frame->m_wndToolBar, ID_STOP));
    EXPECT_FALSE(AfxTestButtonEnabled(&m_frame->m_wndToolBar, ID_SETUP));
    AfxTestChooseCommand(m_frame, ID_RUN);
    AfxTestUpdateButtons(&m_frame->m_wndToolBar);
    EXPECT_FALSE(AfxTestButtonEnabled(&m_frame->m_wndToolBar, ID_RUN));
    EXPECT_TRUE(AfxTestButtonEnabled(&m_frame->m_wndToolBar, ID_STOP));
    // Idle time updates them too.
    AfxTestChooseCommand(m_frame, ID_STOP);
    AfxTestPump();
    EXPECT_TRUE(AfxTestButtonEnabled(&m_frame->m_wndToolBar, ID_RUN));
    EXPECT_FALSE(AfxTestButtonEnabled(&m_frame->m_wndToolBar, ID_STOP));

    EXPECT_EQ(AfxTestPaneText(&m_frame->m_wndStatusBar, 0), L"Ready");
    AfxTestHighlightCommand(m_frame, ID_RUN);
    EXPECT_EQ(AfxTestPaneText(&m_frame->m_wndStatusBar, 0), L"Run Real Time Monitoring");
    AfxTestHighlightCommand(m_frame, ID_SETUP);   // no string: nothing shown
    EXPECT_EQ(AfxTestPaneText(&m_frame->m_wndStatusBar, 0), L"");
    AfxTestHighlightCommand(m_frame, 0);
    EXPECT_EQ(AfxTestPaneText(&m_frame->m_wndStatusBar, 0), L"Ready");
    AfxTestUpdateMenuPopup(m_frame, 4);
    CMenu* bar = m_frame->GetMenu();
    EXPECT_TRUE(AfxTestMenuState(bar, ID_VIEW_TOOLBAR, MF_BYCOMMAND) & MF_CHECKED);
    AfxTestChooseCommand(m_frame, ID_VIEW_TOOLBAR);
    AfxTestUpdateMenuPopup(m_frame, 4);
    EXPECT_FALSE(AfxTestMenuState(bar, ID_VIEW_TOOLBAR, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_FALSE(m_frame->m_wndToolBar.IsWindowVisible());
}

TEST_F(FrameTest, ToolBarImagesShowTheBarThroughTheirLightGrey)
{
    AfxTestUpdateButtons(&m_frame->m_wndToolBar);
    const wxImage bar = ScreenImage(AfxTestWx(&m_frame->m_wndToolBar));
    int red = 0, grey = 0;
    for (int y = 0; y < bar.GetHeight(); ++y)
        for (int x = 0; x < bar.GetWidth(); ++x) {
            const COLORREF c = RGB(bar.GetRed(x, y), bar.GetGreen(x, y), bar.GetBlue(x, y));
            red += c == RGB(255, 0, 0);
            grey += c == RGB(192, 192, 192);
        }
    EXPECT_GE(red, 25) << "the enabled button's image is shown";
    EXPECT_EQ(grey, 0) << "no grey square behind the images";
}

TEST_F(FrameTest, LockIndicatorsAreSunkenPanesThatFollowTheKeyboard)
{
    CStatusBar& status = m_frame->m_wndStatusBar;
    auto* bar = static_cast<wxStatusBar*>(AfxTestWx(&status));
    for (int pane = 1; pane <= 3; ++pane) {
        EXPECT_EQ(bar->GetStatusStyle(pane), wxSB_SUNKEN) << pane;
        wxRect field;
        ASSERT_TRUE(bar->GetFieldRect(pane, field));
        EXPECT_GE(field.width, bar->GetTextExtent(pane == 3 ? "SCRL" : "NUM").x) << pane;
    }
    EXPECT_EQ(bar->GetStatusStyle(0), wxSB_FLAT);

    ASSERT_TRUE(SetLockKey(LockKey::Caps, false));
    EXPECT_TRUE(PumpUntil([&] { return AfxTestPaneText(&status, 1).IsEmpty(); }));
    ASSERT_TRUE(SetLockKey(LockKey::Caps, true));
    EXPECT_TRUE(PumpUntil([&] { return AfxTestPaneText(&status, 1) == L"CAP"; }));
    ASSERT_TRUE(SetLockKey(LockKey::Caps, false));
    EXPECT_TRUE(PumpUntil([&] { return AfxTestPaneText(&status, 1).IsEmpty(); }));

    ASSERT_TRUE(SetLockKey(LockKey::Num, true));
    EXPECT_TRUE(PumpUntil([&] { return AfxTestPaneText(&status, 2) == L"NUM"; }));
    EXPECT_TRUE(AfxTestPaneText(&status, 1).IsEmpty());
    ASSERT_TRUE(SetLockKey(LockKey::Num, false));
    EXPECT_TRUE(PumpUntil([&] { return AfxTestPaneText(&status, 2).IsEmpty(); }));
}

TEST_F(FrameTest, UpdateHandlersSetMarksAndARangeHandlerGetsTheId)
{
    CMenu* bar = m_frame->GetMenu();
    AfxTestUpdateMenuPopup(m_frame, 3);
    // SetRadio draws a bullet, also on the item it leaves unmarked; SetCheck a check mark.
    EXPECT_EQ(AfxTestMenuState(bar, ID_MANUAL, MF_BYCOMMAND), MFT_RADIOCHECK);
    EXPECT_EQ(AfxTestMenuState(bar, ID_AUTO, MF_BYCOMMAND), MFT_RADIOCHECK | MF_CHECKED);
    AfxTestChooseCommand(m_frame, ID_MANUAL);
    AfxTestUpdateMenuPopup(m_frame, 3);
    EXPECT_EQ(AfxTestMenuState(bar, ID_MANUAL, MF_BYCOMMAND), MFT_RADIOCHECK | MF_CHECKED);
    EXPECT_EQ(AfxTestMenuState(bar, ID_AUTO, MF_BYCOMMAND), MFT_RADIOCHECK);
    AfxTestUpdateMenuPopup(m_frame, 4);
    EXPECT_EQ(AfxTestMenuState(bar, ID_VIEW_TOOLBAR, MF_BYCOMMAND), MF_CHECKED);
    AfxTestChooseCommand(m_frame, ID_AUTO);
    EXPECT_EQ(m_frame->m_portCommands, (std::vector<UINT>{ID_MANUAL, ID_AUTO}));
}

TEST_F(FrameTest, ACommandOnTheBarRunsWhenItIsOpenedAndCanBeGrayed)
{
    CMenu* bar = m_frame->GetMenu();
    EXPECT_EQ(AfxTestMenuItemID(bar, 2), ID_LOGGER);
    EXPECT_EQ(AfxTestMenuState(bar, ID_LOGGER, MF_BYCOMMAND), 0u);
    AfxTestOpenMenu(m_frame, 2);
    EXPECT_TRUE(PumpUntil([&] { return m_frame->m_loggers == 1; }));
    EXPECT_EQ(bar->EnableMenuItem(ID_LOGGER, MF_BYCOMMAND | MF_GRAYED), MF_ENABLED);
    EXPECT_EQ(AfxTestMenuState(bar, 2, MF_BYPOSITION), static_cast<UINT>(MF_GRAYED));
    // Opening another drop-down runs its update handlers instead.
    AfxTestOpenMenu(m_frame, 1);
    AfxTestPump();
    EXPECT_EQ(m_frame->m_loggers, 1);
}

TEST_F(FrameTest, TheBarCommandIsReachableAndTheTitleComesFromTheDocumentString)
{
    EXPECT_NE(AfxTestMenuState(m_frame->GetMenu(), ID_LOGGER, MF_BYCOMMAND), static_cast<UINT>(-1));
    CString title;
    title = AfxTestWindowText(m_frame);
    EXPECT_EQ(title, L"KV-Test");
    // A command nobody handles does nothing.
    AfxTestChooseCommand(m_frame, ID_SETUP);
    EXPECT_EQ(m_frame->m_clears, 0);
    m_frame->SendMessage(WM_COMMAND, ID_CLEAR);
    EXPECT_EQ(m_frame->m_clears, 1);
}

TEST_F(FrameTest, DeviceChangesArriveOnTheUserInterfaceThread)
{
    g_deviceChanges = 0;
    g_deviceChangesOffThread = 0;
    std::string link = m_ports + "/com5";
    ASSERT_EQ(symlink("/dev/null", link.c_str()), 0);
    EXPECT_TRUE(PumpUntil([] { return g_deviceChanges.load() >= 1; }, 10000));
    EXPECT_EQ(g_deviceChangesOffThread.load(), 0);
}

TEST_F(FrameTest, ClosingDestroysAndDeletesTheFrame)
{
    HWND hwnd = m_frame->m_hWnd;
    m_frame->SendMessage(WM_CLOSE);
    EXPECT_TRUE(g_frameDeleted);
    EXPECT_FALSE(AfxTestIsWindow(hwnd));
    AfxTestPump();
}

// ---- document / view ----

constexpr UINT IDR_DOC = 810;
constexpr UINT IDD_FORM = 811;
constexpr int IDC_NOTE = 1200;
constexpr COLORREF kFormColour = RGB(170, 175, 195);
constexpr COLORREF kDrawColour = RGB(200, 20, 40);

const AfxDlgItem kFormItems[] = {
    {AfxControlKind::Static, IDC_NOTE, L"CursorA", 100, 10, 40, 8, WS_VISIBLE},
    {AfxControlKind::Edit, 1201, L"", 100, 30, 40, 14, WS_VISIBLE | WS_BORDER},
    {AfxControlKind::ComboBox, 1202, L"", 100, 50, 40, 60, WS_VISIBLE | CBS_DROPDOWNLIST},
};
const AfxDialogTemplate kForm{nullptr, L"Arial", 9, WS_CHILD, 300, 200, kFormItems, 3};
const AfxStringEntry kDocStrings[] = {{IDR_DOC, L"Form-Test\n\nFormDoc\n\n\nX.Document\nX.Document"}};

struct DocRegistration {
    DocRegistration()
    {
        AfxRegisterDialog(IDD_FORM, kForm);
        AfxRegisterStrings(kDocStrings);
        AfxRegisterMenu(IDR_DOC, kMenu);
    }
} g_docRegistration;

class CTestDoc : public CDocument {
    DECLARE_DYNCREATE(CTestDoc)
};
IMPLEMENT_DYNCREATE(CTestDoc, CDocument)

class CFormFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CFormFrame)
public:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override
    {
        cs.style &= ~(FWS_ADDTOTITLE | FWS_PREFIXTITLE);
        return CFrameWnd::PreCreateWindow(cs);
    }
};
IMPLEMENT_DYNCREATE(CFormFrame, CFrameWnd)

int g_initialUpdates = 0;
int g_draws = 0;

class CTestView : public CFormView {
    DECLARE_DYNCREATE(CTestView)
public:
    CTestView() : CFormView(IDD_FORM) { m_brush.CreateSolidBrush(kFormColour); }
    void OnInitialUpdate() override
    {
        CFormView::OnInitialUpdate();
        ++g_initialUpdates;
    }
    void OnDraw(CDC* dc) override
    {
        ++g_draws;
        dc->FillSolidRect(0, 0, 40, 30, kDrawColour);
    }

protected:
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT type)
    {
        dc->SetBkColor(kFormColour);
        if (wnd->GetDlgCtrlID() == IDC_NOTE)
            dc->SetTextColor(RGB(110, 30, 200));
        if (type == CTLCOLOR_EDIT)
            return CFormView::OnCtlColor(dc, wnd, type);
        return m_brush;
    }
    CBrush m_brush;
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CTestView, CFormView)

BEGIN_MESSAGE_MAP(CTestView, CFormView)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

TEST(DocumentTemplate, CreatesFrameAndFormViewPaintsAndAppliesControlColours)
{
    g_initialUpdates = 0;
    auto* tmpl = new CSingleDocTemplate(IDR_DOC, RUNTIME_CLASS(CTestDoc), RUNTIME_CLASS(CFormFrame), RUNTIME_CLASS(CTestView));
    AfxTestApp()->AddDocTemplate(tmpl);
    CDocument* doc = AfxTestOpenDocumentFile(tmpl, nullptr);
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(g_initialUpdates, 1);
    EXPECT_EQ(AfxTestDocTitle(doc), L"FormDoc");
    CView* view = AfxTestFirstView(doc);
    ASSERT_NE(view, nullptr);
    CFrameWnd* frame = view->GetParentFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(AfxGetMainWnd(), frame);
    EXPECT_EQ(frame->GetActiveView(), view);
    CString title;
    title = AfxTestWindowText(frame);
    EXPECT_EQ(title, L"Form-Test");

    EXPECT_TRUE(PumpUntil([&] { return AfxTestReadPixel(view, 5, 5) == kDrawColour; }));
    EXPECT_EQ(AfxTestReadPixel(view, 200, 150), kFormColour);   // erased with the form's brush
    CWnd* note = view->GetDlgItem(IDC_NOTE);
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(AfxTestTextColour(note), RGB(110, 30, 200));
    EXPECT_EQ(AfxTestBackColour(note), kFormColour);
    EXPECT_NE(AfxTestBackColour(view->GetDlgItem(1201)), kFormColour);
    // The brush a drop-down list gets paints its list, not its face.
    EXPECT_NE(AfxTestBackColour(view->GetDlgItem(1202)), kFormColour);

    // New runs the initial update again on the same frame and view.
    AfxTestApp()->OnFileNew();
    EXPECT_EQ(g_initialUpdates, 2);
    EXPECT_EQ(AfxTestFirstView(doc), view);
    const std::string shot = ::testing::TempDir() + "afx_form_view.png";
    EXPECT_TRUE(AfxTestSaveScreenshot(frame, std::wstring(shot.begin(), shot.end())));

    // The framework's Save asks for a name for the untitled document and
    // creates the file; its Open reads the chosen file and updates the view again.
    char dir[] = "/tmp/afx_docs_XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    std::wstring saved = std::wstring(dir, dir + strlen(dir)) + L"/doc.bin";
    int dialogs = 0;
    AfxTestSetModalAnswerer([&](const AfxModalRequest& r) {
        if (r.kind != AfxModalRequest::FileDialog)
            return IDCANCEL;
        ++dialogs;
        AfxTestSetFileDialogPath(static_cast<CFileDialog*>(r.dialog), saved.c_str());
        return IDOK;
    });
    AfxTestChooseCommand(frame, ID_FILE_SAVE);
    EXPECT_EQ(dialogs, 1);
    struct stat st{};
    EXPECT_EQ(::stat((std::string(dir) + "/doc.bin").c_str(), &st), 0);
    EXPECT_EQ(doc->GetPathName(), saved.c_str());
    AfxTestChooseCommand(frame, ID_FILE_SAVE);   // named now: saved without asking
    EXPECT_EQ(dialogs, 1);
    AfxTestApp()->OnFileOpen();
    EXPECT_EQ(dialogs, 2);
    EXPECT_EQ(g_initialUpdates, 3);
    EXPECT_EQ(AfxTestDocTitle(doc), L"doc.bin");
    AfxTestSetModalAnswerer(nullptr);
    std::string cmd = std::string("rm -rf ") + dir;
    EXPECT_EQ(std::system(cmd.c_str()), 0);

    frame->SendMessage(WM_CLOSE);
    EXPECT_EQ(AfxGetMainWnd(), nullptr);
    AfxTestPump();
}

// ---- profile ----

TEST(Profile, RecentFilesAndSettingsLiveInTheUserConfigurationFolder)
{
    char dir[] = "/tmp/afx_profile_XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    setenv("XDG_CONFIG_HOME", dir, 1);
    CWinApp* app = AfxTestApp();
    app->SetRegistryKey(L"\u5e94\u7528\u7a0b\u5e8f");
    app->LoadStdProfileSettings(4);
    EXPECT_TRUE(AfxTestRecentFiles(app).empty());
    for (const wchar_t* path : {L"/d/a.txt", L"/d/b.txt", L"/d/c.txt", L"/d/d.txt", L"/d/e.txt", L"/d/c.txt"})
        AfxTestAddToRecentFileList(app, path);
    std::vector<CString> expected{L"/d/c.txt", L"/d/e.txt", L"/d/d.txt", L"/d/b.txt"};
    EXPECT_EQ(AfxTestRecentFiles(app), expected);
    AfxTestExitInstance(app);

    std::string path = std::string(dir) + "/\xe5\xba\x94\xe7\x94\xa8\xe7\xa8\x8b\xe5\xba\x8f/AfxTest.ini";
    std::ifstream in(path);
    ASSERT_TRUE(in.good()) << path;
    std::stringstream content;
    content << in.rdbuf();
    EXPECT_NE(content.str().find("[Recent File List]"), std::string::npos);
    EXPECT_NE(content.str().find("File1=/d/c.txt"), std::string::npos);
    EXPECT_NE(content.str().find("PreviewPages=0"), std::string::npos);

    app->LoadStdProfileSettings(4);
    EXPECT_EQ(AfxTestRecentFiles(app), expected);
    EXPECT_EQ(AfxTestProfileInt(app, L"Settings", L"Missing", 42), 42u);
    EXPECT_TRUE(AfxTestWriteProfileString(app, L"Settings", L"Odd\nName", L"line\nbreak"));
    EXPECT_EQ(AfxTestProfileString(app, L"Settings", L"Odd\nName"), L"line_break");

    // A pipe or a device in the profile's place is no profile, and the next
    // write puts a profile there again.
    ASSERT_EQ(std::remove(path.c_str()), 0);
    testutil::MakePipe(path);
    EXPECT_TRUE(testutil::ReturnsWithoutWaitingOn(path, [&] { app->LoadStdProfileSettings(4); }));
    EXPECT_TRUE(AfxTestRecentFiles(app).empty());
    ASSERT_EQ(std::remove(path.c_str()), 0);
    ASSERT_EQ(symlink("/dev/zero", path.c_str()), 0);
    app->LoadStdProfileSettings(4);
    EXPECT_TRUE(AfxTestRecentFiles(app).empty());
    AfxTestAddToRecentFileList(app, L"/d/f.txt");
    app->LoadStdProfileSettings(4);
    EXPECT_EQ(AfxTestRecentFiles(app), std::vector<CString>{L"/d/f.txt"});
    unsetenv("XDG_CONFIG_HOME");
    std::string cmd = std::string("rm -rf ") + dir;
    EXPECT_EQ(std::system(cmd.c_str()), 0);
}

}  // namespace
