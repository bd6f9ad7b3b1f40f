// CWnd: lifetime, subclassing, message dispatch, timers and data exchange.
#include "internal.h"

IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

namespace {

int g_suppressNotify = 0;

// The message being handled on this thread; Default() passes it on. Kept
// outside the object, which a handler may delete.
thread_local const AfxMessage* t_currentMsg = nullptr;

using afxwin::ImplOf;

CBrush& StockBrush(COLORREF c)
{
    static CBrush window(RGB(255, 255, 255));
    static CBrush face(RGB(240, 240, 240));
    return c == RGB(255, 255, 255) ? window : face;
}

}  // namespace

namespace afxwin {

bool NotificationsSuppressed()
{
    return g_suppressNotify > 0;
}

bool IsDefaultCtlBrush(HBRUSH brush)
{
    return brush == nullptr || brush == static_cast<HBRUSH>(StockBrush(RGB(255, 255, 255))) ||
           brush == static_cast<HBRUSH>(StockBrush(0));
}

void DetachTree(wxWindow* window)
{
    // WM_DESTROY goes to the parent before its children, as on Windows.
    std::function<void(wxWindow*)> destroyMessages = [&](wxWindow* w) {
        if (AfxWindowImpl* impl = Lookup(w)) {
            if (impl->destroying)
                return;
            impl->destroying = true;
            Dispatch(ToHwnd(w), WM_DESTROY, 0, 0);
        }
        const wxWindowList children = w->GetChildren();   // a handler may change the list
        for (wxWindow* child : children)
            if (w->GetChildren().Find(child))
                destroyMessages(child);
    };
    std::function<void(wxWindow*)> release = [&](wxWindow* w) {
        const wxWindowList children = w->GetChildren();
        for (wxWindow* child : children)
            if (w->GetChildren().Find(child))
                release(child);
        AfxWindowImpl* impl = Lookup(w);
        if (!impl)
            return;
        CWnd* wnd = impl->wnd;
        const bool generic = impl->generic && impl->generic.get() == wnd;
        if (wnd)
            wnd->m_hWnd = nullptr;
        Unregister(w);
        if (wnd && !generic)
            afxwin::Internals::PostNcDestroy(wnd);
    };
    destroyMessages(window);
    release(window);
}

}  // namespace afxwin

CWnd::CWnd() = default;

CWnd::~CWnd()
{
    if (m_hWnd && afxwin::IsUiThread()) {
        AfxWindowImpl* impl = ImplOf(this);
        if (impl && impl->wnd == this && !impl->generic) {
            wxWindow* w = impl->wx;
            afxwin::DetachTree(w);
            w->Destroy();
        } else if (impl && impl->wnd == this) {
            impl->wnd = impl->generic.get();
            if (impl->wnd)
                impl->wnd->m_hWnd = m_hWnd;
        }
    }
    m_hWnd = nullptr;
}

wxWindow* CWnd::GetWx() const
{
    AfxWindowImpl* impl = ImplOf(this, "CWnd::GetWx");
    return impl ? impl->wx : nullptr;
}

BOOL CWnd::DestroyWindow()
{
    return afxwin::OnUi([&]() -> BOOL {
        AfxWindowImpl* impl = ImplOf(this);
        if (!impl)
            return FALSE;
        wxWindow* w = impl->wx;
        afxwin::DetachTree(w);   // may delete this
        w->Destroy();
        return TRUE;
    });
}

BOOL CWnd::SubclassWindow(HWND hwnd)
{
    return afxwin::OnUi([&]() -> BOOL {
        AfxWindowImpl* impl = afxwin::Lookup(hwnd);
        if (!impl || m_hWnd)
            return FALSE;
        if (impl->isControl && impl->kind == AfxControlKind::PushButton && !impl->drawn &&
            (FindMessageEntry(WM_PAINT) || FindMessageEntry(WM_LBUTTONDOWN) || FindMessageEntry(WM_MOUSEMOVE))) {
            hwnd = afxwin::ConvertToDrawn(hwnd);
            impl = afxwin::Lookup(hwnd);
            if (!impl)
                return FALSE;
        }
        if (impl->wnd)
            impl->wnd->m_hWnd = impl->wnd == impl->generic.get() ? hwnd : nullptr;
        impl->wnd = this;
        m_hWnd = hwnd;
        PreSubclassWindow();
        return TRUE;
    });
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent)
{
    return afxwin::OnUi([&]() -> BOOL {
        CWnd* item = parent ? parent->GetDlgItem(static_cast<int>(id)) : nullptr;
        return item ? SubclassWindow(item->m_hWnd) : FALSE;
    });
}

