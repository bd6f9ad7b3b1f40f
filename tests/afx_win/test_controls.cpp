// Controls by id: owner-drawn buttons, buttons subclassed to draw
// themselves, combo boxes, report lists, scroll bars and progress bars.
#include "gui_support.h"
#include "screen_image.h"
#include "afx/win_codes.h"

#include <wx/uiaction.h>

#include <tuple>

namespace {

constexpr UINT IDD_PANEL = 730;
constexpr int IDC_KEY = 1050, IDC_GRAPH = 1010, IDC_RATE = 1007, IDC_LIST = 1035, IDC_VSCROLL = 1039,
              IDC_PROGRESS = 1040, IDC_PLAIN = 1000,
              IDC_CENTRED_GROUP = 1058, IDC_LEFT_GROUP = 1059;

const AfxDlgItem kPanelItems[] = {
    {AfxControlKind::PushButton, IDC_KEY, L"Stop", 10, 10, 49, 20, WS_VISIBLE | BS_OWNERDRAW},
    {AfxControlKind::PushButton, IDC_GRAPH, L"Button1", 70, 10, 100, 60, WS_VISIBLE | WS_TABSTOP},
    {AfxControlKind::PushButton, IDC_PLAIN, L"UnDo Zoom", 10, 40, 51, 21, WS_VISIBLE | WS_TABSTOP},
    {AfxControlKind::ComboBox, IDC_RATE, L"", 10, 80, 40, 85, WS_VISIBLE | CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL},
    {AfxControlKind::ListView, IDC_LIST, L"", 10, 100, 150, 60, WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_SINGLESEL},
    {AfxControlKind::ScrollBar, IDC_VSCROLL, L"", 180, 10, 12, 150, WS_VISIBLE | SBS_VERT},
    {AfxControlKind::Progress, IDC_PROGRESS, L"", 10, 170, 150, 10, WS_VISIBLE | WS_BORDER},
    {AfxControlKind::GroupBox, IDC_CENTRED_GROUP, L"Graph", 200, 10, 90, 40, WS_VISIBLE | BS_GROUPBOX | BS_CENTER},
    {AfxControlKind::GroupBox, IDC_LEFT_GROUP, L"Graph", 200, 60, 90, 40, WS_VISIBLE | BS_GROUPBOX},
};
const AfxDialogTemplate kPanel{L"Panel", L"Arial", 9, WS_POPUP | WS_CAPTION | WS_SYSMENU, 300, 190, kPanelItems,
                               sizeof(kPanelItems) / sizeof(kPanelItems[0])};

struct Registration {
    Registration() { AfxRegisterDialog(IDD_PANEL, kPanel); }
} g_registration;

class CKeyButton : public CButton {
public:
    std::vector<UINT> m_states;
    void DrawItem(LPDRAWITEMSTRUCT dis) override
    {
        m_states.push_back(dis->itemState);
        CDC* dc = CDC::FromHandle(dis->hDC);
        dc->FillSolidRect(&dis->rcItem, (dis->itemState & ODS_SELECTED) ? RGB(255, 0, 0) : RGB(0, 255, 0));
    }
};

// Draws through a client context and only validates in its paint handler.
class CGraph : public CButton {
public:
    int m_presses = 0;
    void Draw()
    {
        CClientDC dc(this);
        dc.FillSolidRect(0, 0, 20, 20, RGB(0, 100, 100));
    }

protected:
    void OnPaint() { CPaintDC dc(this); }
    void OnLButtonDown(UINT, CPoint) { ++m_presses; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CGraph, CButton)
    ON_WM_PAINT()
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

class CPanel : public CDialog {
public:
    CPanel() : CDialog(IDD_PANEL) {}
    CKeyButton m_key;
    CGraph m_graph;
    CScrollBar m_vScroll;
    int m_keyClicks = 0, m_plainClicks = 0, m_rateChanges = 0, m_doubleClicks = 0;
    std::vector<int> m_doubleClickedRows;
    std::vector<std::pair<UINT, UINT>> m_scrolls;
    CScrollBar* m_scrollFrom = nullptr;

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        CDialog::DoDataExchange(pDX);
        DDX_Control(pDX, IDC_KEY, m_key);
        DDX_Control(pDX, IDC_GRAPH, m_graph);
        DDX_Control(pDX, IDC_VSCROLL, m_vScroll);
    }
    void OnKey() { ++m_keyClicks; }
    void OnPlain() { ++m_plainClicks; }
    void OnRate() { ++m_rateChanges; }
    void OnDblclkList(NMHDR* hdr, LRESULT* result)
    {
        EXPECT_EQ(hdr->idFrom, static_cast<UINT_PTR>(IDC_LIST));
        ++m_doubleClicks;
        m_doubleClickedRows.push_back(reinterpret_cast<NMITEMACTIVATE*>(hdr)->iItem);
        *result = 0;
    }
    void OnVScroll(UINT code, UINT pos, CScrollBar* bar)
    {
        m_scrolls.emplace_back(code, pos);
        m_scrollFrom = bar;
        if (code == SB_LINEDOWN)
            bar->SetScrollPos(bar->GetScrollPos() + 1);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CPanel, CDialog)
    ON_BN_CLICKED(IDC_KEY, &CPanel::OnKey)
    ON_BN_CLICKED(IDC_PLAIN, &CPanel::OnPlain)
    ON_CBN_SELCHANGE(IDC_RATE, &CPanel::OnRate)
    ON_NOTIFY(NM_DBLCLK, IDC_LIST, &CPanel::OnDblclkList)
    ON_WM_VSCROLL()
END_MESSAGE_MAP()

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_panel.Create(IDD_PANEL));
        m_panel.ShowWindow(SW_SHOW);
        AfxTestPump();
    }
    void TearDown() override { m_panel.DestroyWindow(); }
    CPanel m_panel;
};

