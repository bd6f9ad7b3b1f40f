// A push button taken over by a class that draws it and handles its mouse
// messages (as a graph is): the order of a double click's messages, its size
// messages, mouse capture, and what a press leaves of its picture.
#include "gui_support.h"
#include "afx/win_codes.h"

#include <wx/uiaction.h>
#include <wx/wx.h>

namespace {

constexpr UINT IDD_DRAWN = 731;
constexpr int IDC_DRAWN = 1010;

const AfxDlgItem kItems[] = {
    {AfxControlKind::PushButton, IDC_DRAWN, L"Button1", 10, 10, 150, 80, WS_VISIBLE | WS_TABSTOP},
};
const AfxDialogTemplate kDialog{L"Drawn", L"Arial", 9, WS_POPUP | WS_CAPTION | WS_VISIBLE, 200, 120, kItems, 1};

struct Registration {
    Registration() { AfxRegisterDialog(IDD_DRAWN, kDialog); }
} g_registration;

// Records its mouse and size messages, draws through a client context and
// only validates in its paint handler; each handler then does the default.
class CDrawnButton : public CButton {
public:
    std::vector<UINT> m_messages;
    CSize m_lastSize;
    void Draw()
    {
        CClientDC dc(this);
        dc.FillSolidRect(0, 0, 30, 30, RGB(0, 100, 100));
    }
    void ClearMessages() { m_messages.clear(); }

protected:
    void OnPaint() { CPaintDC dc(this); }
    void OnLButtonDown(UINT flags, CPoint p) { Keep(WM_LBUTTONDOWN), CButton::OnLButtonDown(flags, p); }
    void OnLButtonUp(UINT flags, CPoint p) { Keep(WM_LBUTTONUP), CButton::OnLButtonUp(flags, p); }
    void OnLButtonDblClk(UINT flags, CPoint p) { Keep(WM_LBUTTONDBLCLK), CButton::OnLButtonDblClk(flags, p); }
    void OnMouseMove(UINT flags, CPoint p) { Keep(WM_MOUSEMOVE), CButton::OnMouseMove(flags, p); }
    void OnSize(UINT type, int cx, int cy)
    {
        m_lastSize = CSize(cx, cy);
        Keep(WM_SIZE);
        CButton::OnSize(type, cx, cy);
    }
    void Keep(UINT message) { m_messages.push_back(message); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDrawnButton, CButton)
    ON_WM_PAINT()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_MOUSEMOVE()
    ON_WM_SIZE()
END_MESSAGE_MAP()

class CDrawnDialog : public CDialog {
public:
    CDrawnDialog() : CDialog(IDD_DRAWN) {}
    CDrawnButton m_button;

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        CDialog::DoDataExchange(pDX);
        DDX_Control(pDX, IDC_DRAWN, m_button);
    }
};

class DrawnButton : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dialog.Create(IDD_DRAWN));
        m_dialog.ShowWindow(SW_SHOW);
        PumpUntil([this] { return AfxTestWx(&m_dialog.m_button) && AfxTestWx(&m_dialog.m_button)->IsShownOnScreen(); });
        AfxTestPump();
        Button().ClearMessages();
    }
    void TearDown() override
    {
        ReleaseCapture();
        m_dialog.DestroyWindow();
    }
    CDrawnButton& Button() { return m_dialog.m_button; }

    // A wx mouse event as GTK delivers it to the button, at a time in ms.
    void Deliver(wxEventType type, long timeMs, int x = 20, int y = 20)
    {
        wxWindow* w = AfxTestWx(&Button());
        wxMouseEvent e(type);
        e.SetEventObject(w);
        e.SetId(w->GetId());
        e.SetTimestamp(timeMs);
        e.m_x = x;
        e.m_y = y;
        e.m_leftDown = type == wxEVT_LEFT_DOWN || type == wxEVT_LEFT_DCLICK;
        w->GetEventHandler()->ProcessEvent(e);
    }
    std::vector<UINT> Clicks()
    {
        std::vector<UINT> clicks;
        for (UINT m : Button().m_messages)
            if (m != WM_MOUSEMOVE && m != WM_SIZE)
                clicks.push_back(m);
        return clicks;
    }

    CDrawnDialog m_dialog;
};

const std::vector<UINT> kDoubleClick = {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP};

