#include "forms/application.h"
#include "win32/text.h"

#include "forms/msgbox.h"
#include "wxsupport/gl_probe.h"
#include "forms/internal.h"

#include <exception>

namespace forms {

bool Application::Initialize(int& argc, wxChar** argv)
{
    // The toolkit opens the display here.
    wxsupport::NoGlProbe noGl;
    return wxApp::Initialize(argc, argv);
}

bool Application::OnInit()
{
    InstallMessageBoxHandler();
    try {
        m_startupForm = CreateStartupForm();
    } catch (const std::exception& error) {
        MsgBox(nullptr, error.what(), MB_OK | MB_ICONERROR, win32::Utf8FromWide(GetAppDisplayName().wc_str()));
        return false;
    }
    m_startupForm->Show();
    return true;
}

int Application::OnExit()
{
    m_startupForm.reset();
    return wxApp::OnExit();
}

}  // namespace forms