TEST_F(ControlsTest, OwnerDrawnButtonDrawsTheSelectedStateWhilePressed)
{
    EXPECT_EQ(m_panel.GetDlgItem(IDC_KEY), &m_panel.m_key);
    m_panel.m_key.UpdateWindow();
    m_panel.m_key.m_states.clear();
    m_panel.m_key.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    ASSERT_FALSE(m_panel.m_key.m_states.empty());
    EXPECT_TRUE(m_panel.m_key.m_states.back() & ODS_SELECTED);
    EXPECT_EQ(AfxTestReadPixel(&m_panel.m_key, 2, 2), RGB(255, 0, 0));
    EXPECT_EQ(m_panel.m_keyClicks, 0);
    m_panel.m_key.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    EXPECT_FALSE(m_panel.m_key.m_states.back() & ODS_SELECTED);
    EXPECT_EQ(AfxTestReadPixel(&m_panel.m_key, 2, 2), RGB(0, 255, 0));
    EXPECT_EQ(m_panel.m_keyClicks, 1);

    // Released outside: no click.
    m_panel.m_key.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    m_panel.m_key.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(-50, 3));
    EXPECT_EQ(m_panel.m_keyClicks, 1);
}

TEST_F(ControlsTest, APushButtonSubclassedByADrawingObjectShowsWhatItDraws)
{
    CGraph& graph = m_panel.m_graph;
    EXPECT_EQ(m_panel.GetDlgItem(IDC_GRAPH), &graph);
    CRect r;
    graph.GetClientRect(&r);
    EXPECT_GT(r.Width(), 100);
    graph.Invalidate();
    graph.UpdateWindow();
    graph.Draw();
    EXPECT_EQ(AfxTestReadPixel(&graph, 10, 10), RGB(0, 100, 100));
    graph.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(graph.m_presses, 1);

    AfxTestClickButton(m_panel.GetDlgItem(IDC_PLAIN));
    EXPECT_EQ(m_panel.m_plainClicks, 1);
}

