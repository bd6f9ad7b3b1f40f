// Scroll bars as GTK shows them.
#include <gtk/gtk.h>
#include <wx/scrolbar.h>

#include "internal.h"

namespace {

void Placed(GtkWidget* widget, GdkRectangle*, gpointer)
{
    gtk_widget_queue_draw(widget);
}

}  // namespace

namespace afxwin {

void PrepareScrollBar(wxScrollBar* bar)
{
    GtkWidget* widget = bar->GetHandle();
    // A changed range has its thumb placed at GTK's next layout, and the bar
    // is drawn again only if nothing painted it before: a handler that sets
    // the bar and then updates a window at once would leave the old thumb on
    // the screen. Drawing it again once placed shows what was set.
    g_signal_connect_after(widget, "size-allocate", G_CALLBACK(Placed), nullptr);
    // As a Windows scroll-bar control, the bar takes the focus and its arrow keys.
    gtk_widget_set_can_focus(widget, TRUE);
}

}  // namespace afxwin
