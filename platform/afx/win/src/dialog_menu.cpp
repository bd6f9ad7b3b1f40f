// The menu bar of a modeless dialog whose template names a menu.
#include "internal.h"
#include "resource_store.h"

namespace afxwin {

namespace {

UINT BarCommandOf(const CMenu* bar, wxMenu* menu)
{
    auto* wxBar = static_cast<wxMenuBar*>(Internals::WxBar(bar));
    for (size_t pos = 0; pos < wxBar->GetMenuCount() && pos < Internals::BarCommands(bar).size(); ++pos)
        if (wxBar->GetMenu(pos) == menu)
            return Internals::BarCommands(bar)[pos];
    return 0;
}

}  // namespace

std::unique_ptr<CMenu> AttachDialogMenu(wxFrame* frame, UINT menuId)
{
    std::vector<UINT> barCommands;
    wxMenuBar* bar = BuildMenuBar(FindMenu(menuId), barCommands);
    if (!bar)
        return nullptr;
    frame->SetMenuBar(bar);
    auto menu = std::make_unique<CMenu>();
    Internals::WxBar(menu.get()) = bar;
    Internals::BarCommands(menu.get()) = barCommands;
    // The dialog's state may not exist yet; it is looked up when the user acts.
    frame->Bind(wxEVT_MENU, [frame](wxCommandEvent& e) {
        const UINT command = CommandFromWx(e.GetId());
        if (command != 0 && Lookup(frame))
            ::SendMessage(ToHwnd(frame), WM_COMMAND, MAKEWPARAM(command, 0), 0);
    });
    frame->Bind(wxEVT_MENU_OPEN, [frame](wxMenuEvent& e) {
        AfxWindowImpl* impl = Lookup(frame);
        if (!impl || !impl->menuBar || !e.GetMenu())
            return;
        const UINT command = BarCommandOf(impl->menuBar.get(), e.GetMenu());
        if (command == 0)
            return;
        // A command on the bar itself: closed once GTK has finished opening it.
        RunSoon([frame] {
            if (AfxWindowImpl* live = Lookup(frame); live && live->menuBar)
                CloseMenuBar(static_cast<wxMenuBar*>(Internals::WxBar(live->menuBar.get())));
        });
        ::PostMessage(ToHwnd(frame), WM_COMMAND, MAKEWPARAM(command, 0), 0);
    });
    return menu;
}

}  // namespace afxwin
