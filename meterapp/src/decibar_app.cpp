#include "meterapp/decibar_app.h"

#include "decibar_resources.h"
#include "meterapp/about_dlg.h"
#include "meterapp/decibar_doc.h"
#include "meterapp/decibar_view.h"
#include "meterapp/main_frame.h"
#include "resource.h"

BEGIN_MESSAGE_MAP(CDecibarApp, CWinApp)
    ON_COMMAND(ID_APP_ABOUT, &CDecibarApp::OnAppAbout)
    ON_COMMAND(ID_FILE_NEW, &CWinApp::OnFileNew)
    ON_COMMAND(ID_FILE_OPEN, &CWinApp::OnFileOpen)
END_MESSAGE_MAP()

CDecibarApp::CDecibarApp()
{
    RegisterDecibarResources();
}

BOOL CDecibarApp::InitInstance()
{
    INITCOMMONCONTROLSEX controls;
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_WIN95_CLASSES;
    InitCommonControlsEx(&controls);

    CWinApp::InitInstance();
    if (!AfxOleInit()) {
        AfxMessageBox(IDS_OLE_INIT_FAILED, MB_OK, 0);
        return FALSE;
    }
    AfxEnableControlContainer();
    SetRegistryKey(L"应用程序向导生成的本地应用程序");
    LoadStdProfileSettings(4);

    CSingleDocTemplate* docTemplate = new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CDecibarDoc),
        RUNTIME_CLASS(CMainFrame), RUNTIME_CLASS(CDecibarView));
    AddDocTemplate(docTemplate);

    CCommandLineInfo cmdInfo;
    ParseCommandLine(cmdInfo);
    if (!ProcessShellCommand(cmdInfo))
        return FALSE;

    m_pMainWnd->ShowWindow(SW_MAXIMIZE);
    m_pMainWnd->ShowWindow(SW_SHOW);
    m_pMainWnd->UpdateWindow();
    return TRUE;
}

void CDecibarApp::OnAppAbout()
{
    CAboutDlg about;
    about.DoModal();
}
