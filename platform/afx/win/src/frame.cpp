#include <wx/toolbar.h>

#include "internal.h"
#include "resource_store.h"
#include "win32/device_watcher.h"

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_CLOSE()
    ON_WM_SIZE()
END_MESSAGE_MAP()

// What a frame keeps beside its members: the device watcher that brings it WM_DEVICECHANGE.
class AfxFrameExtras {
public:
    win32::DeviceWatcher watcher;
};

namespace afxwin {
wxMenuItem* MakeCheckable(wxMenuItem* item);
}

namespace {

CString Prompt(UINT id)
{
    CString text = AfxLoadString(id);
    int nl = text.Find(L'\n');
    return nl >= 0 ? text.Left(nl) : text;
}

CString ToolTip(UINT id)
{
    CString text = AfxLoadString(id);
    int nl = text.Find(L'\n');
    return nl >= 0 ? text.Mid(nl + 1) : CString();
}

CString IdleText()
{
    CString text = AfxLoadString(AFX_IDS_IDLEMESSAGE);
    return text.IsEmpty() ? CString(L"Ready") : text;
}

}  // namespace

wxMenuBar* afxwin::BuildMenuBar(const std::vector<AfxMenuEntry>& entries, std::vector<UINT>& barCommands)
{
    if (entries.empty())
        return nullptr;
    auto* bar = new wxMenuBar;
    std::vector<wxMenu*> stack;
    std::vector<wxString> titles;
    for (const AfxMenuEntry& e : entries) {
        switch (e.kind) {
        case AfxMenuKind::Popup:
            stack.push_back(new wxMenu);
            titles.push_back(afxwin::MenuLabel(e.text));
            break;
        case AfxMenuKind::EndPopup: {
            if (stack.empty())
                break;
            wxMenu* menu = stack.back();
            wxString title = titles.back();
            stack.pop_back();
            titles.pop_back();
            if (stack.empty()) {
                bar->Append(menu, title);
                barCommands.push_back(0);
            } else
                stack.back()->AppendSubMenu(menu, title);
            break;
        }
        case AfxMenuKind::Separator:
            if (!stack.empty())
                stack.back()->AppendSeparator();
            break;
        case AfxMenuKind::Item:
            if (!stack.empty()) {
                stack.back()->Append(afxwin::WxCommandId(e.id), afxwin::MenuLabel(e.text), Prompt(e.id).GetString());
            } else {
                // A command on the bar itself: an empty drop-down whose opening is the command.
                bar->Append(new wxMenu, afxwin::MenuLabel(e.text));
                barCommands.push_back(e.id);
            }
            break;
        }
    }
    while (!stack.empty()) {
        barCommands.push_back(0);
        bar->Append(stack.back(), titles.back());
        stack.pop_back();
        titles.pop_back();
    }
    return bar;
}

namespace {

int WxKey(WORD vk)
{
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9'))
        return vk;
    if (vk >= VK_F1 && vk <= VK_F12)
        return WXK_F1 + (vk - VK_F1);
    switch (vk) {
    case VK_BACK: return WXK_BACK;
    case VK_TAB: return WXK_TAB;
    case VK_RETURN: return WXK_RETURN;
    case VK_ESCAPE: return WXK_ESCAPE;
    case VK_SPACE: return WXK_SPACE;
    case VK_INSERT: return WXK_INSERT;
    case VK_DELETE: return WXK_DELETE;
    case VK_HOME: return WXK_HOME;
    case VK_END: return WXK_END;
    case VK_PRIOR: return WXK_PAGEUP;
    case VK_NEXT: return WXK_PAGEDOWN;
    case VK_LEFT: return WXK_LEFT;
    case VK_RIGHT: return WXK_RIGHT;
    case VK_UP: return WXK_UP;
    case VK_DOWN: return WXK_DOWN;
    default: return 0;
    }
}

}  // namespace

void afxwin::Internals::ApplyUpdate(wxMenuItem* item, const CCmdUI& ui)
{
    if (ui.m_enabled >= 0)
        item->Enable(ui.m_enabled == 1);
    if (ui.m_checked >= 0) {
        item = afxwin::MakeCheckable(item);
        afxwin::SetRadioMark(item, ui.m_radio);
        item->Check(ui.m_checked != 0);
    }
    if (ui.m_text)
        item->SetItemLabel(afxwin::ToWx(ui.m_text));
}

namespace afxwin {

CString CommandPrompt(UINT id)
{
    return Prompt(id);
}

CString CommandToolTip(UINT id)
{
    return ToolTip(id);
}

void Internals::UpdateCommandUI(CFrameWnd* frame, UINT id, CCmdUI& ui)
{
    ui.m_nID = id;
    ui.DoUpdate(frame, frame->m_bAutoMenuEnable);
}

}  // namespace afxwin

