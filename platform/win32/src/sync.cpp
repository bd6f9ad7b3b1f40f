// Events, waits and Sleep.
#include "kernel_objects.h"
#include "win32/internal.h"

#include "win32/errors.h"
#include "win32/threadhook.h"

#include <algorithm>
#include <thread>

namespace win32::detail {

std::mutex& SyncMutex()
{
    static std::mutex* mutex = new std::mutex;
    return *mutex;
}

void Waitable::SetSignalled(bool signalled)
{
    m_signalled = signalled;
    if (signalled)
        for (Waiter* waiter : m_waiters)
            waiter->wake.notify_one();
}

void Waitable::RemoveWaiter(Waiter* waiter)
{
    m_waiters.erase(std::remove(m_waiters.begin(), m_waiters.end(), waiter), m_waiters.end());
}

void Event::Set()
{
    std::lock_guard<std::mutex> lock(SyncMutex());
    SetSignalled(true);
}

void Event::Reset()
{
    std::lock_guard<std::mutex> lock(SyncMutex());
    SetSignalled(false);
}

namespace {

// Expects SyncMutex held. The index satisfied, or -1.
int TrySatisfy(const std::vector<std::shared_ptr<Waitable>>& objects, bool waitAll)
{
    if (waitAll) {
        for (const auto& object : objects)
            if (!object->IsSignalled())
                return -1;
        for (const auto& object : objects)
            object->OnWaitSatisfied();
        return 0;
    }
    for (size_t i = 0; i < objects.size(); ++i) {
        if (objects[i]->IsSignalled()) {
            objects[i]->OnWaitSatisfied();
            return static_cast<int>(i);
        }
    }
    return -1;
}

}  // namespace

int WaitOn(const std::vector<std::shared_ptr<Waitable>>& objects, bool waitAll, const Clock::time_point* deadline)
{
    std::unique_lock<std::mutex> lock(SyncMutex());
    int satisfied = TrySatisfy(objects, waitAll);
    if (satisfied >= 0 || (deadline && Clock::now() >= *deadline))
        return satisfied;
    Waiter waiter;
    for (const auto& object : objects)
        object->AddWaiter(&waiter);
    const bool hooked = win32::ThreadHasWaitHook();
    while (satisfied < 0) {
        if (hooked) {
            // Wake every slice to run the thread's hook outside the lock.
            Clock::time_point slice = Clock::now() + std::chrono::milliseconds(win32::kWaitHookSliceMs);
            if (deadline && *deadline < slice)
                slice = *deadline;
            waiter.wake.wait_until(lock, slice);
            satisfied = TrySatisfy(objects, waitAll);
            if (satisfied >= 0 || (deadline && Clock::now() >= *deadline))
                break;
            lock.unlock();
            win32::RunThreadWaitHook();
            lock.lock();
            satisfied = TrySatisfy(objects, waitAll);
            continue;
        }
        if (deadline) {
            if (waiter.wake.wait_until(lock, *deadline) == std::cv_status::timeout) {
                satisfied = TrySatisfy(objects, waitAll);
                break;
            }
        } else {
            waiter.wake.wait(lock);
        }
        satisfied = TrySatisfy(objects, waitAll);
    }
    for (const auto& object : objects)
        object->RemoveWaiter(&waiter);
    return satisfied;
}

}  // namespace win32::detail

using namespace win32::detail;

HANDLE CreateEventW(LPSECURITY_ATTRIBUTES, BOOL manualReset, BOOL initialState, LPCWSTR name)
{
    if (name) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto event = std::make_shared<Event>(manualReset != FALSE);
    if (initialState)
        event->Set();
    return AddHandle(event);
}

BOOL SetEvent(HANDLE handle)
{
    auto event = LookupAs<Event>(handle);
    if (!event) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    event->Set();
    return TRUE;
}

BOOL ResetEvent(HANDLE handle)
{
    auto event = LookupAs<Event>(handle);
    if (!event) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    event->Reset();
    return TRUE;
}

DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds)
{
    if (count == 0 || count > MAXIMUM_WAIT_OBJECTS || !handles) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return WAIT_FAILED;
    }
    std::vector<std::shared_ptr<Waitable>> objects;
    objects.reserve(count);
    for (DWORD i = 0; i < count; ++i) {
        auto object = LookupAs<Waitable>(handles[i]);
        if (!object) {
            SetLastError(ERROR_INVALID_HANDLE);
            return WAIT_FAILED;
        }
        objects.push_back(std::move(object));
    }
    Clock::time_point deadline;
    if (milliseconds != INFINITE)
        deadline = Clock::now() + std::chrono::milliseconds(milliseconds);
    int index = WaitOn(objects, waitAll != FALSE, milliseconds == INFINITE ? nullptr : &deadline);
    return index < 0 ? WAIT_TIMEOUT : WAIT_OBJECT_0 + static_cast<DWORD>(index);
}

DWORD WaitForSingleObject(HANDLE object, DWORD milliseconds)
{
    return WaitForMultipleObjects(1, &object, FALSE, milliseconds);
}

void Sleep(DWORD milliseconds)
{
    if (milliseconds == INFINITE) {
        for (;;)
            std::this_thread::sleep_for(std::chrono::hours(24));
    }
    if (win32::ThreadHasWaitHook() && milliseconds != 0) {
        const auto deadline = Clock::now() + std::chrono::milliseconds(milliseconds);
        for (auto now = Clock::now(); now < deadline; now = Clock::now()) {
            win32::RunThreadWaitHook();
            std::this_thread::sleep_for(
                std::min<Clock::duration>(deadline - now, std::chrono::milliseconds(win32::kWaitHookSliceMs)));
        }
        return;
    }
    if (milliseconds == 0)
        std::this_thread::yield();
    else
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}
