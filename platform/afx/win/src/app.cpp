#include <wx/evtloop.h>

#include <cstdio>

#include "internal.h"

IMPLEMENT_DYNAMIC(CWinApp, CCmdTarget)

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
END_MESSAGE_MAP()

namespace afxwin {
void InstallMessageBoxes();
}

namespace {

CWinApp* g_app = nullptr;

class AfxWxApp : public wxApp {
public:
    bool OnInit() override { return true; }
    int OnExit() override
    {
        afxwin::ShutdownSends();
        return 0;
    }
};

bool StartWx(int argc, char** argv)
{
    if (wxTheApp)
        return true;
    wxApp::SetInstance(new AfxWxApp);
    static int s_argc = 0;
    static char* s_argv[2] = {const_cast<char*>("afx"), nullptr};
    int* pargc = &s_argc;
    char** pargv = s_argv;
    if (argc > 0 && argv) {
        s_argc = argc;
        pargv = argv;
    } else {
        s_argc = 1;
    }
    if (!wxEntryStart(*pargc, pargv))
        return false;
    // Failed checks of wx and its log go to standard error, never to a box that waits for a click.
    wxSetAssertHandler([](const wxString& file, int line, const wxString& func, const wxString& cond,
                          const wxString& msg) {
        std::fprintf(stderr, "wx check failed: %s:%d %s: %s %s\n", static_cast<const char*>(file.utf8_str()), line,
                     static_cast<const char*>(func.utf8_str()), static_cast<const char*>(cond.utf8_str()),
                     static_cast<const char*>(msg.utf8_str()));
    });
    delete wxLog::SetActiveTarget(new wxLogStderr);
    wxLog::SetLogLevel(wxLOG_Warning);
    wxTheApp->CallOnInit();
    wxInitAllImageHandlers();
    afxwin::SetUiThread();
    afxwin::InstallMessageBoxes();
    return true;
}

}  // namespace

CWinApp::CWinApp(LPCTSTR appName)
{
    if (appName) {
        m_appName = appName;
        m_pszAppName = m_appName;
    }
    g_app = this;
}

CWinApp::~CWinApp()
{
    if (g_app == this)
        g_app = nullptr;
}

CWinApp* AfxGetApp()
{
    return g_app;
}

LPCTSTR AfxGetAppName()
{
    if (g_app && g_app->m_pszAppName)
        return g_app->m_pszAppName;
    static CString title;
    title = AfxLoadString(AFX_IDS_APP_TITLE);
    return title;
}

void CWinApp::SetAppNameFromResources()
{
    if (m_appName.IsEmpty())
        m_appName = AfxLoadString(AFX_IDS_APP_TITLE);
    m_pszAppName = m_appName;
}

BOOL CWinApp::InitInstance()
{
    SetAppNameFromResources();
    return TRUE;
}

int CWinApp::ExitInstance()
{
    if (m_nMaxMRU > 0)
        WriteProfileInt(L"Settings", L"PreviewPages", static_cast<int>(m_nNumPreviewPages));
    return 0;
}

int CWinApp::Run()
{
    if (!m_pMainWnd || !m_pMainWnd->m_hWnd)
        return ExitInstance();
    wxTheApp->OnRun();
    return ExitInstance();
}

BOOL CWinApp::OnIdle(LONG)
{
    return FALSE;
}

BOOL CWinApp::OnCmdMsg(UINT nID, int nCode, void* pExtra)
{
    if (CCmdTarget::OnCmdMsg(nID, nCode, pExtra))
        return TRUE;
    for (auto& t : m_templates)
        if (t->OnCmdMsg(nID, nCode, pExtra))
            return TRUE;
    return FALSE;
}

void CWinApp::AddDocTemplate(CDocTemplate* docTemplate)
{
    if (docTemplate)
        m_templates.emplace_back(docTemplate);
}

void CWinApp::ParseCommandLine(CCommandLineInfo& info)
{
    info.m_nShellCommand = CCommandLineInfo::FileNew;
    for (int i = 1; i < m_argc; ++i) {
        const char* arg = m_argv[i];
        if (!arg || arg[0] == '-' || arg[0] == '/')
            continue;
        info.m_strFileName = CString(arg);
        info.m_nShellCommand = CCommandLineInfo::FileOpen;
        break;
    }
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& info)
{
    if (info.m_nShellCommand == CCommandLineInfo::FileNothing)
        return TRUE;
    if (info.m_nShellCommand == CCommandLineInfo::FileOpen)
        return OpenDocumentFile(info.m_strFileName) != nullptr;
    OnFileNew();
    return m_pMainWnd != nullptr;
}

CDocument* CWinApp::OpenDocumentFile(LPCTSTR path)
{
    CDocTemplate* t = GetFirstTemplate();
    return t ? t->OpenDocumentFile(path) : nullptr;
}

void CWinApp::OnFileNew()
{
    if (CDocTemplate* t = GetFirstTemplate())
        t->OpenDocumentFile(nullptr);
}

void CWinApp::OnFileOpen()
{
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, L"All Files (*.*)|*.*||");
    dialog.m_ofn.lpstrTitle = L"Open";
    if (dialog.DoModal() != IDOK)
        return;
    OpenDocumentFile(dialog.GetPathName());
}

