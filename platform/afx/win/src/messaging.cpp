// Messages between threads: SendMessage waits for the user-interface thread,
// PostMessage queues. The user-interface thread runs what other threads sent
// from its event loop and, through the Win32 wait hook, while it blocks in
// Sleep or a wait, so that it never waits on a thread that waits on it.
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

#include "internal.h"
#include "win32/threadhook.h"

namespace {

struct Pending {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool post;
    std::function<void()> call;
    LRESULT result = 0;
    bool done = false;
};

struct Queue {
    std::mutex mutex;
    std::condition_variable doneCv;
    std::deque<std::shared_ptr<Pending>> items;
    bool wakeQueued = false;
    bool shutDown = false;
};

Queue& TheQueue()
{
    static Queue* queue = new Queue;
    return *queue;
}

// Default-constructed (no thread) until the layer is set up.
std::atomic<std::thread::id> g_uiThread{};

void WaitHook()
{
    afxwin::RunSentMessages(false);
}

void RequestWake(Queue& q)
{
    // Expects q.mutex held.
    if (q.wakeQueued || !wxTheApp)
        return;
    q.wakeQueued = true;
    wxTheApp->CallAfter([] { afxwin::RunSentMessages(true); });
    wxWakeUpIdle();
}

// Runs what other threads queued also where wx holds back its queued calls
// (inside a queued call that runs a nested modal loop). It ticks only while
// such a call runs, so an idle program is not woken.
class QueueTimer : public wxTimer {
public:
    void Notify() override { afxwin::RunSentMessages(true); }
};

QueueTimer* g_queueTimer = nullptr;
int g_queuedCallDepth = 0;

class QueuedCallScope {
public:
    QueuedCallScope()
    {
        if (g_queuedCallDepth++ == 0 && g_queueTimer)
            g_queueTimer->Start(5);
    }
    ~QueuedCallScope()
    {
        if (--g_queuedCallDepth == 0 && g_queueTimer)
            g_queueTimer->Stop();
    }
    QueuedCallScope(const QueuedCallScope&) = delete;
    QueuedCallScope& operator=(const QueuedCallScope&) = delete;
};

// A call run once from the event loop, whichever loop runs.
class OnceTimer : public wxTimer {
public:
    explicit OnceTimer(std::function<void()> call) : m_call(std::move(call)) {}
    void Notify() override
    {
        auto call = std::move(m_call);
        delete this;
        call();
    }

private:
    std::function<void()> m_call;
};

}  // namespace

namespace afxwin {

void RunSoon(std::function<void()> call)
{
    auto* timer = new OnceTimer(std::move(call));
    timer->StartOnce(1);
}

void DisposeTimer(std::unique_ptr<AfxTimer> timer)
{
    if (!timer)
        return;
    timer->Stop();
    // The timer may be the one whose tick is running now: it goes once that is over.
    AfxTimer* raw = timer.release();
    if (wxTheApp)
        RunSoon([raw] { delete raw; });
    else
        delete raw;
}

void SetUiThread()
{
    g_uiThread = std::this_thread::get_id();
    win32::SetThreadWaitHook(&WaitHook);
    if (!g_queueTimer)
        g_queueTimer = new QueueTimer;
    Queue& q = TheQueue();
    std::lock_guard<std::mutex> qlock(q.mutex);
    q.shutDown = false;
}

bool IsUiThread()
{
    return g_uiThread.load() == std::this_thread::get_id();
}

#if !defined(NDEBUG) || defined(AFX_CHECKED_BUILD)
void RequireUiThread(const char* call)
{
    const std::thread::id ui = g_uiThread.load();
    if (ui != std::thread::id() && ui != std::this_thread::get_id()) {
        std::fprintf(stderr, "afx: %s called off the user-interface thread\n", call);
        std::abort();
    }
}

void Unsupported(const char* call, const char* what)
{
    std::fprintf(stderr, "afx: %s: %s\n", call, what);
    std::abort();
}
#else
void RequireUiThread(const char*) {}
void Unsupported(const char*, const char*) {}
#endif

void RunSentMessages(bool includePosted)
{
    if (!IsUiThread())
        return;
    Queue& q = TheQueue();
    for (;;) {
        std::shared_ptr<Pending> item;
        {
            std::lock_guard<std::mutex> lock(q.mutex);
            auto it = q.items.begin();
            while (it != q.items.end() && (*it)->post && !includePosted)
                ++it;
            if (it == q.items.end()) {
                if (includePosted)
                    q.wakeQueued = false;
                return;
            }
            item = *it;
            q.items.erase(it);
        }
        LRESULT result = 0;
        {
            QueuedCallScope scope;
            if (item->call)
                item->call();
            else
                result = Dispatch(item->hwnd, item->message, item->wParam, item->lParam);
        }
        if (!item->post) {
            std::lock_guard<std::mutex> lock(q.mutex);
            item->result = result;
            item->done = true;
            q.doneCv.notify_all();
        }
    }
}

void ShutdownSends()
{
    Queue& q = TheQueue();
    std::lock_guard<std::mutex> lock(q.mutex);
    q.shutDown = true;
    for (auto& item : q.items)
        item->done = true;
    q.items.clear();
    q.doneCv.notify_all();
}

}  // namespace afxwin

LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!afxwin::IsLive(hwnd))
        return 0;
    if (afxwin::IsUiThread())
        return afxwin::Dispatch(hwnd, message, wParam, lParam);
    Queue& q = TheQueue();
    auto item = std::make_shared<Pending>(Pending{hwnd, message, wParam, lParam, false, {}});
    std::unique_lock<std::mutex> lock(q.mutex);
    if (q.shutDown)
        return 0;
    q.items.push_back(item);
    RequestWake(q);
    q.doneCv.wait(lock, [&] { return item->done; });
    return item->result;
}

BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!afxwin::IsLive(hwnd))
        return FALSE;
    Queue& q = TheQueue();
    std::lock_guard<std::mutex> lock(q.mutex);
    if (q.shutDown)
        return FALSE;
    q.items.push_back(std::make_shared<Pending>(Pending{hwnd, message, wParam, lParam, true, {}}));
    RequestWake(q);
    return TRUE;
}

namespace afxwin {

void CallOnUiThread(const std::function<void()>& call)
{
    if (IsUiThread()) {
        call();
        return;
    }
    Queue& q = TheQueue();
    auto item = std::make_shared<Pending>(Pending{nullptr, 0, 0, 0, false, call});
    std::unique_lock<std::mutex> lock(q.mutex);
    if (q.shutDown)
        return;
    q.items.push_back(item);
    RequestWake(q);
    q.doneCv.wait(lock, [&] { return item->done; });
}

}  // namespace afxwin
