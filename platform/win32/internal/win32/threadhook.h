// A thread's wait hook: work that a thread still does while it blocks.
//
// The window layer installs a hook on the user-interface thread that runs the
// messages other threads have sent to its windows, so that a thread waiting
// for the user-interface thread and the user-interface thread waiting for it
// (in Sleep, WaitForSingleObject or WaitForMultipleObjects) do not deadlock.
#pragma once

#include "win32/types.h"

namespace win32 {

using WaitHook = void (*)();

// How often, at the longest, a blocked thread with a hook runs it (ms).
constexpr DWORD kWaitHookSliceMs = 2;

// Installs the hook of the calling thread; null removes it.
void SetThreadWaitHook(WaitHook hook);

// True when the calling thread has a hook (and is not already running it).
bool ThreadHasWaitHook();

// Runs the calling thread's hook, if any. A hook that itself waits does not
// run again from inside that wait.
void RunThreadWaitHook();

}  // namespace win32
