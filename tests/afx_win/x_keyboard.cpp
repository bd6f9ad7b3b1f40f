#include "x_keyboard.h"

#include <X11/XKBlib.h>
#include <X11/keysym.h>

bool SetLockKey(LockKey key, bool on)
{
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    const unsigned int mask = key == LockKey::Caps ? LockMask : XkbKeysymToModifiers(display, XK_Num_Lock);
    const bool done = mask != 0 && XkbLockModifiers(display, XkbUseCoreKbd, mask, on ? mask : 0);
    XCloseDisplay(display);
    return done;
}