CFrameWnd::CFrameWnd() = default;

CFrameWnd::~CFrameWnd()
{
    if (m_extras)
        m_extras->watcher.Stop();
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT&)
{
    return TRUE;
}

BOOL CFrameWnd::LoadFrame(UINT id, DWORD style, CWnd* parent, void* context)
{
    return afxwin::OnUi([&]() -> BOOL {
        CREATESTRUCT cs{};
        cs.style = static_cast<LONG>(style);
        cs.lpCreateParams = context;
        if (!PreCreateWindow(cs))
            return FALSE;
        wxFrame* frame = CreateFrameWindow(id, cs, parent);
        LoadMenuAndAccelerators(frame, id);
        LoadFrameIcon(frame, id);
        RouteFrameEvents(frame);

        const HWND hwnd = m_hWnd;
        if (::SendMessage(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
            if (afxwin::IsLive(hwnd))
                DestroyWindow();
            return FALSE;
        }
        if (!afxwin::IsLive(hwnd))
            return FALSE;
        StartDeviceWatch();
        UpdateFrameTitle();
        SetMessageText(IdleText());
        return TRUE;
    });
}

// The title is the first part of string `id`, else the application's name.
wxFrame* CFrameWnd::CreateFrameWindow(UINT id, const CREATESTRUCT& cs, CWnd* parent)
{
    m_nResourceId = id;
    CString doc = AfxLoadString(id);
    int nl = doc.Find(L'\n');
    m_strTitle = nl >= 0 ? doc.Left(nl) : doc;
    if (m_strTitle.IsEmpty())
        m_strTitle = AfxGetAppName();

    wxWindow* parentWx = parent ? afxwin::Internals::Wx(parent) : nullptr;
    auto* frame = new wxFrame(parentWx, wxID_ANY, afxwin::ToWx(m_strTitle), wxDefaultPosition, wxSize(1024, 768));
    afxwin::KeepDefaultAttributes(frame);
    AfxWindowImpl* impl = afxwin::Register(frame, this);
    afxwin::KeepShownStateTrue(frame);
    impl->style = static_cast<DWORD>(cs.style);
    return frame;
}

void CFrameWnd::LoadMenuAndAccelerators(wxFrame* frame, UINT id)
{
    std::vector<UINT> barCommands;
    if (wxMenuBar* bar = afxwin::BuildMenuBar(afxwin::FindMenu(id), barCommands)) {
        frame->SetMenuBar(bar);
        m_menuBar = std::make_unique<CMenu>();
        m_menuBar->m_wxBar = bar;
        m_menuBar->m_barCommands = barCommands;
    }
    std::vector<wxAcceleratorEntry> entries;
    for (const AfxAccelEntry& a : afxwin::FindAccelerators(id)) {
        int key = (a.flags & FVIRTKEY) ? WxKey(a.key) : a.key;
        if (key == 0)
            continue;
        int flags = ((a.flags & FCONTROL) ? wxACCEL_CTRL : 0) | ((a.flags & FSHIFT) ? wxACCEL_SHIFT : 0) |
                    ((a.flags & FALT) ? wxACCEL_ALT : 0);
        entries.emplace_back(flags, key, afxwin::WxCommandId(a.command));
    }
    if (!entries.empty())
        frame->SetAcceleratorTable(wxAcceleratorTable(static_cast<int>(entries.size()), entries.data()));
}

void CFrameWnd::LoadFrameIcon(wxFrame* frame, UINT id)
{
    wxBitmap icon = afxwin::ImageBitmap(AfxImageKind::Icon, id);
    if (icon.IsOk()) {
        wxIcon wxi;
        wxi.CopyFromBitmap(icon);
        frame->SetIcon(wxi);
    }
}

// Menu choices, menus opening and closing, closing, sizing and idle time
// reach the frame as the messages and calls a Windows frame gets.
void CFrameWnd::RouteFrameEvents(wxFrame* frame)
{
    const HWND hwnd = m_hWnd;
    frame->Bind(wxEVT_MENU, [hwnd](wxCommandEvent& e) {
        UINT command = afxwin::CommandFromWx(e.GetId());
        if (command != 0)
            ::SendMessage(hwnd, WM_COMMAND, MAKEWPARAM(command, 0), 0);
    });
    frame->Bind(wxEVT_MENU_OPEN, [this, hwnd](wxMenuEvent& e) {
        if (!afxwin::IsLive(hwnd) || !e.GetMenu())
            return;
        UINT command = BarCommandOf(e.GetMenu());
        if (command == 0) {
            UpdateMenu(e.GetMenu());
            return;
        }
        // Closed once GTK has finished opening it.
        afxwin::RunSoon([this, hwnd] {
            if (afxwin::IsLive(hwnd) && m_menuBar)
                afxwin::CloseMenuBar(static_cast<wxMenuBar*>(m_menuBar->m_wxBar));
        });
        ::PostMessage(hwnd, WM_COMMAND, MAKEWPARAM(command, 0), 0);
    });
    frame->Bind(wxEVT_MENU_HIGHLIGHT, [this, hwnd](wxMenuEvent& e) {
        UINT command = afxwin::CommandFromWx(e.GetMenuId());
        if (afxwin::IsLive(hwnd) && command != 0)
            SetMessageText(Prompt(command));
    });
    frame->Bind(wxEVT_MENU_CLOSE, [this, hwnd](wxMenuEvent&) {
        if (afxwin::IsLive(hwnd))
            SetMessageText(IdleText());
    });
    frame->Bind(wxEVT_CLOSE_WINDOW, [hwnd](wxCloseEvent& e) {
        if (!afxwin::IsLive(hwnd)) {
            e.Skip();
            return;
        }
        ::SendMessage(hwnd, WM_CLOSE, 0, 0);
        if (afxwin::IsLive(hwnd) && !e.CanVeto()) {
            if (CWnd* wnd = CWnd::FromHandle(hwnd))
                wnd->DestroyWindow();
        } else if (afxwin::IsLive(hwnd)) {
            e.Veto();
        }
    });
    frame->Bind(wxEVT_SIZE, [frame, hwnd](wxSizeEvent& e) {
        wxSize s = frame->GetClientSize();
        ::SendMessage(hwnd, WM_SIZE, frame->IsMaximized() ? SIZE_MAXIMIZED : SIZE_RESTORED, MAKELPARAM(s.x, s.y));
        e.Skip();
    });
    frame->SetExtraStyle(frame->GetExtraStyle() | wxWS_EX_PROCESS_IDLE);
    frame->Bind(wxEVT_IDLE, [this, hwnd](wxIdleEvent& e) {
        if (afxwin::IsLive(hwnd))
            OnIdleUpdate();
        e.Skip();
    });
}

// WM_DEVICECHANGE arrives on the user-interface thread for every change the
// watcher sees.
void CFrameWnd::StartDeviceWatch()
{
    const HWND hwnd = m_hWnd;
    m_extras = std::make_unique<AfxFrameExtras>();
    m_extras->watcher.Start([hwnd](UINT event) { ::PostMessage(hwnd, WM_DEVICECHANGE, event, 0); });
}

int CFrameWnd::OnCreate(LPCREATESTRUCT cs)
{
    auto* context = cs ? static_cast<CCreateContext*>(cs->lpCreateParams) : nullptr;
    if (context && context->m_pNewViewClass) {
        CObject* object = context->m_pNewViewClass->CreateObject();
        auto* view = dynamic_cast<CView*>(object);
        if (!view) {
            delete object;
            return -1;
        }
        if (context->m_pCurrentDoc)
            context->m_pCurrentDoc->AddView(view);
        if (!view->CreateView(this, AFX_IDW_PANE_FIRST))
            return -1;
        SetActiveView(view);
    }
    return 0;
}

void CFrameWnd::OnClose()
{
    CDocument* doc = GetActiveDocument();
    if (doc && !doc->SaveModified())
        return;
    DestroyWindow();
}

void CFrameWnd::OnSize(UINT, int, int)
{
    RecalcLayout();
}

BOOL CFrameWnd::DestroyWindow()
{
    if (m_extras)
        m_extras->watcher.Stop();
    return CWnd::DestroyWindow();
}

void CFrameWnd::PostNcDestroy()
{
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == this)
        app->m_pMainWnd = nullptr;
    delete this;
}

