// Closing the menu bar's open drop-down, which wx has no call for: a command
// that stands on the bar itself runs when its (empty) drop-down opens.
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

}  // namespace afxwin
