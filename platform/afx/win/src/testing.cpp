#include <wx/evtloop.h>

#include <chrono>
#include <thread>

#include "internal.h"

namespace {

AfxModalAnswerer& Answerer()
{
    static AfxModalAnswerer* answerer = new AfxModalAnswerer;
    return *answerer;
}

}  // namespace

namespace afxwin {

bool HasModalAnswerer()
{
    return static_cast<bool>(Answerer());
}

bool AnswerModal(const AfxModalRequest& request, int* result)
{
    AfxModalAnswerer answerer = Answerer();
    if (!answerer)
        return false;
    *result = answerer(request);
    return true;
}

}  // namespace afxwin

void AfxTestSetModalAnswerer(AfxModalAnswerer answerer)
{
    Answerer() = std::move(answerer);
}

void AfxTestSetFileDialogPath(CFileDialog* dialog, LPCTSTR path)
{
    if (dialog)
        dialog->m_path = path;
}

void AfxTestPump()
{
    wxEventLoopBase* loop = wxEventLoopBase::GetActive();
    if (loop)
        while (loop->Pending())
            loop->Dispatch();
    if (wxTheApp) {
        wxTheApp->ProcessPendingEvents();
        wxTheApp->ProcessIdle();
    }
    afxwin::RunSentMessages(true);
}

bool AfxTestPumpUntil(const std::function<bool()>& done, int timeoutMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        AfxTestPump();
        if (done())
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        if (wxEventLoopBase* loop = wxEventLoopBase::GetActive())
            loop->DispatchTimeout(5);
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

namespace afxwin {
COLORREF ReadPixel(wxBitmap& bitmap, int x, int y);
}

COLORREF AfxTestReadPixel(CWnd* wnd, int x, int y)
{
    AfxWindowImpl* impl = wnd ? afxwin::Lookup(wnd->m_hWnd) : nullptr;
    if (!impl || !impl->picture || impl->pictureDC)
        return CLR_INVALID;
    return afxwin::ReadPixel(*impl->picture, x, y);
}

bool AfxTestSaveScreenshot(CWnd* wnd, const std::wstring& path)
{
    wxWindow* w = wnd ? wnd->GetWx() : nullptr;
    if (!w)
        return false;
    w->Update();
    wxRect r = w->GetScreenRect();
    wxBitmap shot(r.width, r.height, 24);
    {
        wxScreenDC screen;
        wxMemoryDC mem(shot);
        mem.Blit(0, 0, r.width, r.height, &screen, r.x, r.y);
    }
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
        wxImage::AddHandler(new wxPNGHandler);
    return shot.SaveFile(wxString(path), wxBITMAP_TYPE_PNG);
}
