// The "Real-Time Setup" dialog (148) in a real window: its list, the preview
// that follows the clock, and the checks of the number of data points.
#include "gui_fixture.h"
#include "support/timing.h"

#include "live_fixture.h"
#include "meterapp/rt_setup_dlg.h"
#include "resource.h"
#include "afx/win_codes.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

namespace {

// Runs the dialog with `points`; `inspect` gets it while it is up and returns
// how it ends. Message boxes are kept in `boxes` and answered OK.
class SetupDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        decibar = std::make_unique<DecibarInstance>();
        ASSERT_NE(decibar->View(), nullptr);
    }
    void TearDown() override { decibar.reset(); }

    INT_PTR Run(CRTSetup& dialog, const std::function<int(CDialog*)>& inspect)
    {
        AfxTestSetModalAnswerer([&](const AfxModalRequest& request) {
            if (request.kind == AfxModalRequest::MessageBox) {
                boxes.push_back(request.text);
                return static_cast<int>(IDOK);
            }
            return inspect(request.dialog);
        });
        const INT_PTR result = dialog.DoModal();
        AfxTestSetModalAnswerer({});
        return result;
    }
    static CString Text(CDialog* dialog, int id)
    {
        CString text;
        dialog->GetDlgItemText(id, text);
        return text;
    }
    // Seconds since the epoch of a "d-m-yyyy,h:m:s" text, local time; -1 when it does not read.
    static long long Seconds(const CString& text)
    {
        int d, mo, y, h, mi, s;
        if (std::swscanf(text, L"%d-%d-%d,%d:%d:%d", &d, &mo, &y, &h, &mi, &s) != 6)
            return -1;
        return static_cast<long long>(testutil::LocalTime(y, mo, d, h, mi, s));
    }

    livetest::PrivatePorts ports;
    std::unique_ptr<DecibarInstance> decibar;
    std::vector<std::wstring> boxes;
};