TEST_F(DrawnButton, ADoubleClickComesAsDownUpDoubleClickUpInEitherOrderWxReportsIt)
{
    // GTK's own order: the second press, then its double click.
    Deliver(wxEVT_LEFT_DOWN, 10000);
    Deliver(wxEVT_LEFT_UP, 10020);
    Deliver(wxEVT_LEFT_DOWN, 10150);
    Deliver(wxEVT_LEFT_DCLICK, 10150);
    Deliver(wxEVT_LEFT_UP, 10170);
    EXPECT_EQ(Clicks(), kDoubleClick);

    // wx may hold the second press back and report only the double click.
    Button().ClearMessages();
    Deliver(wxEVT_LEFT_DOWN, 20000);
    Deliver(wxEVT_LEFT_UP, 20020);
    Deliver(wxEVT_LEFT_DCLICK, 20150);
    Deliver(wxEVT_LEFT_UP, 20170);
    EXPECT_EQ(Clicks(), kDoubleClick);
}

TEST_F(DrawnButton, SlowFarAndThirdPressesArePlainPresses)
{
    const long slow = wxSystemSettings::GetMetric(wxSYS_DCLICK_MSEC) + 50;
    Deliver(wxEVT_LEFT_DOWN, 30000);
    Deliver(wxEVT_LEFT_UP, 30020);
    Deliver(wxEVT_LEFT_DOWN, 30000 + slow);
    Deliver(wxEVT_LEFT_UP, 30020 + slow);
    Deliver(wxEVT_LEFT_DOWN, 31000, 20, 20);
    Deliver(wxEVT_LEFT_UP, 31010, 20, 20);
    Deliver(wxEVT_LEFT_DOWN, 31050, 60, 20); // far from the first press
    Deliver(wxEVT_LEFT_UP, 31060, 60, 20);
    std::vector<UINT> expected;
    for (int i = 0; i < 4; ++i) {
        expected.push_back(WM_LBUTTONDOWN);
        expected.push_back(WM_LBUTTONUP);
    }
    EXPECT_EQ(Clicks(), expected);

    // A third quick press after a double click starts anew.
    Button().ClearMessages();
    Deliver(wxEVT_LEFT_DOWN, 40000);
    Deliver(wxEVT_LEFT_UP, 40010);
    Deliver(wxEVT_LEFT_DOWN, 40050);
    Deliver(wxEVT_LEFT_DCLICK, 40050);
    Deliver(wxEVT_LEFT_UP, 40060);
    Deliver(wxEVT_LEFT_DOWN, 40100);
    Deliver(wxEVT_LEFT_UP, 40110);
    std::vector<UINT> thrice = kDoubleClick;
    thrice.push_back(WM_LBUTTONDOWN);
    thrice.push_back(WM_LBUTTONUP);
    EXPECT_EQ(Clicks(), thrice);
}

TEST_F(DrawnButton, ARealDoubleClickOnTheScreen)
{
    wxUIActionSimulator user;
    const wxPoint at = AfxTestWx(&Button())->ClientToScreen(wxPoint(40, 30));
    user.MouseMove(at);
    PumpUntil([] { return false; }, 100);
    Button().ClearMessages();
    user.MouseDblClick();
    PumpUntil([this] { return Clicks().size() >= 4; }, 3000);
    PumpUntil([] { return false; }, 100);
    EXPECT_EQ(Clicks(), kDoubleClick);
}

TEST_F(DrawnButton, HearsOfItsNewSizeAtOnce)
{
    Button().MoveWindow(5, 5, 240, 130);
    ASSERT_FALSE(Button().m_messages.empty());
    EXPECT_EQ(Button().m_messages.back(), static_cast<UINT>(WM_SIZE));
    EXPECT_EQ(Button().m_lastSize.cx, 240);
    EXPECT_EQ(Button().m_lastSize.cy, 130);
    Button().ClearMessages();
    Button().SetWindowPos(nullptr, 40, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_TRUE(Button().m_messages.empty()); // moved, not resized
}

TEST_F(DrawnButton, APressKeepsWhatWasDrawnAndCapturesTheMouse)
{
    Button().Invalidate(TRUE);
    Button().UpdateWindow();
    Button().Draw();
    ASSERT_EQ(AfxTestReadPixel(&Button(), 10, 10), RGB(0, 100, 100));
    Button().SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    EXPECT_EQ(AfxTestReadPixel(&Button(), 10, 10), RGB(0, 100, 100));
    EXPECT_EQ(AfxTestCapture(), &Button());
    // Moves away from the button still come to it while the button is held.
    Button().ClearMessages();
    wxUIActionSimulator user;
    user.MouseMove(AfxTestWx(&Button())->ClientToScreen(wxPoint(-40, -5)));
    PumpUntil([this] { return !Button().m_messages.empty(); }, 3000);
    EXPECT_FALSE(Button().m_messages.empty());
    Button().SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    EXPECT_EQ(AfxTestCapture(), nullptr);
    Button().Invalidate(TRUE);
    Button().UpdateWindow();
    EXPECT_EQ(AfxTestReadPixel(&Button(), 10, 10), RGB(0, 100, 100));
}

}  // namespace
