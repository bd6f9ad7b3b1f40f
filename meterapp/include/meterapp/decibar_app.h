// The application object: start-up of Decibar and the About command.
#pragma once

#include <afx/afxwin.h>

class CDecibarApp : public CWinApp {
public:
    // No application name: the framework takes it from string 57344, "Decibar".
    CDecibarApp();
    ~CDecibarApp() override = default;

    // Brings up the document, the main frame and the view, maximised. FALSE
    // ends the program (OLE or the command line failing).
    BOOL InitInstance() override;

protected:
    void OnAppAbout();

    DECLARE_MESSAGE_MAP()
};
