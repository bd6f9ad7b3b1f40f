// Dialog templates in dialog units, modal and modeless dialogs, data exchange
// with the framework's messages, and timers that run inside modal loops.
#include <atomic>
#include <cstdio>
#include <cstring>

#include "gui_support.h"
#include "x_screen.h"
#include "win32/internal.h"
#include "afx/win_codes.h"

namespace {

constexpr UINT IDD_SETUP = 700;
constexpr int IDC_POINTS = 1044;
constexpr int IDC_RATE = 1007;
constexpr int IDC_DURATION = 1046;
constexpr int IDC_LABEL = 1100;

const AfxDlgItem kSetupItems[] = {
    {AfxControlKind::PushButton, IDOK, L"Start", 58, 105, 41, 15, WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON},
    {AfxControlKind::PushButton, IDCANCEL, L"Cancel", 135, 104, 40, 16, WS_VISIBLE | WS_TABSTOP},
    {AfxControlKind::Static, IDC_LABEL, L"DATA POINTS", 23, 17, 63, 8, WS_VISIBLE},
    {AfxControlKind::Edit, IDC_POINTS, L"", 75, 15, 40, 12, WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL},
    {AfxControlKind::ComboBox, IDC_RATE, L"", 115, 34, 48, 54, WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL},
    {AfxControlKind::Edit, IDC_DURATION, L"", 92, 53, 108, 12, WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL},
};
const AfxDialogTemplate kSetup{L"Real-Time Setup", L"Arial", 10, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                               236, 139, kSetupItems, sizeof(kSetupItems) / sizeof(kSetupItems[0])};

struct Registration {
    Registration() { AfxRegisterDialog(IDD_SETUP, kSetup); }
} g_registration;

class CSetupDlg : public CDialog {
public:
    CSetupDlg() : CDialog(IDD_SETUP) {}
    int m_nDataPoints = 0;
    int m_changes = 0;
    int m_ticks = 0;
    int m_rateChanges = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        CDialog::DoDataExchange(pDX);
        DDX_Text(pDX, IDC_POINTS, m_nDataPoints);
        DDV_MinMaxInt(pDX, m_nDataPoints, 1, 40000);
    }
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        auto* rate = static_cast<CComboBox*>(GetDlgItem(IDC_RATE));
        for (const wchar_t* text : {L"0.1", L"0.2", L"0.5", L"1.0", L"10.0"})
            rate->InsertString(-1, text);
        rate->SetCurSel(2);
        SetTimer(1, 20, nullptr);
        return TRUE;
    }
    void OnChangePoints() { ++m_changes; }
    void OnSelchangeRate() { ++m_rateChanges; }
    void OnTimer(UINT_PTR id)
    {
        if (id == 1)
            ++m_ticks;
        CDialog::OnTimer(id);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSetupDlg, CDialog)
    ON_EN_CHANGE(IDC_POINTS, &CSetupDlg::OnChangePoints)
    ON_CBN_SELCHANGE(IDC_RATE, &CSetupDlg::OnSelchangeRate)
    ON_WM_TIMER()
END_MESSAGE_MAP()

CRect ClientRectOf(CWnd* control, CWnd* parent)
{
    CRect r;
    control->GetWindowRect(&r);
    parent->ScreenToClient(&r);
    return r;
}

TEST(DialogUnits, ConvertEachEdgeWithRoundingAsMulDiv)
{
    EXPECT_EQ(AfxTestDialogUnitsToPixels(CSize(6, 13), CRect(133, 7, 535, 357)), CRect(200, 11, 803, 580));
    EXPECT_EQ(AfxTestDialogUnitsToPixels(CSize(5, 15), CRect(0, 0, 1, 1)), CRect(0, 0, 1, 2));
    EXPECT_EQ(MulDiv(-7, 5, 2), -18);   // halves round away from zero
    EXPECT_EQ(MulDiv(1, 1, 0), -1);
}

