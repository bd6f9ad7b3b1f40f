#include <wx/toolbar.h>

#include "internal.h"
#include "resource_store.h"
#include "win32/devicewatch.h"

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)
IMPLEMENT_DYNAMIC(CControlBar, CWnd)
IMPLEMENT_DYNAMIC(CToolBar, CControlBar)
IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)

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

wxMenuBar* BuildMenuBar(const std::vector<AfxMenuEntry>& entries)
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
            if (stack.empty())
                bar->Append(menu, title);
            else
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
                // A command on the bar itself: a drop-down holding that one command.
                auto* menu = new wxMenu;
                wxString label = afxwin::MenuLabel(e.text);
                menu->Append(afxwin::WxCommandId(e.id), wxMenuItem::GetLabelText(label), Prompt(e.id).GetString());
                bar->Append(menu, label);
            }
            break;
        }
    }
    while (!stack.empty()) {
        bar->Append(stack.back(), titles.back());
        stack.pop_back();
        titles.pop_back();
    }
    return bar;
}

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

void ApplyUpdate(wxMenuItem* item, const CCmdUI& ui)
{
    if (ui.m_enabled >= 0)
        item->Enable(ui.m_enabled == 1);
    if (ui.m_checked >= 0) {
        item = afxwin::MakeCheckable(item);
        item->Check(ui.m_checked != 0);
    }
    if (ui.m_text)
        item->SetItemLabel(afxwin::ToWx(ui.m_text));
}

}  // namespace

namespace afxwin {

void UpdateCommandUI(CFrameWnd* frame, UINT id, CCmdUI& ui)
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
    afxwin::EnsureUiThread("LoadFrame");
    CREATESTRUCT cs{};
    cs.style = static_cast<LONG>(style);
    cs.lpCreateParams = context;
    if (!PreCreateWindow(cs))
        return FALSE;
    m_nResourceId = id;
    CString doc = AfxLoadString(id);
    int nl = doc.Find(L'\n');
    m_strTitle = nl >= 0 ? doc.Left(nl) : doc;
    if (m_strTitle.IsEmpty())
        m_strTitle = AfxGetAppName();

    wxWindow* parentWx = parent ? parent->GetWx() : nullptr;
    auto* frame = new wxFrame(parentWx, wxID_ANY, afxwin::ToWx(m_strTitle), wxDefaultPosition, wxSize(1024, 768));
    AfxWindowImpl* impl = afxwin::Register(frame, this);
    impl->style = static_cast<DWORD>(cs.style);
    HWND hwnd = m_hWnd;

    if (wxMenuBar* bar = BuildMenuBar(afxwin::FindMenu(id))) {
        frame->SetMenuBar(bar);
        m_menuBar = std::make_unique<CMenu>();
        m_menuBar->m_wxBar = bar;
    }
    std::vector<AfxAccelEntry> accels = afxwin::FindAccelerators(id);
    if (!accels.empty()) {
        std::vector<wxAcceleratorEntry> entries;
        for (const AfxAccelEntry& a : accels) {
            int key = (a.flags & FVIRTKEY) ? WxKey(a.key) : a.key;
            if (key == 0)
                continue;
            int flags = ((a.flags & FCONTROL) ? wxACCEL_CTRL : 0) | ((a.flags & FSHIFT) ? wxACCEL_SHIFT : 0) |
                        ((a.flags & FALT) ? wxACCEL_ALT : 0);
            entries.emplace_back(flags, key, afxwin::WxCommandId(a.command));
        }
        frame->SetAcceleratorTable(wxAcceleratorTable(static_cast<int>(entries.size()), entries.data()));
    }
    wxBitmap icon = afxwin::ImageBitmap(AfxImageKind::Icon, id);
    if (icon.IsOk()) {
        wxIcon wxi;
        wxi.CopyFromBitmap(icon);
        frame->SetIcon(wxi);
    }