TEST_F(ControlsTest, ComboBoxKeepsInsertedOrderAndNotifiesTheUsersChoice)
{
    auto* rate = static_cast<CComboBox*>(m_panel.GetDlgItem(IDC_RATE));
    for (const wchar_t* text : {L"0.5", L"10", L"1", L"2.5"})
        EXPECT_GE(rate->InsertString(-1, text), 0);
    EXPECT_EQ(AfxTestItemCount(rate), 4);
    CString text;
    AfxTestItemText(rate, 1, text);
    EXPECT_EQ(text, L"10");
    EXPECT_EQ(rate->SetCurSel(2), 2);
    EXPECT_EQ(rate->GetCurSel(), 2);
    EXPECT_EQ(m_panel.m_rateChanges, 0);
    EXPECT_EQ(rate->SetCurSel(9), CB_ERR);
    EXPECT_EQ(AfxTestItemText(rate, 9, text), CB_ERR);
    AfxTestChooseItem(rate, 3);
    EXPECT_EQ(m_panel.m_rateChanges, 1);
    EXPECT_EQ(rate->GetCurSel(), 3);
    EXPECT_EQ(rate->InsertString(99, L"x"), CB_ERR);
}

TEST_F(ControlsTest, ReportListHoldsColumnsAndRowsAndReportsDoubleClicks)
{
    auto* list = static_cast<CListCtrl*>(m_panel.GetDlgItem(IDC_LIST));
    EXPECT_EQ(list->InsertItem(0, L"no columns yet"), -1);
    EXPECT_EQ(list->InsertColumn(0, L"No.", LVCFMT_LEFT, 40), 0);
    EXPECT_EQ(list->InsertColumn(1, L"Start", LVCFMT_LEFT, 80), 1);
    EXPECT_EQ(list->InsertItem(0, L"1"), 0);
    EXPECT_EQ(list->InsertItem(1, L"2"), 1);
    EXPECT_TRUE(list->SetItemText(1, 1, L"01-02-2026"));
    EXPECT_FALSE(list->SetItemText(5, 1, L"x"));
    EXPECT_EQ(list->GetItemText(1, 1), L"01-02-2026");
    EXPECT_EQ(list->GetItemCount(), 2);
    AfxTestActivateListItem(list, 1);
    EXPECT_EQ(m_panel.m_doubleClicks, 1);
    EXPECT_EQ(AfxTestNextItem(list, -1, LVNI_SELECTED), 1);
    // A double click below the rows hits none.
    AfxTestActivateListItem(list, -1);
    EXPECT_EQ(m_panel.m_doubleClickedRows, (std::vector<int> { 1, -1 }));
    EXPECT_TRUE(list->DeleteAllItems());
    EXPECT_EQ(list->GetItemCount(), 0);
}

TEST_F(ControlsTest, ScrollBarReportsCodesAndShowsOnlyThePositionTheProgramSets)
{
    CScrollBar& bar = m_panel.m_vScroll;
    bar.SetScrollRange(0, 20);
    EXPECT_EQ(bar.SetScrollPos(50), 0);
    EXPECT_EQ(bar.GetScrollPos(), 20);
    bar.SetScrollPos(5);

    AfxTestScroll(&bar, SB_LINEDOWN, 6);
    ASSERT_EQ(m_panel.m_scrolls.size(), 1u);
    EXPECT_EQ(m_panel.m_scrolls[0].first, static_cast<UINT>(SB_LINEDOWN));
    EXPECT_EQ(m_panel.m_scrollFrom, &bar);
    EXPECT_EQ(bar.GetScrollPos(), 6);

    // A thumb drag the program ignores springs back when released.
    AfxTestScroll(&bar, SB_THUMBTRACK, 15);
    EXPECT_EQ(AfxTestScrollThumb(&bar), 15);
    AfxTestScroll(&bar, SB_THUMBPOSITION, 15);
    ASSERT_EQ(m_panel.m_scrolls.size(), 3u);
    EXPECT_EQ(m_panel.m_scrolls[2], std::make_pair(static_cast<UINT>(SB_THUMBPOSITION), 15u));
    EXPECT_EQ(bar.GetScrollPos(), 6);
    EXPECT_EQ(AfxTestScrollThumb(&bar), 6);
}

