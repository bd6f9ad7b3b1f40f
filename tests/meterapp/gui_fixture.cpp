#include "gui_fixture.h"

#include "resource.h"
#include "afx/win_codes.h"

#include <gtest/gtest.h>

#include <filesystem>

void PrintTo(const CString& text, std::ostream* os)
{
    *os << '"';
    for (int i = 0; i < text.GetLength(); ++i) {
        const wchar_t c = text[i];
        if (c == L'\t')
            *os << "\\t";
        else if (c < 0x80)
            *os << static_cast<char>(c);
        else
            *os << "\\u" << std::hex << static_cast<unsigned>(c) << std::dec;
    }
    *os << '"';
}

namespace {

CDecibarApp& App()
{
    static CDecibarApp app;
    return app;
}

} // namespace

namespace {

int g_privatePorts = 0;

} // namespace

PrivatePorts::PrivatePorts()
    : m_ports(m_tmp.path() + "/ports")
    , m_sysfs(m_tmp.path() + "/sys")
    , m_portsEnv("COMPORTS_DIR", m_ports)
    , m_tree(m_sysfs, m_tmp.path() + "/dev")
{
    std::filesystem::create_directories(m_ports);
    std::filesystem::create_directories(m_sysfs + "/class/tty");
    std::filesystem::create_directories(m_sysfs + "/devices");
    ++g_privatePorts;
}

PrivatePorts::~PrivatePorts()
{
    --g_privatePorts;
}

bool PrivatePorts::Active()
{
    return g_privatePorts > 0;
}

DecibarInstance::DecibarInstance()
{
    if (!PrivatePorts::Active())
        m_ownPorts = std::make_unique<PrivatePorts>();
    AfxTestInitialize();
    AfxTestSetModalAnswerer([this](const AfxModalRequest& request) {
        modal.requests.push_back(request);
        if (request.kind == AfxModalRequest::MessageBox)
            return modal.messageBoxAnswer;
        return modal.dialogAnswer;
    });
    CDecibarApp& app = App();
    if (!AfxTestHasDocTemplate(app)) {
        EXPECT_TRUE(app.InitInstance());
    } else {
        // A later instance in the same process: the template is registered,
        // so the framework's New brings up a new frame and view. The layer
        // keeps the document of a closed frame; drop it first.
        AfxTestDropClosedDocument(app);
        app.OnFileNew();
        app.m_pMainWnd->ShowWindow(SW_MAXIMIZE);
        app.m_pMainWnd->ShowWindow(SW_SHOW);
        app.m_pMainWnd->UpdateWindow();
    }
    AfxTestPumpUntil([] { return AfxGetMainWnd() && AfxGetMainWnd()->IsWindowVisible(); });
    AfxTestPump();
}

DecibarInstance::~DecibarInstance()
{
    if (Running()) {
        modal.messageBoxAnswer = IDNO;
        Frame()->SendMessage(WM_CLOSE);
        AfxTestPumpUntil([this] { return !Running(); });
    }
    AfxTestSetModalAnswerer({});
}

CMainFrame* DecibarInstance::Frame() const
{
    return static_cast<CMainFrame*>(App().m_pMainWnd);
}

CDecibarView* DecibarInstance::View() const
{
    return g_pView;
}

bool DecibarInstance::Running() const
{
    return App().m_pMainWnd && App().m_pMainWnd->GetSafeHwnd() && AfxTestIsWindow(App().m_pMainWnd->GetSafeHwnd());
}

void DecibarInstance::Command(UINT id)
{
    Frame()->SendMessage(WM_COMMAND, id, 0);
    AfxTestPump();
}

bool DecibarInstance::SetViewClientSize(int width, int height)
{
    CMainFrame* frame = Frame();
    frame->ShowWindow(SW_RESTORE);
    AfxTestPump();
    for (int attempt = 0; attempt < 5; ++attempt) {
        CRect client;
        View()->GetClientRect(&client);
        if (client.Width() == width && client.Height() == height)
            return true;
        CRect outer;
        frame->GetWindowRect(&outer);
        frame->SetWindowPos(nullptr, 0, 0, outer.Width() + width - client.Width(),
            outer.Height() + height - client.Height(), SWP_NOZORDER | SWP_NOMOVE);
        AfxTestPumpUntil([&] {
            CRect now;
            View()->GetClientRect(&now);
            return now.Width() == width && now.Height() == height;
        }, 2000);
    }
    CRect client;
    View()->GetClientRect(&client);
    return client.Width() == width && client.Height() == height;
}

CRect ControlRect(CDecibarView* view, int id)
{
    CRect rect;
    view->GetDlgItem(id)->GetWindowRect(&rect);
    view->ScreenToClient(&rect);
    return rect;
}

CGraphicsBtn& GraphOf(CDecibarView* view)
{
    return ControlOf<CGraphicsBtn>(view, IDC_GRAPH);
}

CScrollBar& ScrollBarOf(CDecibarView* view, int id)
{
    return ControlOf<CScrollBar>(view, id);
}

bool Grayed(CMainFrame* frame, UINT id)
{
    return (AfxTestMenuState(AfxTestMenuBar(frame), id, MF_BYCOMMAND) & MF_GRAYED) != 0;
}

bool Checked(CMainFrame* frame, UINT id)
{
    return (AfxTestMenuState(AfxTestMenuBar(frame), id, MF_BYCOMMAND) & MF_CHECKED) != 0;
}