HWND CWnd::UnsubclassWindow()
{
    return afxwin::OnUi([&]() -> HWND {
        AfxWindowImpl* impl = ImplOf(this);
        HWND hwnd = m_hWnd;
        if (impl && impl->wnd == this) {
            impl->wnd = impl->generic.get();
            if (impl->wnd)
                impl->wnd->m_hWnd = hwnd;
        }
        m_hWnd = nullptr;
        return hwnd;
    });
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::SendMessage(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::PostMessage(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    AfxMessage msg{message, wParam, lParam};
    const AfxMessage* saved = t_currentMsg;
    t_currentMsg = &msg;
    LRESULT result = 0;
    if (message == WM_COMMAND) {
        result = OnCommand(wParam, lParam) ? 0 : DefWindowProc(message, wParam, lParam);
    } else if (message == WM_NOTIFY) {
        LRESULT r = 0;
        result = OnNotify(wParam, lParam, &r) ? r : DefWindowProc(message, wParam, lParam);
    } else if (const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(message)) {
        result = entry->pfn(this, msg);
    } else {
        result = DefWindowProc(message, wParam, lParam);
    }
    t_currentMsg = saved;
    return result;
}

LRESULT CWnd::Default()
{
    return t_currentMsg ? DefWindowProc(t_currentMsg->message, t_currentMsg->wParam, t_currentMsg->lParam) : 0;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM)
{
    return OnCmdMsg(LOWORD(wParam), HIWORD(wParam), nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* result)
{
    auto* hdr = reinterpret_cast<NMHDR*>(lParam);
    if (!hdr)
        return FALSE;
    for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->nMessage != 0; ++e) {
            if (e->nMessage == WM_NOTIFY && e->nCode == hdr->code && hdr->idFrom >= e->nID && hdr->idFrom <= e->nLastID) {
                *result = e->pfn(this, AfxMessage{WM_NOTIFY, hdr->idFrom, lParam});
                return TRUE;
            }
        }
    }
    return FALSE;
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT&)
{
    return TRUE;
}

void CWnd::PostNcDestroy() {}
void CWnd::PreSubclassWindow() {}
void CWnd::DoDataExchange(CDataExchange*) {}

BOOL CWnd::UpdateData(BOOL saveAndValidate)
{
    return afxwin::OnUi([&]() -> BOOL {
        CDataExchange dx(this, saveAndValidate);
        ++g_suppressNotify;
        BOOL ok = TRUE;
        try {
            DoDataExchange(&dx);
        } catch (CUserException* e) {
            e->Delete();
            ok = FALSE;
        }
        --g_suppressNotify;
        return ok;
    });
}

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapse, void (*callback)(HWND, UINT, UINT_PTR, DWORD))
{
    if (callback) {
        afxwin::Unsupported("CWnd::SetTimer", "timer callbacks are not offered, only WM_TIMER");
        return 0;
    }
    return afxwin::OnUi([&]() -> UINT_PTR {
        AfxWindowImpl* impl = ImplOf(this);
        if (!impl)
            return 0;
        auto& slot = impl->timers[id];
        afxwin::DisposeTimer(std::move(slot));
        slot = std::make_unique<AfxTimer>(m_hWnd, id);
        slot->Start(static_cast<int>(elapse < 1 ? 1 : elapse));
        return id;
    });
}

BOOL CWnd::KillTimer(UINT_PTR id)
{
    return afxwin::OnUi([&]() -> BOOL {
        AfxWindowImpl* impl = ImplOf(this);
        if (!impl)
            return FALSE;
        auto it = impl->timers.find(id);
        if (it == impl->timers.end())
            return FALSE;
        afxwin::DisposeTimer(std::move(it->second));
        impl->timers.erase(it);
        return TRUE;
    });
}

BOOL CWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra)
{
    return CCmdTarget::OnCmdMsg(nID, nCode, pExtra);
}

void CWnd::OnPaint() { Default(); }
void CWnd::OnSize(UINT, int, int) { Default(); }
void CWnd::OnTimer(UINT_PTR) { Default(); }
void CWnd::OnClose() { Default(); }
int CWnd::OnCreate(LPCREATESTRUCT) { return static_cast<int>(Default()); }
HBRUSH CWnd::OnCtlColor(CDC*, CWnd*, UINT) { return reinterpret_cast<HBRUSH>(Default()); }
void CWnd::OnHScroll(UINT, UINT, CScrollBar*) { Default(); }
void CWnd::OnVScroll(UINT, UINT, CScrollBar*) { Default(); }
void CWnd::OnMouseMove(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnRButtonUp(UINT, CPoint) { Default(); }
void CWnd::DrawItem(LPDRAWITEMSTRUCT) {}

CWnd* AfxGetMainWnd()
{
    CWinApp* app = AfxGetApp();
    return app ? app->m_pMainWnd : nullptr;
}

wxWindow* afxwin::WxOf(const CWnd* wnd)
{
    return Internals::Wx(wnd);
}
