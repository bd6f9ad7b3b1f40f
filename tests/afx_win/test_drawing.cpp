// Drawing: memory contexts and bitmaps, pens, fonts, copies to a window's
// picture, saved states, and painting through WM_PAINT.
#include <algorithm>
#include <atomic>
#include <vector>

#include <wx/window.h>

#include "gui_support.h"
#include "screen_image.h"
#include "afx/win_codes.h"

namespace {

constexpr UINT IDD_CANVAS = 720;
const AfxDlgItem kCanvasItems[] = {
    {AfxControlKind::Static, IDC_STATIC, L"x", 200, 120, 10, 8, WS_VISIBLE},
};
const AfxDialogTemplate kCanvas{L"Canvas", L"Arial", 9, WS_POPUP | WS_CAPTION, 220, 140, kCanvasItems, 1};

// A dialog with one drawn child window.
constexpr UINT IDD_BOARD = 721;
constexpr int IDC_BOARD = 1300;
const AfxDlgItem kBoardItems[] = {
    {AfxControlKind::PushButton, IDC_BOARD, L"", 5, 5, 150, 110, WS_VISIBLE | BS_OWNERDRAW},
};
const AfxDialogTemplate kBoard{L"Board", L"Arial", 9, WS_POPUP | WS_CAPTION, 160, 120, kBoardItems, 1};

struct Registration {
    Registration()
    {
        AfxRegisterDialog(IDD_CANVAS, kCanvas);
        AfxRegisterDialog(IDD_BOARD, kBoard);
    }
} g_registration;

class CCanvas : public CDialog {
public:
    CCanvas() : CDialog(IDD_CANVAS) {}
    int m_paints = 0;

protected:
    void OnPaint()
    {
        ++m_paints;
        CPaintDC dc(this);
        dc.FillSolidRect(0, 0, 10, 10, RGB(0, 0, 255));
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCanvas, CDialog)
    ON_WM_PAINT()
END_MESSAGE_MAP()

struct MemoryCanvas {
    CBitmap bitmap;
    CDC dc;
    CBitmap* old = nullptr;
    MemoryCanvas(int w, int h, COLORREF fill)
    {
        EXPECT_TRUE(bitmap.CreateBitmap(w, h));
        EXPECT_TRUE(dc.CreateCompatibleDC(nullptr));
        old = dc.SelectObject(&bitmap);
        dc.FillSolidRect(0, 0, w, h, fill);
    }
    ~MemoryCanvas() { dc.SelectObject(old); }
};

TEST(Drawing, PensDrawSolidAndDottedLinesAtTheirWidths)
{
    MemoryCanvas c(60, 40, RGB(255, 255, 255));
    CPen red(PS_SOLID, 1, RGB(255, 0, 0));
    CPen dotted(PS_DOT, 1, RGB(0, 0, 255));
    CPen wide(PS_SOLID, 3, RGB(0, 128, 0));
    CPen* old = c.dc.SelectObject(&red);
    c.dc.MoveTo(0, 5);
    c.dc.LineTo(59, 5);
    c.dc.SelectObject(&dotted);
    c.dc.MoveTo(0, 20);
    c.dc.LineTo(59, 20);
    c.dc.SelectObject(&wide);
    c.dc.MoveTo(30, 25);
    c.dc.LineTo(30, 39);
    c.dc.SelectObject(old);

    EXPECT_EQ(AfxTestDCPixel(c.dc, 30, 5), RGB(255, 0, 0));
    EXPECT_EQ(AfxTestDCPixel(c.dc, 30, 6), RGB(255, 255, 255));
    int blue = 0;
    for (int x = 10; x < 50; ++x)
        blue += AfxTestDCPixel(c.dc, x, 20) == RGB(0, 0, 255);
    EXPECT_GT(blue, 5);
    EXPECT_LT(blue, 35);
    EXPECT_EQ(AfxTestDCPixel(c.dc, 29, 32), RGB(0, 128, 0));
    EXPECT_EQ(AfxTestDCPixel(c.dc, 31, 32), RGB(0, 128, 0));
    EXPECT_EQ(AfxTestDCPixel(c.dc, 34, 32), RGB(255, 255, 255));
}

TEST(Drawing, NullBrushRectangleLeavesTheInsideAndFillsUseTheirColour)
{
    MemoryCanvas c(40, 40, RGB(10, 20, 30));
    c.dc.SelectStockObject(NULL_BRUSH);
    CPen black(PS_SOLID, 1, RGB(0, 0, 0));
    CPen* oldPen = c.dc.SelectObject(&black);
    c.dc.Rectangle(5, 5, 35, 35);
    EXPECT_EQ(AfxTestDCPixel(c.dc, 5, 20), RGB(0, 0, 0));
    EXPECT_EQ(AfxTestDCPixel(c.dc, 20, 20), RGB(10, 20, 30));
    CRect r(10, 10, 20, 20);
    c.dc.FillSolidRect(&r, RGB(0, 200, 0));
    EXPECT_EQ(AfxTestDCPixel(c.dc, 15, 15), RGB(0, 200, 0));
    EXPECT_EQ(AfxTestDCPixel(c.dc, 20, 20), RGB(10, 20, 30));
    c.dc.SelectObject(oldPen);
}

TEST(Drawing, BitmapsFromTheImageSourceAndBitBltToAWindow)
{
    CBitmap tiny;
    EXPECT_FALSE(tiny.LoadBitmap(901));
    EXPECT_FALSE(tiny.LoadBitmap(902)) << "fewer pixels than its size";
    ASSERT_TRUE(tiny.LoadBitmap(900));
    EXPECT_EQ(tiny.GetBitmapDimension(), CSize(3, 2));
    CDC source;
    ASSERT_TRUE(source.CreateCompatibleDC(nullptr));
    CBitmap* old = source.SelectObject(&tiny);
    EXPECT_EQ(AfxTestDCPixel(source, 0, 0), RGB(255, 0, 0));
    EXPECT_EQ(AfxTestDCPixel(source, 2, 1), RGB(128, 128, 128));

    CCanvas canvas;
    ASSERT_TRUE(canvas.Create(IDD_CANVAS));
    canvas.ShowWindow(SW_SHOW);
    canvas.UpdateWindow();
    {
        CClientDC dc(&canvas);
        EXPECT_TRUE(dc.BitBlt(50, 60, 3, 2, &source, 0, 0, SRCCOPY));
    }
    source.SelectObject(old);
    EXPECT_EQ(AfxTestReadPixel(&canvas, 50, 60), RGB(255, 0, 0));
    EXPECT_EQ(AfxTestReadPixel(&canvas, 51, 60), RGB(0, 255, 0));
    EXPECT_EQ(AfxTestReadPixel(&canvas, 52, 61), RGB(128, 128, 128));
    EXPECT_EQ(AfxTestReadPixel(&canvas, -1, 0), CLR_INVALID);
    canvas.DestroyWindow();
}

TEST(Drawing, PaintRunsWhenInvalidatedAndUpdateWindowRunsItAtOnce)
{
    CCanvas canvas;
    ASSERT_TRUE(canvas.Create(IDD_CANVAS));
    canvas.UpdateWindow();
    int paints = canvas.m_paints;
    EXPECT_GE(paints, 1);
    EXPECT_EQ(AfxTestReadPixel(&canvas, 5, 5), RGB(0, 0, 255));
    canvas.UpdateWindow();
    EXPECT_EQ(canvas.m_paints, paints);   // nothing invalid, nothing painted
    canvas.Invalidate();
    canvas.UpdateWindow();
    EXPECT_EQ(canvas.m_paints, paints + 1);
    // What a client context draws stays when the window is only shown again.
    {
        CClientDC dc(&canvas);
        dc.FillSolidRect(100, 100, 5, 5, RGB(1, 2, 3));
    }
    AfxTestPump();
    EXPECT_EQ(AfxTestReadPixel(&canvas, 101, 101), RGB(1, 2, 3));
    canvas.DestroyWindow();
}

TEST(Drawing, FontsResolveArialAndMeasureCharacterHeights)
{
    CFont font;
    ASSERT_TRUE(font.CreateFont(-20, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS, L"Arial"));
    LOGFONT lf{};
    EXPECT_GT(AfxTestLogFont(font, &lf), 0);
    EXPECT_EQ(lf.lfHeight, -20);
    EXPECT_EQ(std::wstring(lf.lfFaceName), L"Arial");

    MemoryCanvas c(200, 60, RGB(255, 255, 255));
    CFont* old = c.dc.SelectObject(&font);
    TEXTMETRIC tm{};
    ASSERT_TRUE(c.dc.GetTextMetrics(&tm));
    // A 20-pixel character height: Arial's cell is about 1.15 times that.
    EXPECT_GE(tm.tmAscent + tm.tmDescent, 21);
    EXPECT_LE(tm.tmAscent + tm.tmDescent, 25);
    CSize one = c.dc.GetTextExtent(L"8", 1);
    CSize three = c.dc.GetTextExtent(CString(L"888"));
    EXPECT_GT(one.cx, 5);
    EXPECT_NEAR(three.cx, 3 * one.cx, 2);

    c.dc.SetBkMode(TRANSPARENT);
    c.dc.SetTextColor(RGB(0, 0, 0));
    c.dc.TextOut(5, 5, CString(L"TIME"));
    int dark = 0;
    for (int y = 5; y < 30; ++y)
        for (int x = 5; x < 60; ++x)
            dark += AfxTestDCPixel(c.dc, x, y) == RGB(0, 0, 0);
    EXPECT_GT(dark, 20);
    c.dc.SelectObject(old);

    CFont cell;
    LOGFONT positive{};
    positive.lfHeight = 23;
    wcscpy(positive.lfFaceName, L"Arial");
    ASSERT_TRUE(cell.CreateFontIndirect(&positive));
    c.dc.SelectObject(&cell);
    ASSERT_TRUE(c.dc.GetTextMetrics(&tm));
    EXPECT_NEAR(tm.tmHeight, 23, 2);
    c.dc.SelectObject(old);
}

TEST(Drawing, CharacterWidthSqueezesText)
{
    MemoryCanvas c(300, 40, RGB(255, 255, 255));
    CFont natural, narrow;
    natural.CreateFont(-24, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, VARIABLE_PITCH, L"Arial");
    narrow.CreateFont(-24, 6, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, VARIABLE_PITCH, L"Arial");
    const CString text(L"12:34:56");
    auto inkEnd = [&](CFont& font) {
        CFont* old = c.dc.SelectObject(&font);
        c.dc.FillSolidRect(0, 0, 300, 40, RGB(255, 255, 255));
        c.dc.SetBkMode(TRANSPARENT);
        c.dc.SetTextColor(RGB(0, 0, 0));
        c.dc.TextOut(10, 5, text);
        int last = -1, dark = 0;
        for (int x = 0; x < 300; ++x)
            for (int y = 0; y < 40; ++y)
                if (AfxTestDCPixel(c.dc, x, y) != RGB(255, 255, 255)) {
                    last = x;
                    ++dark;
                }
        c.dc.SelectObject(old);
        return std::make_pair(last, dark);
    };
    c.dc.SelectObject(&natural);
    const CSize wide = c.dc.GetTextExtent(text);
    TEXTMETRIC tm{};
    c.dc.SelectObject(&narrow);
    const CSize squeezed = c.dc.GetTextExtent(text);
    ASSERT_TRUE(c.dc.GetTextMetrics(&tm));
    EXPECT_EQ(tm.tmAveCharWidth, 6);
    EXPECT_EQ(squeezed.cy, wide.cy);
    EXPECT_LT(squeezed.cx, wide.cx * 3 / 4);

    auto [wideEnd, wideInk] = inkEnd(natural);
    auto [narrowEnd, narrowInk] = inkEnd(narrow);
    EXPECT_NEAR(wideEnd, 10 + wide.cx, 4);
    EXPECT_NEAR(narrowEnd, 10 + squeezed.cx, 4);
    EXPECT_GT(narrowInk, wideInk / 4);  // drawn, not lost
}

// Fonts made anew for every drawing, as a face drawing makes them, draw the
// same text again as they did, in the colour and width asked for each time.
TEST(Drawing, SqueezedTextDrawnAgainKeepsItsFontsWidthAndTakesTheNewColour)
{
    MemoryCanvas c(200, 40, RGB(255, 255, 255));
    const CString text(L"FAST");
    auto draw = [&](int width, COLORREF colour) {
        CFont font;
        font.CreateFont(-24, width, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, VARIABLE_PITCH, L"Arial");
        CFont* old = c.dc.SelectObject(&font);
        c.dc.FillSolidRect(0, 0, 200, 40, RGB(255, 255, 255));
        c.dc.SetBkMode(TRANSPARENT);
        c.dc.SetTextColor(colour);
        c.dc.TextOut(5, 5, text);
        const CSize extent = c.dc.GetTextExtent(text);
        c.dc.SelectObject(old);
        std::vector<COLORREF> pixels;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 200; ++x)
                pixels.push_back(AfxTestDCPixel(c.dc, x, y));
        return std::make_pair(extent, pixels);
    };
    auto count = [](const std::vector<COLORREF>& pixels, COLORREF colour) {
        return std::count(pixels.begin(), pixels.end(), colour);
    };
    const auto [narrowExtent, narrowBlack] = draw(6, RGB(0, 0, 0));
    EXPECT_GT(count(narrowBlack, RGB(0, 0, 0)), 20);
    EXPECT_EQ(draw(6, RGB(0, 0, 0)).second, narrowBlack) << "drawn again exactly as before";

