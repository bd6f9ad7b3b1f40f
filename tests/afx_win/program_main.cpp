// A whole program on the layer: AfxWinMain runs InitInstance, which builds the
// single-document frame and view, then the message loop, which ends when the
// frame closes; the exit code is then 0.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <initializer_list>
#include <optional>
#include <string>
#include <thread>

#include "afx/afxwin.h"
#include "afx/testing.h"
#include "afx/win_codes.h"

namespace {

constexpr UINT IDR_MAIN = 128;
constexpr UINT IDD_FORM = 101;
constexpr UINT WM_PING = WM_USER + 4;

const AfxStringEntry kStrings[] = {
    {IDR_MAIN, L"KV-Program\n\nProgram\n\n\nP.Document\nP.Document"},
    {AFX_IDS_APP_TITLE, L"Program"},
    {AFX_IDS_IDLEMESSAGE, L"Ready"},
};
const AfxMenuEntry kMenu[] = {AfxPopup(L"File(&F)"), AfxItem(ID_APP_EXIT, L"Exit(&X)"), AfxEndPopup()};
const AfxDlgItem kFormItems[] = {{AfxControlKind::Static, IDC_STATIC, L"form", 10, 10, 40, 8, WS_VISIBLE}};
const AfxDialogTemplate kForm{nullptr, L"Arial", 9, WS_CHILD, 200, 100, kFormItems, 1};

int g_failures = 0;
std::optional<std::string> g_glSetting;
std::thread g_asker;
int g_ticks = 0;
int g_pings = 0;

void Check(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "check failed: %s\n", what);
        ++g_failures;
    }
}

std::optional<std::string> GlSetting()
{
    const char* value = std::getenv("GDK_GL");
    return value ? std::optional<std::string>(value) : std::nullopt;
}

// A library whose file name starts with one of the prefixes, in the process's address space.
bool Maps(std::initializer_list<const char*> prefixes)
{
    std::ifstream maps("/proc/self/maps");
    std::string line;
    while (std::getline(maps, line)) {
        const size_t slash = line.rfind('/');
        const std::string name = slash == std::string::npos ? "" : line.substr(slash + 1);
        for (const char* prefix : prefixes)
            if (name.rfind(prefix, 0) == 0)
                return true;
    }
    return false;
}

class CProgramDoc : public CDocument {
    DECLARE_DYNCREATE(CProgramDoc)
};
IMPLEMENT_DYNCREATE(CProgramDoc, CDocument)

class CProgramFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CProgramFrame)
public:
    CProgramFrame() { m_bAutoMenuEnable = FALSE; }
};
IMPLEMENT_DYNCREATE(CProgramFrame, CFrameWnd)

class CProgramView : public CFormView {
    DECLARE_DYNCREATE(CProgramView)
public:
    CProgramView() : CFormView(IDD_FORM) {}
    void OnInitialUpdate() override
    {
        CFormView::OnInitialUpdate();
        SetTimer(1, 10, nullptr);
    }

protected:
    void OnTimer(UINT_PTR)
    {
        // After a few ticks a thread asks something of the view, and the program then exits.
        if (++g_ticks == 3) {
            HWND view = m_hWnd;
            g_asker = std::thread([view] { ::SendMessage(view, WM_PING, 0, 0); });
        }
        if (g_ticks == 20)
            GetParentFrame()->PostMessage(WM_COMMAND, ID_APP_EXIT);
    }
    LRESULT OnPing(WPARAM, LPARAM)
    {
        ++g_pings;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CProgramView, CFormView)

BEGIN_MESSAGE_MAP(CProgramView, CFormView)
    ON_WM_TIMER()
    ON_MESSAGE(WM_PING, &CProgramView::OnPing)
END_MESSAGE_MAP()

class CProgramApp : public CWinApp {
public:
    BOOL InitInstance() override
    {
        CWinApp::InitInstance();
        // The display is open: GTK chose its visuals without loading a GL
        // driver, unless the environment asked for GL, and the environment is
        // as it was for the programs this one starts.
        if (!g_glSetting)
            Check(!Maps({"libGL", "libEGL", "libLLVM", "swrast_dri"}), "no GL library loaded");
        Check(GlSetting() == g_glSetting, "GDK_GL as the environment set it");
        // Printing's library comes when the program prints.
        Check(!Maps({"libcups"}), "libcups not loaded before printing");
        Check(CString(AfxGetAppName()) == L"Program", "application name from the string table");
        AddDocTemplate(new CSingleDocTemplate(IDR_MAIN, RUNTIME_CLASS(CProgramDoc), RUNTIME_CLASS(CProgramFrame),
                                              RUNTIME_CLASS(CProgramView)));
        CCommandLineInfo info;
        ParseCommandLine(info);
        if (!ProcessShellCommand(info))
            return FALSE;
        m_pMainWnd->ShowWindow(SW_MAXIMIZE);
        m_pMainWnd->ShowWindow(SW_SHOW);
        m_pMainWnd->UpdateWindow();
        return TRUE;
    }
};

CProgramApp theApp;

}  // namespace

int main(int argc, char** argv)
{
    AfxRegisterStrings(kStrings);
    AfxRegisterMenu(IDR_MAIN, kMenu);
    AfxRegisterDialog(IDD_FORM, kForm);
    char dir[] = "/tmp/afx_program_XXXXXX";
    if (!mkdtemp(dir))
        return 2;
    setenv("XDG_CONFIG_HOME", dir, 1);
    setenv("COMPORTS_DIR", dir, 1);
    g_glSetting = GlSetting();
    int code = AfxWinMain(argc, argv);
    if (g_asker.joinable())
        g_asker.join();
    Check(code == 0, "exit code 0 after the frame closed");
    Check(g_ticks >= 20, "the view's timer ran in the message loop");
    Check(g_pings == 1, "a message sent from another thread was handled");
    Check(AfxGetMainWnd() == nullptr, "the main window is gone");
    std::string cmd = std::string("rm -rf ") + dir;
    Check(std::system(cmd.c_str()) == 0, "clean-up");
    std::printf("%s\n", g_failures == 0 ? "program ran and ended" : "program checks failed");
    return g_failures == 0 ? 0 : 1;
}
