#include <wx/evtloop.h>

#include <cstdio>

#include "internal.h"
#include "wxsupport/gl_probe.h"

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
    bool OnInit() override
    {
        // Menus and tool bars are updated through the layer's own command
        // routing, and only frames watch for idle time: wx's update and idle
        // events to every window after each wake-up would only cost time.
        wxUpdateUIEvent::SetMode(wxUPDATE_UI_PROCESS_SPECIFIED);
        wxIdleEvent::SetMode(wxIDLE_PROCESS_SPECIFIED);
        return true;
    }
    int OnExit() override
    {
        afxwin::ShutdownSends();
        return 0;
    }
};

}  // namespace

namespace afxwin {

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
    {
        wxsupport::NoGlProbe noGl;
        if (!wxEntryStart(*pargc, pargv))
            return false;
    }
    // Failed checks of wx and its log go to standard error, never to a box that waits for a click.
    wxSetAssertHandler([](const wxString& file, int line, const wxString& func, const wxString& cond,
                          const wxString& msg) {
        std::fprintf(stderr, "wx check failed: %s:%d %s: %s %s\n", static_cast<const char*>(file.utf8_str()), line,
                     static_cast<const char*>(func.utf8_str()), static_cast<const char*>(cond.utf8_str()),
                     static_cast<const char*>(msg.utf8_str()));
    });
    delete wxLog::SetActiveTarget(new wxLogStderr);
    wxLog::SetLogLevel(wxLOG_Warning);
    // No image file handlers: the programs read and write no image files, and
    // their pictures come decoded from their own resources.
    wxTheApp->CallOnInit();
    afxwin::SetUiThread();
    afxwin::InstallMessageBoxes();
    return true;
}

}  // namespace afxwin

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

int AfxWinMain(int argc, char** argv)
{
    CWinApp* app = AfxGetApp();
    if (!app || !afxwin::StartWx(argc, argv))
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

BOOL AfxOleInit()
{
    return TRUE;
}

void AfxEnableControlContainer() {}

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init)
{
    return init && init->dwSize == sizeof(INITCOMMONCONTROLSEX);
}
