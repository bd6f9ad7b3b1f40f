// Internal: the handle table and the waitable objects behind kernel handles.
#pragma once

#include "win32/kernel.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

namespace win32::detail {

class KernelObject {
public:
    virtual ~KernelObject() = default;
    // Called once, when the handle that refers to the object is closed.
    virtual void OnHandleClosed() {}
};

// One lock guards the state of every waitable object, so a wait on several
// objects sees them all at one instant.
std::mutex& SyncMutex();

struct Waiter {
    std::condition_variable wake;
};

class Waitable : public KernelObject {
public:
    // All of these expect SyncMutex held.
    bool IsSignalled() const { return m_signalled; }
    // Consumes the signal when the object resets on a satisfied wait.
    virtual void OnWaitSatisfied() {}
    void SetSignalled(bool signalled);
    void AddWaiter(Waiter* waiter) { m_waiters.push_back(waiter); }
    void RemoveWaiter(Waiter* waiter);

private:
    bool m_signalled = false;
    std::vector<Waiter*> m_waiters;
};

class Event : public Waitable {
public:
    explicit Event(bool manualReset) : m_manualReset(manualReset) {}
    void OnWaitSatisfied() override
    {
        if (!m_manualReset)
            SetSignalled(false);
    }
    // Take SyncMutex themselves.
    void Set();
    void Reset();

private:
    const bool m_manualReset;
};

using Clock = std::chrono::steady_clock;

// Waits until one (or, with waitAll, every) object is signalled or the
// deadline passes. Returns the index satisfied, or -1 on time-out.
int WaitOn(const std::vector<std::shared_ptr<Waitable>>& objects, bool waitAll, const Clock::time_point* deadline);

HANDLE AddHandle(std::shared_ptr<KernelObject> object);
std::shared_ptr<KernelObject> LookupHandle(HANDLE handle);
// Removes the handle; null when it was not open.
std::shared_ptr<KernelObject> RemoveHandle(HANDLE handle);

template <class T>
std::shared_ptr<T> LookupAs(HANDLE handle)
{
    return std::dynamic_pointer_cast<T>(LookupHandle(handle));
}

}  // namespace win32::detail