TEST(DialogUnits, ControlsSitWhereTheTemplateFontPutsThem)
{
    CSize base = AfxTestDialogBaseUnits(kSetup);
    // Arial 10 points at 96 pixels per inch (13-pixel characters) on its metric twin.
    EXPECT_GE(base.cx, 5);
    EXPECT_LE(base.cx, 8);
    EXPECT_GE(base.cy, 14);
    EXPECT_LE(base.cy, 17);

    CSetupDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_SETUP));
    CWnd* points = dlg.GetDlgItem(IDC_POINTS);
    ASSERT_NE(points, nullptr);
    CRect r = ClientRectOf(points, &dlg);
    EXPECT_EQ(r.left, MulDiv(75, base.cx, 4));
    EXPECT_EQ(r.top, MulDiv(15, base.cy, 8));
    EXPECT_EQ(r.Width(), MulDiv(40, base.cx, 4));
    CRect label = ClientRectOf(dlg.GetDlgItem(IDC_LABEL), &dlg);
    EXPECT_EQ(label, CRect(CPoint(MulDiv(23, base.cx, 4), MulDiv(17, base.cy, 8)),
                           CSize(MulDiv(63, base.cx, 4), MulDiv(8, base.cy, 8))));
    CRect client;
    dlg.GetClientRect(&client);
    EXPECT_EQ(client.Width(), MulDiv(236, base.cx, 4));
    EXPECT_EQ(client.Height(), MulDiv(139, base.cy, 8));
    CRect mapped(75, 15, 115, 27);
    AfxTestMapDialogRect(&dlg, &mapped);
    EXPECT_EQ(mapped.left, r.left);
    dlg.DestroyWindow();
    EXPECT_EQ(dlg.m_hWnd, nullptr);
}

TEST(DataExchange, ReportsTheFrameworksMessagesAndKeepsTheMemberOnFailure)
{
    BoxRecorder boxes;
    boxes.Install();
    CSetupDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_SETUP));
    CWnd* points = dlg.GetDlgItem(IDC_POINTS);

    struct Case {
        const wchar_t* text;
        bool ok;
        const wchar_t* message;
        int value;
    } cases[] = {
        {L"abc", false, L"Enter an integer.", 0},
        {L"12x", false, L"Enter an integer.", 0},
        {L"", false, L"Enter an integer.", 0},
        {L"99999999999", false, L"Enter an integer.", 0},
        {L"0", false, L"Enter an integer between 1 and 40000.", 0},
        {L"40001", false, L"Enter an integer between 1 and 40000.", 40001},
        {L" 250 ", true, nullptr, 250},
        {L"40000", true, nullptr, 40000},
        {L"-5", false, L"Enter an integer between 1 and 40000.", -5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "text '" << std::wstring(c.text).size() << "'");
        dlg.m_nDataPoints = 0;
        boxes.texts.clear();
        points->SetWindowText(c.text);
        EXPECT_EQ(dlg.UpdateData(TRUE), c.ok ? TRUE : FALSE);
        if (c.message) {
            ASSERT_EQ(boxes.texts.size(), 1u);
            EXPECT_EQ(boxes.texts[0], c.message);
            EXPECT_EQ(boxes.types[0] & MB_ICONMASK, MB_ICONEXCLAMATION);
        } else {
            EXPECT_TRUE(boxes.texts.empty());
        }
        EXPECT_EQ(dlg.m_nDataPoints, c.value);
    }

    // Exchanging into the controls does not notify; the user's typing does.
    int changes = dlg.m_changes;
    dlg.m_nDataPoints = 17;
    EXPECT_TRUE(dlg.UpdateData(FALSE));
    CString text;
    text = AfxTestWindowText(points);
    EXPECT_EQ(text, L"17");
    EXPECT_EQ(dlg.m_changes, changes);
    AfxTestTypeText(points, L"18");
    EXPECT_EQ(dlg.m_changes, changes + 1);
    dlg.DestroyWindow();
}