    frame->Bind(wxEVT_MENU, [hwnd](wxCommandEvent& e) {
        UINT command = afxwin::CommandFromWx(e.GetId());
        if (command != 0)
            ::SendMessage(hwnd, WM_COMMAND, MAKEWPARAM(command, 0), 0);
    });
    frame->Bind(wxEVT_MENU_OPEN, [this, hwnd](wxMenuEvent& e) {
        if (afxwin::IsLive(hwnd) && e.GetMenu())
            UpdateMenu(e.GetMenu());
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
    frame->Bind(wxEVT_CLOSE_WINDOW, [frame, hwnd](wxCloseEvent& e) {
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
        (void)frame;
    });
    frame->Bind(wxEVT_SIZE, [frame, hwnd](wxSizeEvent& e) {
        wxSize s = frame->GetClientSize();
        ::SendMessage(hwnd, WM_SIZE, frame->IsMaximized() ? SIZE_MAXIMIZED : SIZE_RESTORED, MAKELPARAM(s.x, s.y));
        e.Skip();
    });
    frame->Bind(wxEVT_IDLE, [this, hwnd](wxIdleEvent& e) {
        if (afxwin::IsLive(hwnd))
            OnIdleUpdate();
        e.Skip();
    });

    if (::SendMessage(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        if (afxwin::IsLive(hwnd))
            DestroyWindow();
        return FALSE;
    }
    if (!afxwin::IsLive(hwnd))
        return FALSE;
    // WM_DEVICECHANGE arrives on the user-interface thread for every change the watcher sees.
    m_extras = std::make_unique<AfxFrameExtras>();
    m_extras->watcher.Start([hwnd](UINT event) { ::PostMessage(hwnd, WM_DEVICECHANGE, event, 0); });
    UpdateFrameTitle();
    SetMessageText(IdleText());
    return TRUE;
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
    if (auto* frame = dynamic_cast<wxFrame*>(GetWx())) {
        if (m_pViewActive && m_pViewActive->GetWx()) {
            wxSize s = frame->GetClientSize();
            m_pViewActive->GetWx()->SetSize(0, 0, s.x, s.y);
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
            ShowControlBar(bar, !bar->GetWx()->IsShown(), FALSE);
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
    if (!bar || !bar->GetWx())
        return;
    bar->GetWx()->Show(show != FALSE);
    if (auto* frame = dynamic_cast<wxFrame*>(GetWx()))
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
    if (auto* frame = dynamic_cast<wxFrame*>(GetWx()))
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
        ApplyUpdate(item, ui);
        if (!afxwin::IsLive(afxwin::ToHwnd(GetWx())))
            return;
    }
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
    if (m_statusBar && m_statusBar->m_hWnd)
        m_statusBar->UpdateIndicators();
}

// ---- tool bar ----

BOOL CToolBar::CreateEx(CWnd* parent, DWORD, DWORD style, CRect, UINT id)
{
    auto* frame = parent ? dynamic_cast<wxFrame*>(parent->GetWx()) : nullptr;
    if (!frame || m_hWnd)
        return FALSE;
    wxToolBar* bar = frame->CreateToolBar(wxTB_HORIZONTAL | wxTB_FLAT | wxBORDER_NONE, wxID_ANY);
    AfxWindowImpl* impl = afxwin::Register(bar, this);
    impl->style = style;
    impl->id = static_cast<int>(id);
    m_dwStyle = style;
    if (auto* f = dynamic_cast<CFrameWnd*>(parent))
        f->m_toolBar = this;
    if (!(style & WS_VISIBLE))
        bar->Hide();
    return TRUE;
}

BOOL CToolBar::Create(CWnd* parent, DWORD style, UINT id)
{
    return CreateEx(parent, TBSTYLE_FLAT, style, CRect(0, 0, 0, 0), id);
}

BOOL CToolBar::LoadToolBar(UINT id)
{
    auto* bar = dynamic_cast<wxToolBar*>(GetWx());
    const AfxToolBarTemplate* t = AfxFindToolBar(id);
    if (!bar || !t)
        return FALSE;
    wxBitmap strip = afxwin::ImageBitmap(AfxImageKind::Bitmap, t->bitmapId);
    bar->SetToolBitmapSize(wxSize(t->buttonWidth, t->buttonHeight));
    m_ids.clear();
    int image = 0;
    for (size_t i = 0; i < t->count; ++i) {
        UINT cmd = t->items[i];
        m_ids.push_back(cmd);
        if (cmd == ID_SEPARATOR) {
            bar->AddSeparator();
            continue;
        }
        wxBitmap bmp(t->buttonWidth, t->buttonHeight, 24);
        wxRect cell(image * t->buttonWidth, 0, t->buttonWidth, t->buttonHeight);
        if (strip.IsOk() && cell.GetRight() < strip.GetWidth() && cell.GetBottom() < strip.GetHeight())
            bmp = strip.GetSubBitmap(cell);
        ++image;
        int tool = afxwin::WxCommandId(cmd);
        bar->AddTool(tool, ToolTip(cmd).GetString(), bmp, ToolTip(cmd).GetString(), wxITEM_NORMAL);
        bar->SetToolLongHelp(tool, Prompt(cmd).GetString());
    }
    bar->Realize();
    return TRUE;
}

int CToolBar::GetCount() const
{
    return static_cast<int>(m_ids.size());
}

UINT CToolBar::GetItemID(int index) const
{
    return index >= 0 && index < GetCount() ? m_ids[static_cast<size_t>(index)] : 0;
}

BOOL CToolBar::IsButtonEnabled(UINT id) const
{
    auto* bar = dynamic_cast<wxToolBar*>(GetWx());
    return bar && bar->GetToolEnabled(afxwin::WxCommandId(id));
}

void CToolBar::UpdateButtons()
{
    auto* bar = dynamic_cast<wxToolBar*>(GetWx());
    CFrameWnd* frame = GetParentFrame();
    if (!bar || !frame)
        return;
    for (UINT id : m_ids) {
        if (id == ID_SEPARATOR)
            continue;
        CCmdUI ui;
        ui.m_nID = id;
        // Buttons without any handler are disabled, whatever the menu setting.
        ui.DoUpdate(frame, TRUE);
        int tool = afxwin::WxCommandId(id);
        if (ui.m_enabled >= 0 && bar->GetToolEnabled(tool) != (ui.m_enabled == 1))
            bar->EnableTool(tool, ui.m_enabled == 1);
        if (ui.m_checked >= 0 && bar->GetToolState(tool) != (ui.m_checked != 0))
            bar->ToggleTool(tool, ui.m_checked != 0);
    }
}

// ---- status bar ----

BOOL CStatusBar::Create(CWnd* parent, DWORD style, UINT id)
{
    auto* frame = parent ? dynamic_cast<wxFrame*>(parent->GetWx()) : nullptr;
    if (!frame || m_hWnd)
        return FALSE;
    wxStatusBar* bar = frame->CreateStatusBar(1, wxSTB_DEFAULT_STYLE, wxID_ANY);
    frame->SetStatusBarPane(0);
    AfxWindowImpl* impl = afxwin::Register(bar, this);
    impl->style = style;
    impl->id = static_cast<int>(id);
    m_dwStyle = style;
    if (auto* f = dynamic_cast<CFrameWnd*>(parent))
        f->m_statusBar = this;
    return TRUE;
}

BOOL CStatusBar::SetIndicators(const UINT* ids, int count)
{
    auto* bar = dynamic_cast<wxStatusBar*>(GetWx());
    if (!bar || !ids || count <= 0)
        return FALSE;
    m_ids.assign(ids, ids + count);
    std::vector<int> widths;
    for (UINT id : m_ids)
        widths.push_back(id == ID_SEPARATOR ? -1 : 48);
    bar->SetFieldsCount(count, widths.data());
    UpdateIndicators();
    return TRUE;
}

BOOL CStatusBar::SetPaneText(int index, LPCTSTR text, BOOL)
{
    auto* bar = dynamic_cast<wxStatusBar*>(GetWx());
    if (!bar || index < 0 || index >= bar->GetFieldsCount())
        return FALSE;
    wxString s = afxwin::ToWx(text);
    if (bar->GetStatusText(index) != s)
        bar->SetStatusText(s, index);
    return TRUE;
}

CString CStatusBar::GetPaneText(int index) const
{
    auto* bar = dynamic_cast<wxStatusBar*>(GetWx());
    if (!bar || index < 0 || index >= bar->GetFieldsCount())
        return CString();
    return afxwin::FromWx(bar->GetStatusText(index));
}

void CStatusBar::UpdateIndicators()
{
    for (size_t i = 0; i < m_ids.size(); ++i) {
        wxKeyCode key;
        const wchar_t* text;
        switch (m_ids[i]) {
        case ID_INDICATOR_CAPS: key = WXK_CAPITAL; text = L"CAP"; break;
        case ID_INDICATOR_NUM: key = WXK_NUMLOCK; text = L"NUM"; break;
        case ID_INDICATOR_SCRL: key = WXK_SCROLL; text = L"SCRL"; break;
        default: continue;
        }
        SetPaneText(static_cast<int>(i), wxGetKeyState(key) ? text : L"");
    }
}
