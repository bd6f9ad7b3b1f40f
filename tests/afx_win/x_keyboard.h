// The X server's keyboard, driven as the user's key presses drive it.
#pragma once

enum class LockKey { Caps, Num };

// Turns a lock key's modifier on or off for every client of the display; false
// when the display or its keymap has no such modifier.
bool SetLockKey(LockKey key, bool on);
