// Scroll bars and progress bars.
#include <wx/scrolbar.h>

#include "internal.h"

IMPLEMENT_DYNAMIC(CScrollBar, CWnd)
IMPLEMENT_DYNAMIC(CProgressCtrl, CWnd)

namespace {

using afxwin::As;
using afxwin::ImplOf;

}  // namespace

// ---- CScrollBar ----

namespace {

void ApplyScroll(wxScrollBar* bar, AfxWindowImpl* impl)
{
    int thumb = std::max<int>(1, static_cast<int>(impl->scrollPage));
    int range = impl->scrollMax - impl->scrollMin + thumb;
    bar->SetScrollbar(impl->scrollPos - impl->scrollMin, thumb, std::max(range, 1),
                      std::max(thumb, (impl->scrollMax - impl->scrollMin) / 10), true);
}

}  // namespace

int CScrollBar::GetScrollPos() const
{
    return afxwin::OnUi([&]() -> int {
        AfxWindowImpl* impl = ImplOf(this);
        return impl ? impl->scrollPos : 0;
    });
}

int CScrollBar::SetScrollPos(int pos, BOOL)
{
    return afxwin::OnUi([&]() -> int {
        AfxWindowImpl* impl = ImplOf(this);
        auto* bar = As<wxScrollBar>(this);
        if (!impl || !bar)
            return 0;
        int old = impl->scrollPos;
        int maxPos = impl->scrollMax - std::max<int>(0, static_cast<int>(impl->scrollPage) - 1);
        impl->scrollPos = std::max(impl->scrollMin, std::min(pos, std::max(impl->scrollMin, maxPos)));
        ApplyScroll(bar, impl);
        return old;
    });
}

void CScrollBar::GetScrollRange(int* minPos, int* maxPos) const
{
    afxwin::OnUi([&]() {
        AfxWindowImpl* impl = ImplOf(this);
        if (minPos)
            *minPos = impl ? impl->scrollMin : 0;
        if (maxPos)
            *maxPos = impl ? impl->scrollMax : 0;
    });
}

void CScrollBar::SetScrollRange(int minPos, int maxPos, BOOL)
{
    afxwin::OnUi([&]() {
        AfxWindowImpl* impl = ImplOf(this);
        auto* bar = As<wxScrollBar>(this);
        if (!impl || !bar)
            return;
        impl->scrollMin = minPos;
        impl->scrollMax = std::max(minPos, maxPos);
        impl->scrollPos = std::max(impl->scrollMin, std::min(impl->scrollPos, impl->scrollMax));
        ApplyScroll(bar, impl);
    });
}

BOOL CScrollBar::GetScrollInfo(LPSCROLLINFO info, UINT mask)
{
    return afxwin::OnUi([&]() -> BOOL {
        AfxWindowImpl* impl = ImplOf(this);
        auto* bar = As<wxScrollBar>(this);
        if (!impl || !bar || !info)
            return FALSE;
        info->fMask = mask;
        info->nMin = impl->scrollMin;
        info->nMax = impl->scrollMax;
        info->nPage = impl->scrollPage;
        info->nPos = impl->scrollPos;
        info->nTrackPos = bar->GetThumbPosition() + impl->scrollMin;
        return TRUE;
    });
}

// ---- CProgressCtrl ----

namespace {

void ApplyProgress(afxwin::AfxProgressBar* bar, AfxWindowImpl* impl)
{
    bar->SetProgress(impl->progressMax - impl->progressMin, impl->progressPos - impl->progressMin);
}

}  // namespace


void CProgressCtrl::SetRange32(int lower, int upper)
{
    afxwin::OnUi([&]() {
        AfxWindowImpl* impl = ImplOf(this);
        auto* bar = As<afxwin::AfxProgressBar>(this);
        if (!impl || !bar)
            return;
        impl->progressMin = lower;
        impl->progressMax = upper;
        impl->progressPos = std::max(lower, std::min(impl->progressPos, upper));
        ApplyProgress(bar, impl);
    });
}

void CProgressCtrl::GetRange(int& lower, int& upper) const
{
    afxwin::OnUi([&]() {
        AfxWindowImpl* impl = ImplOf(this);
        lower = impl ? impl->progressMin : 0;
        upper = impl ? impl->progressMax : 0;
    });
}

int CProgressCtrl::SetPos(int pos)
{
    return afxwin::OnUi([&]() -> int {
        AfxWindowImpl* impl = ImplOf(this);
        auto* bar = As<afxwin::AfxProgressBar>(this);
        if (!impl || !bar)
            return 0;
        int old = impl->progressPos;
        impl->progressPos = std::max(impl->progressMin, std::min(pos, impl->progressMax));
        ApplyProgress(bar, impl);
        return old;
    });
}

int CProgressCtrl::GetPos() const
{
    return afxwin::OnUi([&]() -> int {
        AfxWindowImpl* impl = ImplOf(this);
        return impl ? impl->progressPos : 0;
    });
}