void CWinApp::OnAppExit()
{
    if (m_pMainWnd)
        m_pMainWnd->SendMessage(WM_CLOSE);
}

void CWinApp::BeginWaitCursor()
{
    afxwin::WaitCursor(1);
}

void CWinApp::EndWaitCursor()
{
    afxwin::WaitCursor(-1);
}

HICON CWinApp::LoadIcon(UINT id) const
{
    AfxImage image;
    return AfxFindImage(AfxImageKind::Icon, id, &image) ? reinterpret_cast<HICON>(static_cast<uintptr_t>(id)) : nullptr;
}

int AfxWinMain(int argc, char** argv)
{
    CWinApp* app = AfxGetApp();
    if (!app || !StartWx(argc, argv))
        return 1;
    app->m_argc = argc;
    app->m_argv = argv;
    app->SetAppNameFromResources();
    int code = 0;
    if (app->InitInstance())
        code = app->Run();
    else
        code = app->ExitInstance();
    afxwin::ShutdownSends();
    wxEntryCleanup();
    return code;
}

void AfxTestInitialize()
{
    if (!StartWx(0, nullptr))
        return;
    if (!wxEventLoopBase::GetActive()) {
        static wxGUIEventLoop* loop = new wxGUIEventLoop;
        wxEventLoopBase::SetActive(loop);
    }
}

BOOL AfxOleInit()
{
    return TRUE;
}

void AfxEnableControlContainer() {}

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init)
{
    return init && init->dwSize == sizeof(INITCOMMONCONTROLSEX);
}

// ThreadSanitizer knows nothing of the locks inside GLib, GTK, Pango, Cairo
// and fontconfig, which are not built with it; their internal threads would
// otherwise be reported as racing with the user-interface thread. Programs
// that link the window layer get these suppressions by default.
extern "C" const char* __tsan_default_suppressions()
{
    // A library is named by the end of its path; the other kinds match parts of names.
    return
           "called_from_lib:/libgtk-3.so.0\n"
           "called_from_lib:/libgdk-3.so.0\n"
           "called_from_lib:/libpangocairo-1.0.so.0\n"
           "called_from_lib:/libpango-1.0.so.0\n"
           "called_from_lib:/libcairo.so.2\n"
           "called_from_lib:/libgdk_pixbuf-2.0.so.0\n"
           "called_from_lib:/libgio-2.0.so.0\n"
           "called_from_lib:/libgobject-2.0.so.0\n"
           "called_from_lib:/libglib-2.0.so.0\n"
           "called_from_lib:/libX11.so.6\n"
           "called_from_lib:/libXtst.so.6\n"
           "called_from_lib:/libpangoft2-1.0.so.0\n"
           "called_from_lib:/libfontconfig.so.1\n"
           "called_from_lib:/libgmodule-2.0.so.0\n"
           "called_from_lib:/libharfbuzz.so.0\n"
           "called_from_lib:/libcairo-gobject.so.2\n"
           "called_from_lib:/libatk-1.0.so.0\n"
           "called_from_lib:/libepoxy.so.0\n"
           "called_from_lib:/libXi.so.6\n"
           "called_from_lib:/libatk-bridge-2.0.so.0\n"
           "called_from_lib:/libXfixes.so.3\n"
           "called_from_lib:/libxkbcommon.so.0\n"
           "called_from_lib:/libXext.so.6\n"
           "called_from_lib:/libXcursor.so.1\n"
           "called_from_lib:/libXrandr.so.2\n"
           "called_from_lib:/libXinerama.so.1\n"
           "called_from_lib:/libpixman-1.so.0\n"
           "called_from_lib:/libfreetype.so.6\n"
           "called_from_lib:/libxcb.so.1\n"
           "called_from_lib:/libXrender.so.1\n"
           "called_from_lib:/libdbus-1.so.3\n"
           "race:libglib-2.0\n"
           "race:libgio-2.0\n"
           "race:libgobject-2.0\n"
           "race:libfontconfig\n"
           "race:libpango\n"
           "race:libcairo\n"
           "race:libgtk-3\n"
           "race:libgdk\n"
           "race:libX\n"
           "race:libwx_gtk3u\n"
           "race:libwx_baseu\n"
           "mutex:libgdk\n"
           "mutex:libglib-2.0\n"
           "mutex:libgtk-3\n"
           "mutex:libX\n"
           "mutex:libGL\n"
           "mutex:libwx_gtk3u\n"
           "mutex:libwx_baseu\n"
           "mutex:libgobject\n"
           "mutex:libgio\n"
           "mutex:libpango\n"
           "mutex:libcairo\n"
           "mutex:libfontconfig\n"
           "mutex:libEGL\n"
           "race:libGL\n"
           "mutex:libxcb\n"
           "deadlock:libglib-2.0\n"
           "deadlock:libgtk-3\n";
}

// Memory the GUI libraries keep for the life of the process.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libdbus-1.so\n"
           "leak:libfontconfig.so\n"
           "leak:libgtk-3.so\n"
           "leak:libgdk-3.so\n"
           "leak:libglib-2.0.so\n"
           "leak:libgobject-2.0.so\n"
           "leak:libgio-2.0.so\n"
           "leak:libpango\n"
           "leak:libcairo.so\n"
           "leak:libX11.so\n"
           "leak:libatk\n";
}
