// Dialog templates beyond the plain captioned box: a modeless dialog with a
// menu bar of its own, and a box without a title bar.
#include "gui_support.h"
#include "afx/win_codes.h"

#include <wx/frame.h>
#include <wx/toplevel.h>

namespace {

constexpr UINT IDD_BROWSER = 740, IDD_WAIT = 741, IDR_BROWSER_MENU = 742;
constexpr UINT ID_IMPORT = 33001, ID_EXPORT = 33002, ID_SAVE_SELECTED = 33003, ID_PRINT_GRAPH = 33004;
constexpr int IDC_LABEL = 1100;

const AfxMenuEntry kBrowserMenu[] = {
    AfxItem(ID_IMPORT, L"Import Data(&I)"),
    AfxItem(ID_EXPORT, L"Export To Excel(&E)"),
    AfxPopup(L"Save Data(&S)"), AfxItem(ID_SAVE_SELECTED, L"Save Selected(&S)"), AfxEndPopup(),
    AfxPopup(L"Print(&P)"), AfxItem(ID_PRINT_GRAPH, L"Print Graph(&G)"), AfxEndPopup(),
};

const AfxDlgItem kLabel[] = {
    {AfxControlKind::Static, IDC_LABEL, L"Accepting Data now! Waiting.......", 24, 10, 131, 8, WS_VISIBLE},
};
const AfxDialogTemplate kBrowser{L"DATALOGGER", L"Arial", 8, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                                 400, 100, kLabel, 1, 0, IDR_BROWSER_MENU};
const AfxDialogTemplate kWait{L"", L"Arial", 8, WS_POPUP | WS_SYSMENU | DS_SETFONT | DS_FIXEDSYS, 199, 47, kLabel, 1};

struct Registration {
    Registration()
    {
        AfxRegisterMenu(IDR_BROWSER_MENU, kBrowserMenu);
        AfxRegisterDialog(IDD_BROWSER, kBrowser);
        AfxRegisterDialog(IDD_WAIT, kWait);
    }
} g_registration;

class CBrowser : public CDialog {
public:
    CBrowser() : CDialog(IDD_BROWSER) {}
    std::vector<UINT> m_commands;

protected:
    void OnImport() { m_commands.push_back(ID_IMPORT); }
    void OnExport() { m_commands.push_back(ID_EXPORT); }
    void OnSaveSelected() { m_commands.push_back(ID_SAVE_SELECTED); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBrowser, CDialog)
    ON_COMMAND(ID_IMPORT, &CBrowser::OnImport)
    ON_COMMAND(ID_EXPORT, &CBrowser::OnExport)
    ON_COMMAND(ID_SAVE_SELECTED, &CBrowser::OnSaveSelected)
END_MESSAGE_MAP()

CString MenuText(CMenu* menu, int position)
{
    CString text;
    AfxTestMenuString(menu, position, text, MF_BYPOSITION);
    return text;
}

TEST(DialogMenus, AModelessDialogShowsItsTemplatesMenuBarAndGetsItsCommands)
{
    CBrowser browser;
    ASSERT_TRUE(browser.Create(IDD_BROWSER));
    browser.ShowWindow(SW_SHOW);
    AfxTestPump();
    CMenu* bar = browser.GetMenu();
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(AfxTestMenuItemCount(bar), 4);
    EXPECT_EQ(MenuText(bar, 0), L"Import Data(&I)");
    EXPECT_EQ(MenuText(bar, 3), L"Print(&P)");
    EXPECT_EQ(AfxTestMenuItemID(bar->GetSubMenu(2), 0), ID_SAVE_SELECTED);

    // Commands on the bar itself run when the user opens them.
    AfxTestOpenMenu(&browser, 1);
    ASSERT_TRUE(PumpUntil([&] { return !browser.m_commands.empty(); }));
    AfxTestChooseCommand(&browser, ID_SAVE_SELECTED);
    AfxTestPump();
    EXPECT_EQ(browser.m_commands, (std::vector<UINT> { ID_EXPORT, ID_SAVE_SELECTED }));

    // The menu takes no room from the template's client area.
    CRect client;
    browser.GetClientRect(&client);
    CRect units(0, 0, 400, 100);
    AfxTestMapDialogRect(&browser, &units);
    EXPECT_EQ(client.Size(), units.Size());

    // Esc hides a modeless dialog; it stays until destroyed.
    AfxTestPressKey(&browser, VK_ESCAPE);
    AfxTestPump();
    EXPECT_FALSE(browser.IsWindowVisible());
    EXPECT_TRUE(browser.DestroyWindow());
}

TEST(DialogMenus, AModalRunOfTheSameTemplateHasNoMenuAndADialogWithoutCaptionNoTitleBar)
{
    BoxRecorder boxes;
    bool captioned = true;
    bool hadMenu = true;
    int runs = 0;
    AfxTestSetModalAnswerer([&](const AfxModalRequest& r) {
        ++runs;
        auto* window = dynamic_cast<wxTopLevelWindow*>(AfxTestWx(r.dialog));
        if (AfxTestTemplateId(r.dialog) == IDD_WAIT)
            captioned = window && (window->GetWindowStyle() & wxCAPTION) != 0;
        else
            hadMenu = r.dialog->GetMenu() != nullptr;
        return static_cast<int>(IDCANCEL);
    });
    CDialog wait(IDD_WAIT);
    EXPECT_EQ(wait.DoModal(), IDCANCEL);
    CBrowser modal;
    EXPECT_EQ(static_cast<CDialog&>(modal).DoModal(), IDCANCEL);
    EXPECT_EQ(runs, 2);
    EXPECT_FALSE(captioned);
    EXPECT_FALSE(hadMenu);
}

}  // namespace
