#include "internal.h"

CMenu::~CMenu() = default;

namespace {

wxMenuBar* Bar(const CMenu* m)
{
    return static_cast<wxMenuBar*>(afxwin::Internals::WxBar(m));
}

wxMenu* Menu(const CMenu* m)
{
    return static_cast<wxMenu*>(afxwin::Internals::WxMenu(m));
}

wxMenuItem* ByPosition(const CMenu* m, UINT pos)
{
    wxMenu* menu = Menu(m);
    if (!menu || pos >= menu->GetMenuItemCount())
        return nullptr;
    return menu->FindItemByPosition(pos);
}

wxMenuItem* ByCommand(const CMenu* m, UINT id)
{
    if (wxMenuBar* bar = Bar(m))
        return bar->FindItem(afxwin::WxCommandId(id));
    if (wxMenu* menu = Menu(m))
        return menu->FindItem(afxwin::WxCommandId(id));
    return nullptr;
}

// The bar position of a command that stands on the bar itself, or -1.
int BarPositionOf(const CMenu* m, UINT id)
{
    if (!Bar(m))
        return -1;
    for (size_t pos = 0; pos < afxwin::Internals::BarCommands(m).size(); ++pos)
        if (afxwin::Internals::BarCommands(m)[pos] == id && id != 0)
            return static_cast<int>(pos);
    return -1;
}

}  // namespace

namespace afxwin {

// Makes an item checkable (keeping its place) so that it can show a mark.
wxMenuItem* MakeCheckable(wxMenuItem* item)
{
    if (!item || item->IsCheckable() || item->IsSeparator() || item->IsSubMenu())
        return item;
    wxMenu* menu = item->GetMenu();
    size_t pos = 0;
    for (; pos < menu->GetMenuItemCount(); ++pos)
        if (menu->FindItemByPosition(pos) == item)
            break;
    int id = item->GetId();
    wxString label = item->GetItemLabel();
    wxString help = item->GetHelp();
    bool enabled = item->IsEnabled();
    menu->Destroy(item);
    wxMenuItem* checkable = menu->InsertCheckItem(pos, id, label, help);
    checkable->Enable(enabled);
    return checkable;
}

}  // namespace afxwin

UINT CMenu::EnableMenuItem(UINT item, UINT flags)
{
    const bool enable = !(flags & (MF_GRAYED | MF_DISABLED));
    if (!(flags & MF_BYPOSITION)) {
        int pos = BarPositionOf(this, item);
        if (pos >= 0)
            return EnableMenuItem(static_cast<UINT>(pos), flags | MF_BYPOSITION);
    }
    if (flags & MF_BYPOSITION) {
        if (wxMenuBar* bar = Bar(this)) {
            if (item >= bar->GetMenuCount())
                return static_cast<UINT>(-1);
            UINT was = bar->IsEnabledTop(item) ? MF_ENABLED : MF_GRAYED;
            bar->EnableTop(item, enable);
            return was;
        }
        wxMenuItem* mi = ByPosition(this, item);
        if (!mi)
            return static_cast<UINT>(-1);
        UINT was = mi->IsEnabled() ? MF_ENABLED : MF_GRAYED;
        mi->Enable(enable);
        return was;
    }
    wxMenuItem* mi = ByCommand(this, item);
    if (!mi)
        return static_cast<UINT>(-1);
    UINT was = mi->IsEnabled() ? MF_ENABLED : MF_GRAYED;
    mi->Enable(enable);
    return was;
}

