// What wx has no call for on GTK menus: closing the menu bar's open drop-down
// (a command that stands on the bar itself runs when its empty drop-down
// opens), and drawing a check item's mark as a radio mark.
#include <gtk/gtk.h>

#include "internal.h"

namespace afxwin {

void CloseMenuBar(wxMenuBar* bar)
{
    if (!bar)
        return;
    GtkWidget* widget = static_cast<GtkWidget*>(bar->GetHandle());
    if (widget && GTK_IS_MENU_SHELL(widget))
        gtk_menu_shell_deactivate(GTK_MENU_SHELL(widget));
}

// A wx radio item belongs to a group in which one item is always marked; a
// radio mark set by an update handler is one item's own state, as a check
// mark is, so it stays a check item that is drawn with a bullet.
void SetRadioMark(wxMenuItem* item, bool radio)
{
    GtkWidget* widget = item ? item->GetMenuItem() : nullptr;
    if (widget && GTK_IS_CHECK_MENU_ITEM(widget))
        gtk_check_menu_item_set_draw_as_radio(GTK_CHECK_MENU_ITEM(widget), radio);
}

bool HasRadioMark(const wxMenuItem* item)
{
    GtkWidget* widget = item ? item->GetMenuItem() : nullptr;
    return widget && GTK_IS_CHECK_MENU_ITEM(widget) && gtk_check_menu_item_get_draw_as_radio(GTK_CHECK_MENU_ITEM(widget));
}

}  // namespace afxwin