// What the screen shows of a bar: its thumb's first and last pixel.
std::pair<int, int> ShownThumb(CScrollBar& bar)
{
    PumpUntil([] { return false; }, 150);
    int first = -1, last = -1;
    EXPECT_TRUE(AfxTestShownScrollThumb(&bar, &first, &last));
    return { first, last };
}

// A handler that sets the bar and then paints a window at once (as the graph
// does after a zoom) leaves the screen showing what it set.
TEST_F(ControlsTest, ScrollBarShowsWhatWasSetAlsoWhenAWindowIsPaintedRightAfter)
{
    CScrollBar& bar = m_panel.m_vScroll;
    const int length = AfxTestWx(&bar)->GetSize().y;
    auto set = [&](int max, int pos) {
        bar.SetScrollRange(0, max);
        bar.SetScrollPos(pos);
        m_panel.m_graph.Draw();
        m_panel.m_graph.UpdateWindow();
    };
    set(0, 0);
    auto [first, last] = ShownThumb(bar);
    EXPECT_LE(first, 4);
    EXPECT_GE(last, length - 5);
    set(100, 50);
    std::tie(first, last) = ShownThumb(bar);
    EXPECT_GT(first, length / 3);
    EXPECT_LT(last, length * 2 / 3);
    set(100, 100);
    std::tie(first, last) = ShownThumb(bar);
    EXPECT_GT(first, length * 2 / 3);
    EXPECT_GE(last, length - 5);
}

// A notch of the wheel over a bar, and an arrow key once the user clicked the
// bar, is a line step; the bar shows only what the program then sets.
TEST_F(ControlsTest, ScrollBarTakesTheWheelAndArrowKeysAsLineSteps)
{
    CScrollBar& bar = m_panel.m_vScroll;
    bar.SetScrollRange(0, 100);
    bar.SetScrollPos(40);
    const int before = ShownThumb(bar).first;
    auto codes = [&] {
        std::vector<UINT> seen;
        for (const auto& scroll : m_panel.m_scrolls)
            seen.push_back(scroll.first);
        return seen;
    };
    AfxTestTurnWheel(&bar, 3);
    AfxTestTurnWheel(&bar, -1); // the panel moves its bar only for a line down
    PumpUntil([&] { return m_panel.m_scrolls.size() >= 4; }, 3000);
    EXPECT_EQ(codes(), (std::vector<UINT> { SB_LINEDOWN, SB_LINEDOWN, SB_LINEDOWN, SB_LINEUP }));
    EXPECT_EQ(bar.GetScrollPos(), 43);
    EXPECT_EQ(AfxTestScrollThumb(&bar), 43);
    const auto [first, last] = ShownThumb(bar);
    EXPECT_GT(first, before);
    EXPECT_LT(first, before + 15);

    m_panel.m_scrolls.clear();
    wxUIActionSimulator user;
    const wxRect r = AfxTestWx(&bar)->GetScreenRect();
    user.MouseMove(wxPoint(r.x + r.width / 2, r.y + (first + last) / 2));
    PumpUntil([] { return false; }, 60);
    user.MouseClick();
    PumpUntil([] { return false; }, 150);
    EXPECT_TRUE(m_panel.m_scrolls.empty()); // a click on the thumb moves nothing
    for (int key : { WXK_DOWN, WXK_UP, WXK_RIGHT, WXK_LEFT, WXK_DOWN })
        user.Char(key);
    PumpUntil([&] { return m_panel.m_scrolls.size() >= 5; }, 3000);
    EXPECT_EQ(codes(), (std::vector<UINT> { SB_LINEDOWN, SB_LINEUP, SB_LINEDOWN, SB_LINEUP, SB_LINEDOWN }));
    EXPECT_EQ(bar.GetScrollPos(), 46);
    EXPECT_EQ(AfxTestScrollThumb(&bar), 46);
}

