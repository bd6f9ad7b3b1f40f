// The windows of the layer by wx window, and the message dispatch.
#include <mutex>
#include <unordered_map>

#include "internal.h"

namespace {

std::mutex g_mutex;
std::unordered_map<const wxWindow*, std::unique_ptr<AfxWindowImpl>>& Windows()
{
    static auto* windows = new std::unordered_map<const wxWindow*, std::unique_ptr<AfxWindowImpl>>;
    return *windows;
}

}  // namespace

namespace afxwin {

namespace {

AfxWindowImpl* Find(const wxWindow* window)
{
    if (!window)
        return nullptr;
    std::lock_guard<std::mutex> lock(g_mutex);
    auto it = Windows().find(window);
    return it == Windows().end() ? nullptr : it->second.get();
}

}  // namespace

AfxWindowImpl* Lookup(const wxWindow* window, const char* call)
{
    RequireUiThread(call);
    return Find(window);
}

AfxWindowImpl* Lookup(HWND hwnd, const char* call)
{
    RequireUiThread(call);
    return Find(reinterpret_cast<const wxWindow*>(hwnd));
}

HWND ToHwnd(const wxWindow* window)
{
    return reinterpret_cast<HWND>(const_cast<wxWindow*>(window));
}

bool IsLive(HWND hwnd)
{
    return Find(reinterpret_cast<const wxWindow*>(hwnd)) != nullptr;
}

AfxWindowImpl* Register(wxWindow* window, CWnd* wnd)
{
    auto impl = std::make_unique<AfxWindowImpl>();
    impl->wx = window;
    impl->wnd = wnd;
    impl->id = window->GetId();
    AfxWindowImpl* raw = impl.get();
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        Windows()[window] = std::move(impl);
    }
    if (wnd)
        wnd->m_hWnd = ToHwnd(window);
    return raw;
}

void Unregister(wxWindow* window)
{
    std::unique_ptr<AfxWindowImpl> impl;
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        auto it = Windows().find(window);
        if (it == Windows().end())
            return;
        impl = std::move(it->second);
        Windows().erase(it);
    }
    for (auto& timer : impl->timers)
        DisposeTimer(std::move(timer.second));
    // The generic object goes with the impl; a subclassing object stays with its owner.
}

LRESULT Dispatch(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    AfxWindowImpl* impl = Lookup(hwnd);
    if (!impl || !impl->wnd)
        return 0;
    return Internals::WindowProc(impl->wnd, message, wParam, lParam);
}

}  // namespace afxwin

BOOL IsWindow(HWND hwnd)
{
    return afxwin::IsLive(hwnd) ? TRUE : FALSE;
}

CWnd* CWnd::FromHandle(HWND hwnd)
{
    AfxWindowImpl* impl = afxwin::Lookup(hwnd);
    return impl ? impl->wnd : nullptr;
}

void AfxTimer::Notify()
{
    afxwin::Dispatch(m_hwnd, WM_TIMER, m_id, 0);
}
