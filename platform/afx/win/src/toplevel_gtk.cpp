// Top-level windows whose shown state wx and GTK agree on.
#include <gtk/gtk.h>

#include "internal.h"

namespace afxwin {

void KeepShownStateTrue(wxTopLevelWindow* window)
{
    // wxGTK marks a top-level window shown when the X server reports it
    // mapped. A window hidden before that report arrives (shown and hidden
    // again between two turns of the event loop, or on a busy server) would
    // count as shown while GTK keeps it hidden, and the next Show would then
    // do nothing: put wx's flag back to what GTK shows.
    window->Bind(wxEVT_SHOW, [window](wxShowEvent& e) {
        if (e.IsShown() && !gtk_widget_get_visible(window->GetHandle())) {
            window->wxWindowBase::Show(false);
            return;
        }
        e.Skip();
    });
}

}  // namespace afxwin
