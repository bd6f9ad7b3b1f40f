// Threads on POSIX threads: suspended start, priority as nice value, exit code.
#include "kernel_objects.h"
#include "win32/internal.h"

#include "win32/errors.h"

#include <algorithm>
#include <climits>
#include <pthread.h>
#include <sys/resource.h>
#include <unistd.h>

namespace win32::detail {

namespace {

class Thread : public Waitable {
public:
    Thread(LPTHREAD_START_ROUTINE start, LPVOID parameter, DWORD suspendCount)
        : m_start(start), m_parameter(parameter), m_suspendCount(suspendCount)
    {
    }

    // Runs on the new thread; self keeps the object alive while it runs.
    static void* Main(void* arg)
    {
        std::shared_ptr<Thread> self(std::move(*static_cast<std::shared_ptr<Thread>*>(arg)));
        delete static_cast<std::shared_ptr<Thread>*>(arg);
        {
            std::unique_lock<std::mutex> lock(SyncMutex());
            self->m_tid = static_cast<DWORD>(gettid());
            self->m_started.notify_all();
            self->m_started.wait(lock, [&] { return self->m_suspendCount == 0; });
        }
        const DWORD code = self->m_start(self->m_parameter);
        std::lock_guard<std::mutex> lock(SyncMutex());
        self->m_exitCode = code;
        self->m_exited = true;
        self->SetSignalled(true);
        return nullptr;
    }

    DWORD WaitForId()
    {
        std::unique_lock<std::mutex> lock(SyncMutex());
        m_started.wait(lock, [&] { return m_tid != 0; });
        return m_tid;
    }

    DWORD Resume()
    {
        std::lock_guard<std::mutex> lock(SyncMutex());
        const DWORD previous = m_suspendCount;
        if (m_suspendCount > 0 && --m_suspendCount == 0)
            m_started.notify_all();
        return previous;
    }

    void SetPriority(int priority)
    {
        std::lock_guard<std::mutex> lock(SyncMutex());
        m_priority = priority;
        if (m_exited)
            return;
        // Raising priority needs CAP_SYS_NICE; without it the thread simply keeps its nice value.
        setpriority(PRIO_PROCESS, static_cast<id_t>(m_tid), NiceFor(priority));
    }

    int Priority()
    {
        std::lock_guard<std::mutex> lock(SyncMutex());
        return m_priority;
    }

    DWORD ExitCode()
    {
        std::lock_guard<std::mutex> lock(SyncMutex());
        return m_exited ? m_exitCode : STILL_ACTIVE;
    }

    static int NiceFor(int priority)
    {
        switch (priority) {
        case THREAD_PRIORITY_IDLE: return 19;
        case THREAD_PRIORITY_LOWEST: return 10;
        case THREAD_PRIORITY_BELOW_NORMAL: return 5;
        case THREAD_PRIORITY_ABOVE_NORMAL: return -2;
        case THREAD_PRIORITY_HIGHEST: return -5;
        case THREAD_PRIORITY_TIME_CRITICAL: return -10;
        default: return 0;
        }
    }

private:
    const LPTHREAD_START_ROUTINE m_start;
    const LPVOID m_parameter;
    // Guarded by SyncMutex.
    std::condition_variable m_started;
    DWORD m_suspendCount;
    DWORD m_tid = 0;
    DWORD m_exitCode = 0;
    bool m_exited = false;
    int m_priority = THREAD_PRIORITY_NORMAL;
};

bool IsThreadPriority(int priority)
{
    switch (priority) {
    case THREAD_PRIORITY_IDLE:
    case THREAD_PRIORITY_LOWEST:
    case THREAD_PRIORITY_BELOW_NORMAL:
    case THREAD_PRIORITY_NORMAL:
    case THREAD_PRIORITY_ABOVE_NORMAL:
    case THREAD_PRIORITY_HIGHEST:
    case THREAD_PRIORITY_TIME_CRITICAL: return true;
    default: return false;
    }
}

std::shared_ptr<Thread> LookupThread(HANDLE handle)
{
    auto thread = LookupAs<Thread>(handle);
    if (!thread)
        SetLastError(ERROR_INVALID_HANDLE);
    return thread;
}

}  // namespace

}  // namespace win32::detail

using namespace win32::detail;

HANDLE CreateThread(LPSECURITY_ATTRIBUTES, SIZE_T stackSize, LPTHREAD_START_ROUTINE start, LPVOID parameter,
                    DWORD creationFlags, LPDWORD threadId)
{
    if (!start) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto thread = std::make_shared<Thread>(start, parameter, (creationFlags & CREATE_SUSPENDED) ? 1u : 0u);
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setdetachstate(&attr, PTHREAD_CREATE_DETACHED);
    if (stackSize > 0)
        pthread_attr_setstacksize(&attr, std::max<size_t>(stackSize, PTHREAD_STACK_MIN));
    auto* arg = new std::shared_ptr<Thread>(thread);
    pthread_t id;
    const int err = pthread_create(&id, &attr, &Thread::Main, arg);
    pthread_attr_destroy(&attr);
    if (err != 0) {
        delete arg;
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    const DWORD tid = thread->WaitForId();
    if (threadId)
        *threadId = tid;
    return AddHandle(thread);
}

DWORD ResumeThread(HANDLE handle)
{
    auto thread = LookupThread(handle);
    return thread ? thread->Resume() : static_cast<DWORD>(-1);
}

BOOL SetThreadPriority(HANDLE handle, int priority)
{
    auto thread = LookupThread(handle);
    if (!thread)
        return FALSE;
    if (!IsThreadPriority(priority)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    thread->SetPriority(priority);
    return TRUE;
}

int GetThreadPriority(HANDLE handle)
{
    auto thread = LookupThread(handle);
    return thread ? thread->Priority() : THREAD_PRIORITY_ERROR_RETURN;
}

BOOL GetExitCodeThread(HANDLE handle, LPDWORD exitCode)
{
    auto thread = LookupThread(handle);
    if (!thread)
        return FALSE;
    if (!exitCode) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *exitCode = thread->ExitCode();
    return TRUE;
}

DWORD GetCurrentThreadId()
{
    return static_cast<DWORD>(gettid());
}