UINT CMenu::GetMenuState(UINT item, UINT flags) const
{
    if (!(flags & MF_BYPOSITION)) {
        int pos = BarPositionOf(this, item);
        if (pos >= 0)
            return Bar(this)->IsEnabledTop(static_cast<size_t>(pos)) ? 0 : MF_GRAYED;
    }
    if ((flags & MF_BYPOSITION) && Bar(this)) {
        wxMenuBar* bar = Bar(this);
        if (item >= bar->GetMenuCount())
            return static_cast<UINT>(-1);
        bool command = item < m_barCommands.size() && m_barCommands[item] != 0;
        return (bar->IsEnabledTop(item) ? 0 : MF_GRAYED) | (command ? 0 : MF_POPUP);
    }
    wxMenuItem* mi = (flags & MF_BYPOSITION) ? ByPosition(this, item) : ByCommand(this, item);
    if (!mi)
        return static_cast<UINT>(-1);
    UINT state = 0;
    if (!mi->IsEnabled())
        state |= MF_GRAYED;
    if (mi->IsCheckable() && mi->IsChecked())
        state |= MF_CHECKED;
    if (afxwin::HasRadioMark(mi))
        state |= MFT_RADIOCHECK;
    if (mi->IsSeparator())
        state |= MF_SEPARATOR;
    if (mi->IsSubMenu())
        state |= MF_POPUP;
    return state;
}

int CMenu::GetMenuItemCount() const
{
    if (wxMenuBar* bar = Bar(this))
        return static_cast<int>(bar->GetMenuCount());
    if (wxMenu* menu = Menu(this))
        return static_cast<int>(menu->GetMenuItemCount());
    return -1;
}

UINT CMenu::GetMenuItemID(int pos) const
{
    if (Bar(this)) {
        if (pos >= 0 && static_cast<size_t>(pos) < m_barCommands.size() && m_barCommands[static_cast<size_t>(pos)] != 0)
            return m_barCommands[static_cast<size_t>(pos)];
        return static_cast<UINT>(-1);
    }
    wxMenuItem* mi = pos < 0 ? nullptr : ByPosition(this, static_cast<UINT>(pos));
    if (!mi || mi->IsSubMenu())
        return static_cast<UINT>(-1);
    return mi->IsSeparator() ? 0 : afxwin::CommandFromWx(mi->GetId());
}

CMenu* CMenu::GetSubMenu(int pos) const
{
    wxMenu* sub = nullptr;
    if (wxMenuBar* bar = Bar(this)) {
        if (pos >= 0 && pos < static_cast<int>(bar->GetMenuCount()))
            sub = bar->GetMenu(static_cast<size_t>(pos));
    } else if (wxMenuItem* mi = pos < 0 ? nullptr : ByPosition(this, static_cast<UINT>(pos))) {
        sub = mi->GetSubMenu();
    }
    if (!sub)
        return nullptr;
    for (auto& existing : m_subs)
        if (existing->m_wxMenu == sub)
            return existing.get();
    auto menu = std::make_unique<CMenu>();
    menu->m_wxMenu = sub;
    m_subs.push_back(std::move(menu));
    return m_subs.back().get();
}

int CMenu::GetMenuString(UINT item, CString& text, UINT flags) const
{
    text.Empty();
    if ((flags & MF_BYPOSITION) && Bar(this)) {
        if (item < Bar(this)->GetMenuCount())
            text = afxwin::FromWx(Bar(this)->GetMenuLabel(item));
        return text.GetLength();
    }
    wxMenuItem* mi = (flags & MF_BYPOSITION) ? ByPosition(this, item) : ByCommand(this, item);
    if (mi)
        text = afxwin::FromWx(mi->GetItemLabel());
    return text.GetLength();
}

// ---- CCmdUI ----

void CCmdUI::Enable(BOOL on)
{
    m_enabled = on ? 1 : 0;
    m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int check)
{
    m_checked = check ? 1 : 0;
    m_radio = false;
}

void CCmdUI::SetRadio(BOOL on)
{
    m_checked = on ? 1 : 0;
    m_radio = true;
}

BOOL CCmdUI::DoUpdate(CCmdTarget* target, BOOL disableIfNoHandler)
{
    if (!target || m_nID == 0)
        return FALSE;
    m_bEnableChanged = FALSE;
    BOOL handled = target->OnCmdMsg(m_nID, static_cast<int>(CN_UPDATE_COMMAND_UI), this);
    if (!handled && disableIfNoHandler && !m_bEnableChanged)
        Enable(target->OnCmdMsg(m_nID, static_cast<int>(CN_COMMAND), afxwin::kHandlerProbe));
    return handled;
}
