#include "receivelog.h"

namespace testutil {

void ReceiveLog::Callback(void* self, char* data, int length)
{
    static_cast<ReceiveLog*>(self)->Add(data, length);
}

void ReceiveLog::Add(const char* data, int length)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_chunks.emplace_back(data, static_cast<size_t>(length));
    m_times.push_back(Clock::now());
    m_changed.notify_all();
}

bool ReceiveLog::WaitForBytes(size_t n, int timeoutMs)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return TotalLocked() >= n; });
}

std::string ReceiveLog::All() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    std::string all;
    for (const std::string& c : m_chunks)
        all += c;
    return all;
}

std::vector<std::string> ReceiveLog::Chunks() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_chunks;
}

Clock::time_point ReceiveLog::LastTime() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_times.empty() ? Clock::time_point() : m_times.back();
}

size_t ReceiveLog::TotalLocked() const
{
    size_t n = 0;
    for (const std::string& c : m_chunks)
        n += c.size();
    return n;
}

std::string Pattern(size_t n, size_t offset)
{
    std::string s(n, '\0');
    for (size_t i = 0; i < n; ++i)
        s[i] = static_cast<char>('A' + (i + offset) % 53);
    return s;
}

}  // namespace testutil