CDocument* CFrameWnd::GetActiveDocument() const
{
    return m_pViewActive ? m_pViewActive->GetDocument() : nullptr;
}

void CFrameWnd::RecalcLayout(BOOL)
{
    if (auto* frame = dynamic_cast<wxFrame*>(afxwin::Internals::Wx(this))) {
        if (m_pViewActive && afxwin::Internals::Wx(m_pViewActive)) {
            wxSize s = frame->GetClientSize();
            afxwin::Internals::Wx(m_pViewActive)->SetSize(0, 0, s.x, s.y);
        }
    }
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra)
{
    if (m_pViewActive && m_pViewActive->OnCmdMsg(nID, nCode, pExtra))
        return TRUE;
    if (CWnd::OnCmdMsg(nID, nCode, pExtra))
        return TRUE;
    // The framework's own bar commands.
    if (nID == ID_VIEW_TOOLBAR || nID == ID_VIEW_STATUS_BAR) {
        CControlBar* bar = nID == ID_VIEW_TOOLBAR ? static_cast<CControlBar*>(m_toolBar) : m_statusBar;
        if (!bar || !bar->m_hWnd)
            return FALSE;
        if (pExtra == afxwin::kHandlerProbe)
            return TRUE;
        if (static_cast<UINT>(nCode) == CN_UPDATE_COMMAND_UI) {
            static_cast<CCmdUI*>(pExtra)->SetCheck(bar->IsWindowVisible());
            return TRUE;
        }
        if (nCode == static_cast<int>(CN_COMMAND)) {
            ShowControlBar(bar, !afxwin::Internals::Wx(bar)->IsShown(), FALSE);
            return TRUE;
        }
    }
    if (nID == ID_APP_EXIT && nCode == static_cast<int>(CN_COMMAND)) {
        if (pExtra != afxwin::kHandlerProbe)
            PostMessage(WM_CLOSE);
        return TRUE;
    }
    CWinApp* app = AfxGetApp();
    return app && app->OnCmdMsg(nID, nCode, pExtra);
}

