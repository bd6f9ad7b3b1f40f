#include "meterapp/key_senders.h"

#include <seriallink/ComPort.h>
#include <win32/kernel.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

// Shared by the owner and its sender threads; a thread keeps it alive until
// it has ended, also when the owner is gone by then.
struct CKeySenders::SShared {
    std::mutex lock; // generation, running, and every write to the port
    std::condition_variable changed;
    unsigned generation = 0; // StopAll moves it on: senders of older ones end
    int running = 0;
    CComPort* port = nullptr;
    ReadingSource readingSource;
};

struct CKeySenders::SStart {
    std::shared_ptr<SShared> shared;
    meterproto::SKeySender sender;
    unsigned generation = 0;
};

CKeySenders::CKeySenders(CComPort* port, ReadingSource readingSource)
    : m_shared(std::make_shared<SShared>())
{
    m_shared->port = port;
    m_shared->readingSource = std::move(readingSource);
}

CKeySenders::~CKeySenders()
{
    StopAll();
}

bool CKeySenders::Start(const meterproto::SKeySender& sender)
{
    auto* start = new SStart;
    start->shared = m_shared;
    start->sender = sender;
    {
        std::lock_guard<std::mutex> lock(m_shared->lock);
        start->generation = m_shared->generation;
        ++m_shared->running;
    }
    HANDLE thread = CreateThread(nullptr, 0, &KeySenderThreadProc, start, 0, nullptr);
    if (thread == nullptr) {
        {
            std::lock_guard<std::mutex> lock(m_shared->lock);
            --m_shared->running;
        }
        m_shared->changed.notify_all();
        delete start;
        return false;
    }
    CloseHandle(thread);
    return true;
}

void CKeySenders::StopAll()
{
    std::unique_lock<std::mutex> lock(m_shared->lock);
    ++m_shared->generation;
    m_shared->changed.notify_all();
    m_shared->changed.wait(lock, [this] { return m_shared->running == 0; });
}

int CKeySenders::Running() const
{
    std::lock_guard<std::mutex> lock(m_shared->lock);
    return m_shared->running;
}

DWORD WINAPI CKeySenders::KeySenderThreadProc(LPVOID startArgument)
{
    std::unique_ptr<SStart> start(static_cast<SStart*>(startArgument));
    SShared& shared = *start->shared;
    const meterproto::SKeySender& sender = start->sender;
    const char command = static_cast<char>(sender.command);

    std::unique_lock<std::mutex> lock(shared.lock);
    int sent = 0;
    while (shared.generation == start->generation
        && meterproto::KeySenderContinues(sender, sent, shared.readingSource())) {
        // Written under the lock, so that senders never write at once and
        // StopAll cannot return while a write is under way.
        shared.port->Write(&command, 1);
        ++sent;
        shared.changed.wait_for(lock, std::chrono::milliseconds(sender.periodMs),
            [&] { return shared.generation != start->generation; });
    }
    --shared.running;
    shared.changed.notify_all();
    return 0;
}
