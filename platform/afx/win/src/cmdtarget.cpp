#include "internal.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

namespace afxwin {
// Passed as pExtra to ask only whether a command handler exists.
void* const kHandlerProbe = const_cast<char*>("probe");
}

CCmdTarget::CCmdTarget() = default;
CCmdTarget::~CCmdTarget() = default;

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const
{
    return GetThisMessageMap();
}

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr}};
    static const AFX_MSGMAP map = {nullptr, &entries[0]};
    return &map;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra)
{
    const UINT code = static_cast<UINT>(nCode);
    for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->nMessage != 0; ++e) {
            if (e->nMessage != WM_COMMAND || e->nCode != code || nID < e->nID || nID > e->nLastID)
                continue;
            if (pExtra == afxwin::kHandlerProbe)
                return TRUE;
            AfxMessage msg{WM_COMMAND, nID, reinterpret_cast<LPARAM>(pExtra)};
            e->pfn(this, msg);
            return TRUE;
        }
    }
    return FALSE;
}

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(UINT message) const
{
    for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->nMessage != 0; ++e)
            if (e->nMessage == message && message != WM_COMMAND && message != WM_NOTIFY)
                return e;
    }
    return nullptr;
}

namespace {
int g_waitDepth = 0;
}

void afxwin::WaitCursor(int delta)
{
    if (!IsUiThread())
        return;
    if (delta > 0) {
        if (g_waitDepth++ == 0)
            ::wxBeginBusyCursor();
    } else if (delta < 0) {
        if (g_waitDepth > 0 && --g_waitDepth == 0)
            ::wxEndBusyCursor();
    } else if (g_waitDepth > 0 && !::wxIsBusy()) {
        ::wxBeginBusyCursor();
    }
}

CWaitCursor::CWaitCursor()
{
    afxwin::WaitCursor(1);
}

CWaitCursor::~CWaitCursor()
{
    afxwin::WaitCursor(-1);
}
