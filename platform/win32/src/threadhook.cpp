#include "win32/threadhook.h"

namespace {

thread_local win32::WaitHook t_hook = nullptr;
thread_local bool t_inHook = false;

}  // namespace

namespace win32 {

void SetThreadWaitHook(WaitHook hook)
{
    t_hook = hook;
}

bool ThreadHasWaitHook()
{
    return t_hook != nullptr && !t_inHook;
}

void RunThreadWaitHook()
{
    if (!ThreadHasWaitHook())
        return;
    t_inHook = true;
    t_hook();
    t_inHook = false;
}

}  // namespace win32