void CFrameWnd::ShowControlBar(CControlBar* bar, BOOL show, BOOL)
{
    if (!bar || !afxwin::Internals::Wx(bar))
        return;
    afxwin::Internals::Wx(bar)->Show(show != FALSE);
    if (auto* frame = dynamic_cast<wxFrame*>(afxwin::Internals::Wx(this)))
        frame->SendSizeEvent();
}

void CFrameWnd::SetMessageText(LPCTSTR text)
{
    if (m_statusBar)
        m_statusBar->SetPaneText(0, text);
}

void CFrameWnd::SetMessageText(UINT id)
{
    SetMessageText(Prompt(id));
}

void CFrameWnd::SetTitle(LPCTSTR title)
{
    m_strTitle = title;
    UpdateFrameTitle();
}

void CFrameWnd::UpdateFrameTitle()
{
    CString title = m_strTitle;
    AfxWindowImpl* impl = afxwin::Lookup(m_hWnd);
    CDocument* doc = GetActiveDocument();
    if (impl && (impl->style & FWS_ADDTOTITLE) && doc) {
        CString name = doc->GetTitle();
        if (name.IsEmpty())
            name = L"Untitled";
        title = (impl->style & FWS_PREFIXTITLE) ? name + L" - " + m_strTitle : m_strTitle + L" - " + name;
    }
    if (auto* frame = dynamic_cast<wxFrame*>(afxwin::Internals::Wx(this)))
        frame->SetTitle(afxwin::ToWx(title));
}

void CFrameWnd::ActivateFrame(int cmdShow)
{
    ShowWindow(cmdShow < 0 ? SW_SHOW : cmdShow);
}

void CFrameWnd::InitialUpdateFrame(CDocument*, BOOL makeVisible)
{
    HWND hwnd = m_hWnd;
    if (m_pViewActive) {
        HWND view = m_pViewActive->m_hWnd;
        m_pViewActive->OnInitialUpdate();
        if (CWnd* v = CWnd::FromHandle(view))
            afxwin::ApplyControlColours(v);
    }
    if (!afxwin::IsLive(hwnd))
        return;
    UpdateFrameTitle();
    if (makeVisible)
        ActivateFrame();
}

void CFrameWnd::UpdateMenu(wxMenu* menu)
{
    for (size_t pos = 0; pos < menu->GetMenuItemCount(); ++pos) {
        wxMenuItem* item = menu->FindItemByPosition(pos);
        if (!item || item->IsSeparator() || item->IsSubMenu())
            continue;
        CCmdUI ui;
        ui.m_nIndex = static_cast<UINT>(pos);
        ui.m_pMenu = nullptr;
        afxwin::UpdateCommandUI(this, afxwin::CommandFromWx(item->GetId()), ui);
        afxwin::Internals::ApplyUpdate(item, ui);
        if (!afxwin::IsLive(afxwin::ToHwnd(afxwin::Internals::Wx(this))))
            return;
    }
}

UINT CFrameWnd::BarCommandOf(wxMenu* menu) const
{
    if (!m_menuBar)
        return 0;
    auto* bar = static_cast<wxMenuBar*>(m_menuBar->m_wxBar);
    for (size_t pos = 0; pos < bar->GetMenuCount() && pos < m_menuBar->m_barCommands.size(); ++pos)
        if (bar->GetMenu(pos) == menu)
            return m_menuBar->m_barCommands[pos];
    return 0;
}

void CFrameWnd::UpdateMenuPopup(int barPosition)
{
    if (!m_menuBar)
        return;
    auto* bar = static_cast<wxMenuBar*>(m_menuBar->m_wxBar);
    if (barPosition < 0 || barPosition >= static_cast<int>(bar->GetMenuCount()))
        return;
    UpdateMenu(bar->GetMenu(static_cast<size_t>(barPosition)));
}

void CFrameWnd::OnIdleUpdate()
{
    if (m_toolBar && m_toolBar->m_hWnd)
        m_toolBar->UpdateButtons();
}