TEST_F(ControlsTest, ProgressBarTakesItsMessagesFromAnotherThread)
{
    auto* progress = static_cast<CProgressCtrl*>(m_panel.GetDlgItem(IDC_PROGRESS));
    HWND hwnd = progress->m_hWnd;
    std::atomic<bool> done{false};
    std::thread reader([&] {
        SendMessage(hwnd, PBM_SETRANGE, 0, MAKELPARAM(0, 200));
        SendMessage(hwnd, PBM_SETPOS, 150, 0);
        done = true;
    });
    EXPECT_TRUE(PumpUntil([&] { return done.load(); }));
    reader.join();
    int low = -1, high = -1;
    AfxTestProgressRange(progress, low, high);
    EXPECT_EQ(low, 0);
    EXPECT_EQ(high, 200);
    EXPECT_EQ(AfxTestProgressPos(progress), 150);
    EXPECT_EQ(progress->SetPos(500), 150);
    EXPECT_EQ(AfxTestProgressPos(progress), 200);
}

// As on Windows, the bar fills the height of the rectangle the template gives
// it: only its frame differs from the fill.
TEST_F(ControlsTest, ProgressBarFillsItsRectangle)
{
    auto* progress = static_cast<CProgressCtrl*>(m_panel.GetDlgItem(IDC_PROGRESS));
    progress->SetRange32(0, 100);
    progress->SetPos(50);
    const wxImage shot = ScreenImage(AfxTestWx(progress));
    CRect r;
    progress->GetClientRect(&r);
    ASSERT_EQ(shot.GetHeight(), r.Height());
    ASSERT_GE(r.Height(), 12);
    auto colour = [&](int x, int y) { return RGB(shot.GetRed(x, y), shot.GetGreen(x, y), shot.GetBlue(x, y)); };
    const int filled = shot.GetWidth() / 4, empty = shot.GetWidth() * 3 / 4, middle = shot.GetHeight() / 2;
    const COLORREF bar = colour(filled, middle);
    EXPECT_NE(bar, colour(empty, middle)) << "the bar shows its position";
    EXPECT_NE(bar, AfxTestBackColour(&m_panel)) << "the bar is not painted in the dialog's colour";
    for (int y = 2; y < shot.GetHeight() - 2; ++y)
        EXPECT_EQ(colour(filled, y), bar) << "row " << y;

    // And at another height: taller, into the gap above it.
    progress->GetWindowRect(&r);
    m_panel.ScreenToClient(&r);
    progress->MoveWindow(r.left, r.top - 12, r.Width(), r.Height() + 12);
    const wxImage tall = ScreenImage(AfxTestWx(progress));
    ASSERT_EQ(tall.GetHeight(), r.Height() + 12);
    for (int y = 2; y < tall.GetHeight() - 2; ++y)
        EXPECT_EQ(RGB(tall.GetRed(filled, y), tall.GetGreen(filled, y), tall.GetBlue(filled, y)), bar) << "row " << y;
}

// Where a group box's title stands: the mean column of its dark pixels in the
// title's rows, as a share of the box's width.
double TitleCentre(CWnd* group)
{
    const wxImage shot = ScreenImage(AfxTestWx(group));
    long long sum = 0, count = 0;
    for (int y = 0; y < std::min(shot.GetHeight(), 14); ++y)
        for (int x = 0; x < shot.GetWidth(); ++x)
            if (shot.GetRed(x, y) + shot.GetGreen(x, y) + shot.GetBlue(x, y) < 3 * 90) {
                sum += x;
                ++count;
            }
    return count ? static_cast<double>(sum) / count / shot.GetWidth() : -1;
}

