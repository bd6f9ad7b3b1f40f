#include "logger_meter.h"

namespace livetest {

using namespace std::chrono_literals;

LoggerMeter::LoggerMeter(FakeMeterLine& line) : m_line(line)
{
    m_thread = std::thread([this] { Run(); });
}

LoggerMeter::~LoggerMeter()
{
    m_running = false;
    m_thread.join();
}

namespace {

int CountRequests(const Bytes& bytes)
{
    int requests = 0;
    for (size_t i = 0; i + 1 < bytes.size(); ++i)
        if (bytes[i] == 0x5A && bytes[i + 1] == 0xAC)
            ++requests;
    return requests;
}

}  // namespace

int LoggerMeter::RequestsAfterQuiet(std::chrono::milliseconds quiet, std::chrono::milliseconds limit,
    std::chrono::milliseconds span)
{
    const auto giveUp = std::chrono::steady_clock::now() + limit;
    while (!m_line.ReadOffUiThread(static_cast<int>(quiet.count())).empty())
        if (std::chrono::steady_clock::now() >= giveUp)
            return -1;
    return CountRequests(m_line.ReadOffUiThread(static_cast<int>(span.count())));
}

void LoggerMeter::Run()
{
    Bytes pending;
    bool replied = false;
    auto nextFrame = std::chrono::steady_clock::now();
    while (m_running) {
        const Bytes got = m_line.ReadOffUiThread(20);
        pending.insert(pending.end(), got.begin(), got.end());
        const int requests = CountRequests(pending);
        if (!pending.empty())
            pending.erase(pending.begin(), pending.end() - 1);
        {
            // A new reply answers the next request again.
            std::lock_guard<std::mutex> lock(m_lock);
            if (!m_reply.empty())
                replied = false;
        }
        if (!replied)
            requestsSeen += requests;

        std::vector<Piece> reply;
        bool silentAfter = false;
        if (requests > 0 && !replied) {
            std::lock_guard<std::mutex> lock(m_lock);
            reply.swap(m_reply);
            silentAfter = m_silentAfter;
        }
        if (!reply.empty()) {
            replied = true;
            for (Piece& piece : reply) {
                std::this_thread::sleep_for(piece.pause);
                if (piece.before)
                    piece.before();
                if (!piece.bytes.empty())
                    m_line.Write(piece.bytes);
            }
            if (silentAfter)
                silent = true;
            // Requests that crossed the reply on the line do not ask for the next one.
            std::this_thread::sleep_for(50ms);
            m_line.ReadOffUiThread(10);
        }
        if (!silent && std::chrono::steady_clock::now() >= nextFrame) {
            m_line.Write(LiveFrame(653));
            nextFrame = std::chrono::steady_clock::now() + 100ms;
        }
    }
}

const Bytes kExampleReply = { 0xBB, 0x00, 0x70, 0xAA, 0x11, 0x06, 0x15, 0x21, 0x30, 0x00, 0x02, 0xAC, 0x06, 0x53,
    0x07, 0x01, 0xDD };

Bytes Slice(const Bytes& bytes, size_t from, size_t to)
{
    return Bytes(bytes.begin() + static_cast<long>(from), bytes.begin() + static_cast<long>(to));
}

}  // namespace livetest