TEST(ModalDialog, OkExchangesAndEndsTheLoopWhileTimersRun)
{
    CSetupDlg dlg;
    dlg.m_nDataPoints = 100;
    CString shown;
    AfxTestSetModalAnswerer([&](const AfxModalRequest& r) {
        EXPECT_EQ(r.kind, AfxModalRequest::Dialog);
        EXPECT_EQ(r.text, L"Real-Time Setup");
        shown = AfxTestWindowText(r.dialog->GetDlgItem(IDC_POINTS));
        // Inside the modal loop the dialog's timer keeps ticking.
        EXPECT_TRUE(PumpUntil([&] { return dlg.m_ticks >= 3; }));
        AfxTestChooseItem(r.dialog->GetDlgItem(IDC_RATE), 4);
        r.dialog->GetDlgItem(IDC_POINTS)->SetWindowText(L"300");
        return IDOK;
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    AfxTestSetModalAnswerer(nullptr);
    EXPECT_EQ(shown, L"100");
    EXPECT_EQ(dlg.m_nDataPoints, 300);
    EXPECT_GE(dlg.m_ticks, 3);
    EXPECT_EQ(dlg.m_rateChanges, 1);
    EXPECT_EQ(dlg.m_hWnd, nullptr);
}

TEST(ModalDialog, CancelAndEscapeLeaveTheMembers)
{
    for (int answer : {IDCANCEL, 0}) {
        CSetupDlg dlg;
        dlg.m_nDataPoints = 5;
        AfxTestSetModalAnswerer([&](const AfxModalRequest& r) {
            r.dialog->GetDlgItem(IDC_POINTS)->SetWindowText(L"77");
            if (answer == 0)   // the close box
                r.dialog->SendMessage(WM_CLOSE);
            return answer;
        });
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        AfxTestSetModalAnswerer(nullptr);
        EXPECT_EQ(dlg.m_nDataPoints, 5);
    }
}

TEST(ModalDialog, InvalidInputKeepsTheDialogOpenUntilCancelled)
{
    CSetupDlg dlg;
    std::vector<std::wstring> messages;
    AfxTestSetModalAnswerer([&](const AfxModalRequest& r) {
        if (r.kind == AfxModalRequest::MessageBox) {
            messages.push_back(r.text);
            dlg.PostMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            return IDOK;
        }
        r.dialog->GetDlgItem(IDC_POINTS)->SetWindowText(L"abc");
        return IDOK;
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    AfxTestSetModalAnswerer(nullptr);
    EXPECT_EQ(messages, std::vector<std::wstring>{L"Enter an integer."});
}

TEST(ModalLoops, TimersRunInsideMessageBoxesFileAndPrintDialogs)
{
    CSetupDlg owner;
    ASSERT_TRUE(owner.Create(IDD_SETUP));
    int kinds = 0;
    AfxTestSetModalAnswerer([&](const AfxModalRequest& r) {
        int start = owner.m_ticks;
        EXPECT_TRUE(PumpUntil([&] { return owner.m_ticks >= start + 3; }));
        ++kinds;
        if (r.kind == AfxModalRequest::FileDialog)
            AfxTestSetFileDialogPath(static_cast<CFileDialog*>(r.dialog), L"/nonexistent-afx-dir/chosen.txt");
        return r.kind == AfxModalRequest::MessageBox ? IDYES : IDOK;
    });
    EXPECT_EQ(owner.MessageBox(L"Save Current Data?", L"Tip", MB_YESNO), IDYES);
    CFileDialog save(FALSE, L"txt", L"1-2-3 4-5.txt", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, L"Data File(*.txt)|*.txt||");
    EXPECT_EQ(save.DoModal(), IDOK);
    EXPECT_EQ(save.GetPathName(), L"/nonexistent-afx-dir/chosen.txt");
    CPrintDialog print(FALSE, PD_DISABLEPRINTTOFILE);
    EXPECT_EQ(print.DoModal(), IDOK);
    AfxTestSetModalAnswerer(nullptr);
    EXPECT_EQ(kinds, 3);
    owner.DestroyWindow();
}

TEST(ModalDialog, EscapeCancelsAndEnterPressesTheDefaultButton)
{
    for (UINT key : {static_cast<UINT>(VK_ESCAPE), static_cast<UINT>(VK_RETURN)}) {
        CSetupDlg dlg;
        dlg.m_nDataPoints = 9;
        AfxTestSetModalAnswerer([&](const AfxModalRequest& r) {
            AfxTestPressKey(r.dialog, key);
            return 0;
        });
        EXPECT_EQ(dlg.DoModal(), key == VK_ESCAPE ? IDCANCEL : IDOK);
        AfxTestSetModalAnswerer(nullptr);
    }
}

TEST(FileDialog, AddsTheDefaultExtensionAndAsksBeforeReplacingAFile)
{
    char dir[] = "/tmp/afx_filedlg_XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    std::wstring base(dir, dir + strlen(dir));
    std::string existing = std::string(dir) + "/a.txt";
    std::FILE* f = std::fopen(existing.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fclose(f);

    std::vector<std::wstring> answers{base + L"/a", base + L"/b"};
    std::vector<std::wstring> questions;
    size_t next = 0;
    AfxTestSetModalAnswerer([&](const AfxModalRequest& r) {
        if (r.kind == AfxModalRequest::MessageBox) {
            questions.push_back(r.text);
            return IDNO;
        }
        AfxTestSetFileDialogPath(static_cast<CFileDialog*>(r.dialog), answers[next++].c_str());
        return IDOK;
    });
    CFileDialog save(FALSE, L"txt", L"a.txt", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, L"Data File(*.txt)|*.txt||");
    EXPECT_EQ(save.DoModal(), IDOK);
    EXPECT_EQ(std::wstring(save.GetPathName()), base + L"/b.txt");
    EXPECT_EQ(questions, std::vector<std::wstring>{L"a.txt already exists.\nDo you want to replace it?"});

    next = 0;
    questions.clear();
    CFileDialog open(TRUE, L"txt", L"*.txt", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, L"Data File(*.txt)|*.txt||");
    EXPECT_EQ(open.DoModal(), IDOK);
    EXPECT_EQ(std::wstring(open.GetPathName()), base + L"/a.txt");
    EXPECT_TRUE(questions.empty());

    AfxTestSetModalAnswerer([](const AfxModalRequest&) { return IDCANCEL; });
    EXPECT_EQ(open.DoModal(), IDCANCEL);
    EXPECT_TRUE(open.GetPathName().IsEmpty());
    AfxTestSetModalAnswerer(nullptr);
    std::string cmd = std::string("rm -rf ") + dir;
    EXPECT_EQ(std::system(cmd.c_str()), 0);
}

TEST(ModalDialog, AskedForFromAnotherThreadRunsOnTheUserInterfaceThread)
{
    CSetupDlg dlg;
    dlg.m_nDataPoints = 12;
    std::thread::id ranOn;
    AfxTestSetModalAnswerer([&](const AfxModalRequest&) {
        ranOn = std::this_thread::get_id();
        return IDOK;
    });
    std::atomic<INT_PTR> result{0};
    std::thread other([&] { result = dlg.DoModal(); });
    EXPECT_TRUE(PumpUntil([&] { return result.load() != 0; }));
    other.join();
    AfxTestSetModalAnswerer(nullptr);
    EXPECT_EQ(result.load(), IDOK);
    EXPECT_EQ(ranOn, UiThread());
    EXPECT_EQ(dlg.m_nDataPoints, 12);
}

TEST(ModelessDialog, CancelHidesItAndItCanBeMadeAgainAfterDestroy)
{
    CSetupDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_SETUP));
    EXPECT_FALSE(dlg.Create(IDD_SETUP));   // one window per object
    dlg.ShowWindow(SW_SHOW);
    EXPECT_TRUE(AfxTestStyle(&dlg) & WS_VISIBLE);
    dlg.SendMessage(WM_CLOSE);
    EXPECT_NE(dlg.m_hWnd, nullptr);
    EXPECT_FALSE(AfxTestStyle(&dlg) & WS_VISIBLE);
    EXPECT_TRUE(dlg.DestroyWindow());
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    EXPECT_FALSE(dlg.DestroyWindow());
    ASSERT_TRUE(dlg.Create(IDD_SETUP));
    EXPECT_NE(dlg.GetDlgItem(IDC_POINTS), nullptr);
}

// A window shown and hidden again before the X server reports it mapped: the
// late report must not make it count as shown, or the next show would do
// nothing.
TEST(ModelessDialog, HiddenBeforeTheServerShowedItStaysHiddenAndShowsAgain)
{
    CSetupDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_SETUP));
    dlg.ShowWindow(SW_SHOW);
    dlg.SendMessage(WM_CLOSE);
    PumpUntil([] { return false; }, 300);
    EXPECT_FALSE(dlg.IsWindowVisible());

    dlg.ShowWindow(SW_SHOW);
    EXPECT_TRUE(dlg.IsWindowVisible());
    CRect r;
    dlg.GetWindowRect(&r);
    EXPECT_TRUE(PumpUntil([&] { return TopWindowTitleAt((r.left + r.right) / 2, (r.top + r.bottom) / 2) == "Real-Time Setup"; }))
        << "the dialog is on the screen";
    dlg.DestroyWindow();
}

TEST(ModalDialog, AnUnknownTemplateFails)
{
    CDialog dlg(9999);
    EXPECT_EQ(dlg.DoModal(), -1);
    EXPECT_FALSE(dlg.Create(9999));
}

}  // namespace