    const auto [sameExtent, narrowRed] = draw(6, RGB(200, 0, 0));
    EXPECT_EQ(sameExtent, narrowExtent);
    EXPECT_EQ(count(narrowRed, RGB(0, 0, 0)), 0);
    EXPECT_EQ(count(narrowRed, RGB(200, 0, 0)), count(narrowBlack, RGB(0, 0, 0)));

    const auto [wideExtent, wide] = draw(10, RGB(0, 0, 0));
    EXPECT_GT(wideExtent.cx, narrowExtent.cx * 3 / 2);
    EXPECT_EQ(wideExtent.cy, narrowExtent.cy);
}

TEST(Drawing, TextAlignmentPlacesTextAroundThePoint)
{
    MemoryCanvas c(200, 40, RGB(255, 255, 255));
    CFont font;
    font.CreateFont(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, VARIABLE_PITCH, L"Arial");
    CFont* old = c.dc.SelectObject(&font);
    CString text(L"MMMM");
    CSize extent = c.dc.GetTextExtent(text);
    auto inkRange = [&](UINT align) {
        c.dc.FillSolidRect(0, 0, 200, 40, RGB(255, 255, 255));
        AfxTestSetTextAlign(c.dc, align);
        c.dc.SetBkMode(TRANSPARENT);
        c.dc.TextOut(100, 5, text);
        int first = -1, last = -1;
        for (int x = 0; x < 200; ++x)
            for (int y = 0; y < 40; ++y)
                if (AfxTestDCPixel(c.dc, x, y) != RGB(255, 255, 255)) {
                    if (first < 0)
                        first = x;
                    last = x;
                    break;
                }
        return std::make_pair(first, last);
    };
    auto left = inkRange(TA_LEFT | TA_TOP);
    auto centre = inkRange(TA_CENTER | TA_TOP);
    auto right = inkRange(TA_RIGHT | TA_TOP);
    EXPECT_NEAR(left.first, 100, 3);
    EXPECT_NEAR((centre.first + centre.second) / 2, 100, 3);
    EXPECT_NEAR(right.second, 100, 3);
    EXPECT_NEAR(left.second - left.first, extent.cx, 4);
    c.dc.SelectObject(old);
}

TEST(Drawing, SavedStatesRestoreSelectionsAndColours)
{
    MemoryCanvas c(10, 10, RGB(0, 0, 0));
    CPen a(PS_SOLID, 1, RGB(1, 1, 1)), b(PS_SOLID, 1, RGB(2, 2, 2));
    c.dc.SelectObject(&a);
    c.dc.SetTextColor(RGB(9, 9, 9));
    int saved = c.dc.SaveDC();
    EXPECT_EQ(saved, 1);
    c.dc.SelectObject(&b);
    c.dc.SetTextColor(RGB(8, 8, 8));
    EXPECT_TRUE(c.dc.RestoreDC(-1));
    EXPECT_EQ(AfxTestTextColour(c.dc), RGB(9, 9, 9));
    EXPECT_EQ(c.dc.SelectObject(&b), &a);
    EXPECT_FALSE(c.dc.RestoreDC(-1));
    EXPECT_EQ(c.dc.GetDeviceCaps(LOGPIXELSX), 96);
    EXPECT_EQ(c.dc.GetDeviceCaps(LOGPIXELSY), 96);
    EXPECT_GT(c.dc.GetDeviceCaps(HORZRES), 0);
}

// As a reader thread draws a picture: a client context, a memory context
// with a bitmap, fonts made and deleted on the calling thread.
void Draw(CCanvas& canvas, std::atomic<COLORREF>& memPixel)
{
    CClientDC dc(&canvas);
    CDC mem;
    EXPECT_TRUE(mem.CreateCompatibleDC(&dc));
    CBitmap face;
    EXPECT_TRUE(face.CreateBitmap(30, 20));
    CBitmap* old = mem.SelectObject(&face);
    mem.FillSolidRect(0, 0, 30, 20, RGB(128, 140, 128));
    CFont font;
    font.CreateFont(-14, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, VARIABLE_PITCH, L"Arial");
    CFont* oldFont = mem.SelectObject(&font);
    mem.SetBkMode(TRANSPARENT);
    mem.TextOut(2, 2, CString(L"8"));
    mem.SelectObject(oldFont);
    memPixel = AfxTestDCPixel(mem, 25, 15);
    dc.BitBlt(140, 90, 30, 20, &mem, 0, 0, SRCCOPY);
    mem.SelectObject(old);
}

// The areas of a window that reach the screen: what each paint event updates.
class ScreenUpdates {
public:
    explicit ScreenUpdates(CWnd* wnd) : m_window(AfxTestWx(wnd))
    {
        m_window->Bind(wxEVT_PAINT, &ScreenUpdates::OnPaint, this);
    }
    ~ScreenUpdates() { m_window->Unbind(wxEVT_PAINT, &ScreenUpdates::OnPaint, this); }
    // Lets every refresh asked for so far reach the screen, and returns their union.
    wxRect Settle()
    {
        m_box = wxRect();
        m_paints = 0;
        AfxTestPumpUntil([] { return false; }, 150);
        return m_box;
    }
    int Paints() const { return m_paints; }
    // The colour the screen shows at a client point of the window.
    COLORREF ScreenPixel(int x, int y) const
    {
        const wxImage image = ScreenImage(m_window, wxRect(x, y, 1, 1));
        return RGB(image.GetRed(0, 0), image.GetGreen(0, 0), image.GetBlue(0, 0));
    }

private:
    void OnPaint(wxPaintEvent& e)
    {
        m_box.Union(m_window->GetUpdateRegion().GetBox());
        ++m_paints;
        e.Skip();
    }
    wxWindow* m_window;
    wxRect m_box;
    int m_paints = 0;
};

TEST(Drawing, OnlyWhatDrawingChangesGoesToTheScreen)
{
    // A drawn child window, as a view is (a top-level window is always painted whole).
    CDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_BOARD));
    dialog.ShowWindow(SW_SHOW);
    AfxTestWx(&dialog)->Raise();
    CWnd* board = dialog.GetDlgItem(IDC_BOARD);
    ASSERT_NE(board, nullptr);
    board->UpdateWindow();
    ScreenUpdates updates(board);
    updates.Settle();

    // A composed picture copied whole onto the window, as a meter face is for every reading.
    MemoryCanvas face(120, 100, RGB(128, 140, 128));
    auto copyFace = [&] {
        CClientDC dc(board);
        EXPECT_TRUE(dc.BitBlt(0, 0, 120, 100, &face.dc, 0, 0, SRCCOPY));
    };
    copyFace();
    EXPECT_EQ(updates.Settle(), wxRect(0, 0, 120, 100));
    EXPECT_EQ(updates.ScreenPixel(60, 50), RGB(128, 140, 128));

    // A new reading changes a small part of the picture: only that part is shown again.
    face.dc.FillSolidRect(45, 42, 20, 12, RGB(200, 0, 0));
    copyFace();
    EXPECT_EQ(updates.Settle(), wxRect(45, 42, 20, 12));
    EXPECT_EQ(updates.ScreenPixel(50, 50), RGB(200, 0, 0));
    EXPECT_EQ(AfxTestReadPixel(board, 64, 53), RGB(200, 0, 0));
    EXPECT_EQ(AfxTestReadPixel(board, 65, 53), RGB(128, 140, 128));

    // The same picture again changes nothing, and nothing is painted.
    copyFace();
    updates.Settle();
    EXPECT_EQ(updates.Paints(), 0);

    // Lines, fills and squeezed text show where they are drawn, not elsewhere.
    {
        CClientDC dc(board);
        CPen pen(PS_SOLID, 1, RGB(0, 0, 0));
        CPen* old = dc.SelectObject(&pen);
        dc.MoveTo(150, 20);
        dc.LineTo(180, 20);
        dc.SelectObject(old);
    }
    wxRect box = updates.Settle();
    EXPECT_TRUE(box.Contains(wxRect(150, 20, 30, 1)));
    EXPECT_LE(box.width * box.height, 40 * 8);
    {
        CClientDC dc(board);
        CFont narrow;
        narrow.CreateFont(-24, 6, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, VARIABLE_PITCH, L"Arial");
        CFont* old = dc.SelectObject(&narrow);
        dc.SetBkMode(TRANSPARENT);
        dc.TextOut(150, 120, CString(L"12:34:56"));
        dc.SelectObject(old);
    }
    box = updates.Settle();
    EXPECT_TRUE(box.Contains(wxPoint(151, 121)));
    EXPECT_LE(box.GetRight(), 150 + 8 * 8);
    EXPECT_LE(box.GetBottom(), 120 + 30);
    dialog.DestroyWindow();
}

TEST(Drawing, AnotherThreadDrawsThroughTheUserInterfaceThread)
{
    CCanvas canvas;
    ASSERT_TRUE(canvas.Create(IDD_CANVAS));
    canvas.UpdateWindow();
    std::atomic<bool> done{false};
    std::atomic<COLORREF> memPixel{0};
    std::thread reader([&] {
        Draw(canvas, memPixel);
        done = true;   // after the objects are gone: their deletion also runs on the other thread
    });
    EXPECT_TRUE(PumpUntil([&] { return done.load(); }));
    reader.join();
    EXPECT_EQ(memPixel.load(), RGB(128, 140, 128));
    EXPECT_EQ(AfxTestReadPixel(&canvas, 165, 105), RGB(128, 140, 128));
    canvas.DestroyWindow();
}

}  // namespace
