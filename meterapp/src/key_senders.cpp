#include "meterapp/key_senders.h"

#include <seriallink/ComPort.h>
#include <win32/kernel.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <limits>
#include <mutex>

// Shared by the owner and its sender threads; a thread keeps it alive until
// it has ended, also when the owner is gone by then.
struct CKeySenders::SShared {
    std::mutex lock; // generation, frames, running, and every write to the port
    std::condition_variable changed;
    unsigned generation = 0; // StopAll moves it on: senders of older ones end
    unsigned frames = 0;     // FrameArrived moves it on
    int running = 0;
    CComPort* port = nullptr;
    LinkSource linkSource;
};

struct CKeySenders::SStart {
    std::shared_ptr<SShared> shared;
    meterproto::SKeySender sender;
    unsigned generation = 0;
};

CKeySenders::CKeySenders(CComPort* port, LinkSource linkSource)
    : m_shared(std::make_shared<SShared>())
{
    m_shared->port = port;
    m_shared->linkSource = std::move(linkSource);
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

void CKeySenders::FrameArrived()
{
    {
        std::lock_guard<std::mutex> lock(m_shared->lock);
        ++m_shared->frames;
    }
    m_shared->changed.notify_all();
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
    using Clock = std::chrono::steady_clock;
    std::unique_ptr<SStart> start(static_cast<SStart*>(startArgument));
    SShared& shared = *start->shared;
    const meterproto::SKeySender& sender = start->sender;
    const char command = static_cast<char>(sender.command);

    std::unique_lock<std::mutex> lock(shared.lock);
    meterproto::SKeyProgress progress;
    Clock::time_point lastWrite;
    while (shared.generation == start->generation) {
        if (progress.bytesSent > 0) {
            const auto since = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - lastWrite);
            progress.msSinceWrite = static_cast<DWORD>(std::min<long long>(since.count(), std::numeric_limits<DWORD>::max()));
        }
        DWORD waitMs = 0;
        const meterproto::KeyStep step = meterproto::NextKeyStep(sender, progress, shared.linkSource(), &waitMs);
        if (step == meterproto::KeyStep::End)
            break;
        if (step == meterproto::KeyStep::Write) {
            // Written under the lock, so that senders never write at once and
            // StopAll cannot return while a write is under way. The stream's
            // position is taken after the write: a chunk counted before it
            // cannot be mistaken for one that came after.
            shared.port->Write(&command, 1);
            lastWrite = Clock::now();
            ++progress.bytesSent;
            progress.chunksAtWrite = shared.linkSource().stream.chunks;
            continue;
        }
        const unsigned frames = shared.frames;
        shared.changed.wait_for(lock, std::chrono::milliseconds(waitMs),
            [&] { return shared.generation != start->generation || shared.frames != frames; });
    }
    --shared.running;
    shared.changed.notify_all();
    return 0;
}