TEST_F(SetupDialog, OpensAtHalfASecondWithThePreviewOfTheCallersPoints)
{
    CRTSetup dialog;
    dialog.m_nDataPoints = 40000;
    const INT_PTR result = Run(dialog, [&](CDialog* up) {
        CString caption;
        caption = AfxTestWindowText(up);
        EXPECT_EQ(caption, CString(L"Real-Time Setup"));
        auto* rates = static_cast<CComboBox*>(up->GetDlgItem(IDC_RATE));
        const wchar_t* texts[] = { L"0.1", L"0.2", L"0.5", L"1.0", L"1.5", L"2.0", L"2.5", L"3.0", L"5.0", L"10.0" };
        EXPECT_EQ(AfxTestItemCount(rates), 10);
        for (int i = 0; i < 10; ++i) {
            CString text;
            AfxTestItemText(rates, i, text);
            EXPECT_EQ(text, CString(texts[i]));
        }
        EXPECT_EQ(rates->GetCurSel(), 2);
        EXPECT_EQ(Text(up, IDC_DATA_POINTS), CString(L"40000"));
        EXPECT_EQ(Text(up, IDC_DURATION), CString(L"5 hour 33 minute 20 second"));
        const long long start = Seconds(Text(up, IDC_START_AT));
        EXPECT_GT(start, 0);
        EXPECT_EQ(Seconds(Text(up, IDC_END_AT)) - start, 20000);
        EXPECT_EQ(Text(up, IDC_START_AT).Find(L",0"), -1); // no leading zeros
        return static_cast<int>(IDCANCEL);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(SetupDialog, StartAndEndFollowTheClock)
{
    CRTSetup dialog;
    dialog.m_nDataPoints = 10;
    Run(dialog, [&](CDialog* up) {
        const long long start = Seconds(Text(up, IDC_START_AT));
        AfxTestPumpUntil([&] { return Seconds(Text(up, IDC_START_AT)) >= start + 2; }, 5000);
        const long long later = Seconds(Text(up, IDC_START_AT));
        EXPECT_GE(later, start + 2);
        EXPECT_LE(later, static_cast<long long>(std::time(nullptr)));
        EXPECT_EQ(Seconds(Text(up, IDC_END_AT)) - later, 5);
        return static_cast<int>(IDCANCEL);
    });
}

TEST_F(SetupDialog, PointsAndIntervalGiveThePreviewAndStartReturnsTheIndex)
{
    CRTSetup dialog;
    dialog.m_nDataPoints = 40000;
    const INT_PTR result = Run(dialog, [&](CDialog* up) {
        AfxTestTypeText(up->GetDlgItem(IDC_DATA_POINTS), L"7200");
        EXPECT_EQ(Text(up, IDC_DURATION), CString(L"1 hour 0 minute 0 second"));
        AfxTestChooseItem(up->GetDlgItem(IDC_RATE), 9);
        EXPECT_EQ(Text(up, IDC_DURATION), CString(L"20 hour 0 minute 0 second"));
        AfxTestChooseItem(up->GetDlgItem(IDC_RATE), 0);
        EXPECT_EQ(Text(up, IDC_DURATION), CString(L"0 hour 12 minute 0 second"));
        up->SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        EXPECT_FALSE(AfxTestModalRunning(up));
        return static_cast<int>(IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dialog.m_nDataPoints, 7200);
    EXPECT_EQ(dialog.m_nRateIndex, 0);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(SetupDialog, RefusedCountsAreReportedAndStartStaysOpenUntilOneIsValid)
{
    CRTSetup dialog;
    dialog.m_nDataPoints = 40000;
    const INT_PTR result = Run(dialog, [&](CDialog* up) {
        AfxTestTypeText(up->GetDlgItem(IDC_DATA_POINTS), L"abc");
        EXPECT_EQ(boxes, std::vector<std::wstring> { L"Enter an integer." });
        EXPECT_EQ(Text(up, IDC_DATA_POINTS), CString(L"40000")); // written back from the member
        EXPECT_EQ(Text(up, IDC_DURATION), CString(L"5 hour 33 minute 20 second"));

        boxes.clear();
        AfxTestTypeText(up->GetDlgItem(IDC_DATA_POINTS), L"50000");
        EXPECT_EQ(boxes, std::vector<std::wstring> { L"Enter an integer between 1 and 40000." });
        EXPECT_EQ(Text(up, IDC_DURATION), CString(L"6 hour 56 minute 40 second")); // the refused count's
        boxes.clear();
        up->SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        EXPECT_TRUE(AfxTestModalRunning(up));
        EXPECT_EQ(boxes.size(), 1u);

        AfxTestTypeText(up->GetDlgItem(IDC_DATA_POINTS), L"-3");
        AfxTestTypeText(up->GetDlgItem(IDC_DATA_POINTS), L"99999999999");
        EXPECT_FALSE(Text(up, IDC_DURATION).IsEmpty());
        AfxTestTypeText(up->GetDlgItem(IDC_DATA_POINTS), L"3");
        boxes.clear();
        up->SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        EXPECT_FALSE(AfxTestModalRunning(up));
        EXPECT_TRUE(boxes.empty());
        return static_cast<int>(IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dialog.m_nDataPoints, 3);
    EXPECT_EQ(dialog.m_nRateIndex, 2);
}

// The longest text each edit of the template shows, in the template's font,
// within the edit's rectangle less the frame and padding drawn around it (the
// labels and buttons are checked with every other form's).
TEST_F(SetupDialog, TheLongestTextOfEachEditFitsIt)
{
    const AfxDialogTemplate* t = AfxTestFindDialog(IDD_RTSETUP);
    ASSERT_NE(t, nullptr);
    const CSize base = AfxTestDialogBaseUnits(*t);
    CFont font;
    ASSERT_TRUE(AfxTestCreatePointFont(font, t->fontPoints * 10, t->fontName));
    CClientDC dc(decibar->View());
    CFont* old = dc.SelectObject(&font);
    const int kEditPadding = 20;
    const struct {
        int id;
        const wchar_t* text;
    } longestShown[] = { { IDC_DATA_POINTS, L"40000" }, { IDC_DURATION, L"111 hour 6 minute 40 second" },
        { IDC_START_AT, L"28-12-2026,23:58:58" }, { IDC_END_AT, L"28-12-2026,23:58:58" } };
    int checked = 0;
    for (size_t i = 0; i < t->count; ++i) {
        const AfxDlgItem& item = t->items[i];
        for (const auto& shown : longestShown) {
            if (item.kind != AfxControlKind::Edit || shown.id != item.id)
                continue;
            const CRect rect
                = AfxTestDialogUnitsToPixels(base, CRect(item.x, item.y, item.x + item.cx, item.y + item.cy));
            const CSize extent = dc.GetTextExtent(shown.text);
            EXPECT_LE(extent.cx + kEditPadding, rect.Width()) << "edit " << item.id;
            EXPECT_LE(extent.cy, rect.Height() + 2) << "edit " << item.id;
            ++checked;
        }
    }
    dc.SelectObject(old);
    EXPECT_EQ(checked, 4);

    const char* path = std::getenv("DECIBAR_SETUP_SCREENSHOT");
    if (!path)
        return;
    CRTSetup dialog;
    dialog.m_nDataPoints = 40000;
    Run(dialog, [&](CDialog* up) {
        const std::string file(path);
        EXPECT_TRUE(AfxTestSaveScreenshot(up, std::wstring(file.begin(), file.end())));
        return static_cast<int>(IDCANCEL);
    });
}

} // namespace
