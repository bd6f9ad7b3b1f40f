#include "form_window.h"

#include "forms/form.h"

#include <gtk/gtk.h>

namespace forms {

namespace {

// The button being held, from the event being handled; the left one when the
// move is started outside a button press.
guint PressedButton()
{
    guint button = 1;
    if (GdkEvent* event = gtk_get_current_event()) {
        if (event->type == GDK_BUTTON_PRESS)
            button = event->button.button;
        gdk_event_free(event);
    }
    return button;
}

}  // namespace

bool FormWindow::BeginDesktopMove()
{
    auto* widget = static_cast<GtkWidget*>(GetHandle());
    if (!m_form || !widget || !IsShownOnScreen() || !gtk_widget_get_realized(widget))
        return false;
    GdkSeat* seat = gdk_display_get_default_seat(gtk_widget_get_display(widget));
    GdkDevice* pointer = seat ? gdk_seat_get_pointer(seat) : nullptr;
    if (!pointer)
        return false;
    gint x = 0, y = 0;
    gdk_device_get_position(pointer, nullptr, &x, &y);
    // Without a window manager that moves windows, GDK moves it itself.
    gtk_window_begin_move_drag(GTK_WINDOW(widget), static_cast<gint>(PressedButton()), x, y,
                               gtk_get_current_event_time());
    m_form->CountMoveStarted();
    return true;
}

}  // namespace forms
