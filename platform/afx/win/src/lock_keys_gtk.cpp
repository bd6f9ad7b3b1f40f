// The lock keys' state as GDK keeps it from the X server's keyboard events:
// reading it costs no round trip, and GDK says when it changes, so nothing
// needs to ask the server on every wake-up of the program.
#include <gtk/gtk.h>

#include "internal.h"

namespace afxwin {

namespace {

GdkKeymap* Keymap()
{
    GdkDisplay* display = gdk_display_get_default();
    return display ? gdk_keymap_get_for_display(display) : nullptr;
}

void OnKeymapStateChanged(GdkKeymap*, gpointer call)
{
    (*static_cast<std::function<void()>*>(call))();
}

void DeleteCall(gpointer call, GClosure*)
{
    delete static_cast<std::function<void()>*>(call);
}

}  // namespace

LockKeys CurrentLockKeys()
{
    LockKeys keys;
    if (GdkKeymap* keymap = Keymap()) {
        keys.caps = gdk_keymap_get_caps_lock_state(keymap);
        keys.num = gdk_keymap_get_num_lock_state(keymap);
        keys.scroll = gdk_keymap_get_scroll_lock_state(keymap);
    }
    return keys;
}

void WatchLockKeys(wxWindow* owner, std::function<void()> changed)
{
    GdkKeymap* keymap = Keymap();
    if (!keymap || !owner)
        return;
    const gulong handler = g_signal_connect_data(keymap, "state-changed", G_CALLBACK(OnKeymapStateChanged),
                                                 new std::function<void()>(std::move(changed)), DeleteCall,
                                                 GConnectFlags(0));
    owner->Bind(wxEVT_DESTROY, [owner, keymap, handler](wxWindowDestroyEvent& e) {
        if (e.GetEventObject() == owner)
            g_signal_handler_disconnect(keymap, handler);
        e.Skip();
    });
}

}  // namespace afxwin