TEST_F(ControlsTest, AGroupBoxTitleStandsWhereItsStyleAligns)
{
    const double centred = TitleCentre(m_panel.GetDlgItem(IDC_CENTRED_GROUP));
    const double left = TitleCentre(m_panel.GetDlgItem(IDC_LEFT_GROUP));
    ASSERT_GT(centred, 0) << "the title is drawn";
    ASSERT_GT(left, 0) << "the title is drawn";
    EXPECT_NEAR(centred, 0.5, 0.08);
    EXPECT_LT(left, 0.35);
}

TEST_F(ControlsTest, WindowOperationsFromAnotherThreadRunOnTheUserInterfaceThread)
{
    std::atomic<bool> done{false};
    CString text;
    int selection = -2;
    std::thread reader([&] {
        auto* rate = static_cast<CComboBox*>(m_panel.GetDlgItem(IDC_RATE));
        rate->InsertString(-1, L"0.5");
        rate->SetCurSel(0);
        selection = rate->GetCurSel();
        CWnd* plain = m_panel.GetDlgItem(IDC_PLAIN);
        plain->SetWindowText(L"Zoom");
        text = AfxTestWindowText(plain);
        static_cast<CProgressCtrl*>(m_panel.GetDlgItem(IDC_PROGRESS))->SetPos(40);
        m_panel.m_graph.Invalidate();
        done = true;
    });
    EXPECT_TRUE(PumpUntil([&] { return done.load(); }));
    reader.join();
    EXPECT_EQ(selection, 0);
    EXPECT_EQ(text, L"Zoom");
    EXPECT_EQ(AfxTestProgressPos(static_cast<CProgressCtrl*>(m_panel.GetDlgItem(IDC_PROGRESS))), 40);
}

TEST_F(ControlsTest, ScreenshotOfThePanel)
{
    m_panel.m_graph.Draw();
    AfxTestPump();
    const std::string path = ::testing::TempDir() + "afx_panel.png";
    ASSERT_TRUE(AfxTestSaveScreenshot(&m_panel, std::wstring(path.begin(), path.end())));
    const wxImage saved(wxString(path), wxBITMAP_TYPE_PNG);
    CRect r;
    m_panel.GetWindowRect(&r);
    EXPECT_EQ(saved.GetWidth(), r.Width());
    EXPECT_EQ(saved.GetHeight(), r.Height());
    std::remove(path.c_str());
}

}  // namespace

namespace {

// A key that makes its plain template button owner-drawn when it takes it over.
class CStyledKey : public CButton {
public:
    int m_draws = 0;
    void DrawItem(LPDRAWITEMSTRUCT dis) override
    {
        ++m_draws;
        CDC::FromHandle(dis->hDC)->FillSolidRect(&dis->rcItem, RGB(9, 99, 199));
    }

protected:
    void PreSubclassWindow() override { ModifyStyle(0, BS_OWNERDRAW); }
};

TEST_F(ControlsTest, APlainButtonMadeOwnerDrawnOnSubclassingDrawsItself)
{
    CStyledKey key;
    ASSERT_TRUE(AfxTestSubclassDlgItem(&key, IDC_PLAIN, &m_panel));
    EXPECT_EQ(m_panel.GetDlgItem(IDC_PLAIN), &key);
    key.UpdateWindow();
    EXPECT_GE(key.m_draws, 1);
    EXPECT_EQ(AfxTestReadPixel(&key, 3, 3), RGB(9, 99, 199));
    AfxTestClickButton(&key);
    EXPECT_EQ(m_panel.m_plainClicks, 1);
    key.UnsubclassWindow();
    EXPECT_NE(m_panel.GetDlgItem(IDC_PLAIN), &key);
}

}  // namespace
