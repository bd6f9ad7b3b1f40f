#include "simulator.h"

#include "line_pacing.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <iostream>
#include <poll.h>
#include <unistd.h>

namespace metersim {

namespace {

using std::chrono::milliseconds;

// Pace of the reply writes: about ten bytes at a time at 960 bytes/s.
constexpr milliseconds kReplyTick{10};
// Requests still on the line when a reply ends are repeats of the one answered.
constexpr milliseconds kRequestEcho{500};

TimeOfDay LocalTimeOfDay()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_hour, local.tm_min, local.tm_sec};
}

std::string KeyResult(MeterKey key, const MeterState& state, bool changed)
{
    if (!changed)
        return "ignored";
    switch (key) {
    case MeterKey::Stop: return state.hold ? "hold on" : "hold off";
    case MeterKey::Rec: return state.rec ? "rec on" : "rec off";
    case MeterKey::MaxMin:
        return state.maxMin == MaxMinMode::Max ? "maxmin max" : state.maxMin == MaxMinMode::Min ? "maxmin min" : "maxmin off";
    case MeterKey::FastSlow: return state.fast ? "fast" : "slow";
    case MeterKey::Level: return "range " + std::to_string(static_cast<int>(state.range));
    case MeterKey::AC: return state.weightingA ? "A" : "C";
    }
    return {};
}

}  // namespace

Simulator::Simulator(const Options& options, LoggerReply storedReply, std::ostream& events)
    : m_options(options)
    , m_faults(m_options.faults)
    , m_storedReply(std::move(storedReply))
    , m_emptyReply(BuildLoggerReply({}))
    , m_events(events)
    , m_room(options.seed ? *options.seed : static_cast<uint32_t>(Clock::now().time_since_epoch().count()))
    , m_faultRng(options.seed ? *options.seed + 1 : static_cast<uint32_t>(std::time(nullptr)))
{
}

Simulator::~Simulator()
{
    Shutdown();
}

void Simulator::Event(const std::string& line)
{
    m_events << line << std::endl;
}

bool Simulator::OpenPort(std::string& error)
{
    if (!m_pty.Open(error))
        return false;
    if (!m_claim.Publish(m_pty.Device(), error)) {
        m_pty.Close();
        return false;
    }
    m_lastHexChar = 0;
    Event("COM" + std::to_string(m_claim.Number()) + " " + m_pty.Device());
    return true;
}

bool Simulator::Start(std::string& error)
{
    const TimePoint now = Clock::now();
    if (!m_claim.Claim(m_options.port, kFirstAutoPort, kLastPort, error))
        return false;
    if (!m_control.Open(m_options.controlPath, error) || !OpenPort(error)) {
        Shutdown();
        return false;
    }
    m_nextFrameAt = now;
    m_lastRoomStep = now;
    if (m_options.vanishAfterMs >= 0)
        m_vanishAt = now + milliseconds(m_options.vanishAfterMs);
    return true;
}

void Simulator::Shutdown()
{
    m_claim.Release();
    m_pty.Close();
    m_control.Close();
}

void Simulator::Vanish()
{
    m_pty.Close();
    m_claim.Withdraw();
    m_queue.clear();
    m_reply = ReplyJob{};
    m_sawRequestFirst = false;
    Event("gone COM" + std::to_string(m_claim.Number()));
}

bool Simulator::Return(TimePoint now, std::string& error)
{
    if (!OpenPort(error))
        return false;
    m_nextFrameAt = now;
    return true;
}

void Simulator::HandleTimers(TimePoint now)
{
    if (m_vanishAt && now >= *m_vanishAt) {
        m_vanishAt.reset();
        if (m_pty.IsOpen()) {
            Vanish();
            if (m_options.returnAfterMs >= 0)
                m_returnAt = now + milliseconds(m_options.returnAfterMs);
        }
    }
    if (m_returnAt && now >= *m_returnAt) {
        m_returnAt.reset();
        std::string error;
        if (!m_pty.IsOpen() && !Return(now, error))
            Event("error " + error);
    }
}

size_t Simulator::WriteSome(const uint8_t* data, size_t length)
{
    size_t written = 0;
    while (written < length) {
        const ssize_t n = write(m_pty.MasterFd(), data + written, length - written);
        if (n > 0) {
            written += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        break;  // the line is full (no one reads the port) or gone
    }
    if (written > 0)
        m_lastHexChar = LastHexChar(data[written - 1]);
    return written;
}

bool Simulator::WriteAll(const std::vector<uint8_t>& bytes)
{
    return WriteSome(bytes.data(), bytes.size()) == bytes.size();
}

void Simulator::Enqueue(std::vector<uint8_t> bytes, TimePoint now)
{
    if (bytes.empty())
        return;
    if (!m_faults.cut || bytes.size() < 2) {
        m_queue.push_back({std::move(bytes), now});
        return;
    }
    for (const FramePiece& piece : CutFrame(bytes.size(), m_options.frameMs, m_faultRng)) {
        m_queue.push_back({std::vector<uint8_t>(bytes.begin() + static_cast<long>(piece.from),
                                                bytes.begin() + static_cast<long>(piece.to)),
                           now + milliseconds(piece.delayMs)});
    }
}

void Simulator::MakePeriodOutput(TimePoint now)
{
    const double dt = std::chrono::duration<double>(now - m_lastRoomStep).count();
    m_lastRoomStep = now;
    const int room = m_room.Step(dt, m_meter.fast);
    const int level = m_faults.fixedTenths ? *m_faults.fixedTenths : WeightedTenths(room, m_meter.weightingA);
    const int shown = m_peak.Show(m_meter.maxMin, level);
    const bool fullStatus = m_fullStatusNext || !m_timeFrameNext;
    if (!m_fullStatusNext)
        m_timeFrameNext = !m_timeFrameNext;
    m_fullStatusNext = false;
    if (m_faults.silent)
        return;

    std::vector<uint8_t> out;
    std::uniform_int_distribution<int> anyByte(0, 255);
    if (m_faults.garbage == GarbageMode::On) {
        for (int i = 0; i < 20; ++i)
            out.push_back(static_cast<uint8_t>(anyByte(m_faultRng)));
        Enqueue(std::move(out), now);
        return;
    }
    if (m_faults.garbage == GarbageMode::Mix) {
        const int count = std::uniform_int_distribution<int>(1, 10)(m_faultRng);
        for (int i = 0; i < count; ++i)
            out.push_back(static_cast<uint8_t>(anyByte(m_faultRng)));
    }
    if (m_meter.hold) {
        out.push_back(kHoldByte);
    } else {
        if (fullStatus)
            m_reportedLimit = NextReportedLimit(m_reportedLimit, LimitFor(m_meter.range, shown));
        const LiveFrame frame = BuildLiveFrame(m_meter, shown, m_reportedLimit, LocalTimeOfDay(),
                                               fullStatus ? FrameKind::FullStatus : FrameKind::WithTime);
        const char previous = out.empty() ? m_lastHexChar : LastHexChar(out.back());
        const std::string problem = CheckLiveFrame(frame, previous);
        if (problem.empty())
            out.insert(out.end(), frame.begin(), frame.end());
        else
            std::cerr << "metersim: frame not sent: " << problem << std::endl;
    }
    Enqueue(std::move(out), now);
}

void Simulator::PumpReply(TimePoint now)
{
    if (!m_reply.started) {
        m_reply.started = true;
        m_reply.start = now;
    }
    const size_t total = m_reply.bytes.size();
    const double elapsed = std::chrono::duration<double>(now - m_reply.start).count();
    const size_t limit = ReplyLimit(total, m_reply.sent, m_faults.stallDownload);
    const size_t due = ReplyBytesDue(total, m_reply.sent, elapsed, m_options.lineRate, m_faults.stallDownload);
    if (due > m_reply.sent)
        m_reply.sent += WriteSome(m_reply.bytes.data() + m_reply.sent, due - m_reply.sent);
    if (m_reply.sent < limit)
        return;
    m_reply = ReplyJob{};
    if (limit < total) {
        Event("download stalled");
        m_deadUntil = now + std::chrono::seconds(m_faults.stallSeconds);
        m_nextFrameAt = m_deadUntil;
    } else {
        Event("download done");
        m_ignoreRequestsUntil = now + kRequestEcho;
        m_nextFrameAt = now;
    }
}

void Simulator::PumpOutput(TimePoint now)
{
    for (int round = 0; round < 2; ++round) {
        while (!m_queue.empty() && m_queue.front().due <= now) {
            // A full line means no one reads the port: the rest of the frame is lost.
            if (!WriteAll(m_queue.front().bytes)) {
                m_queue.clear();
                break;
            }
            m_queue.pop_front();
        }
        if (!m_queue.empty())
            return;
        if (m_reply.active) {
            PumpReply(now);
            return;
        }
        if (now < m_deadUntil || now < m_nextFrameAt || round > 0)
            return;
        MakePeriodOutput(now);
        m_nextFrameAt += milliseconds(m_options.frameMs);
        if (m_nextFrameAt <= now)
            m_nextFrameAt = now + milliseconds(m_options.frameMs);
    }
}

void Simulator::HandleMeterByte(uint8_t byte, TimePoint now)
{
    if (now < m_deadUntil)
        return;
    // While the reply is on the line the meter listens to nothing.
    if (m_reply.active) {
        m_sawRequestFirst = false;
        return;
    }
    if (m_sawRequestFirst) {
        m_sawRequestFirst = false;
        if (byte == kLogRequestSecond) {
            if (now < m_ignoreRequestsUntil || m_faults.silent)
                return;
            m_reply.active = true;
            m_reply.bytes = m_faults.emptyLogger ? m_emptyReply.bytes : m_storedReply.bytes;
            Event("download " + std::to_string(m_reply.bytes.size()));
            return;
        }
    }
    if (byte == kLogRequestFirst) {
        m_sawRequestFirst = true;
        return;
    }
    if (!IsKeyByte(byte))
        return;
    const MeterKey key = static_cast<MeterKey>(byte);
    if (m_faults.keysToDrop > 0) {
        --m_faults.keysToDrop;
        Event(std::string("key ") + KeyName(key) + " dropped");
        return;
    }
    const bool changed = PressKey(m_meter, key);
    Event(std::string("key ") + KeyName(key) + " " + KeyResult(key, m_meter, changed));
    if (changed && !m_options.keysInNextFrame) {
        // The change goes out at once, with every status code.
        m_fullStatusNext = true;
        m_nextFrameAt = now;
    }
}

void Simulator::ReadMeterInput(TimePoint now)
{
    uint8_t buffer[256];
    const ssize_t n = read(m_pty.MasterFd(), buffer, sizeof(buffer));
    for (ssize_t i = 0; i < n; ++i)
        HandleMeterByte(buffer[i], now);
}

void Simulator::HandleControlLine(const std::string& line, TimePoint now)
{
    ControlCommand command;
    std::string error;
    if (line.find_first_not_of(" \t") == std::string::npos)
        return;
    if (!ParseControlCommand(line, command, error)) {
        Event("error " + error);
        return;
    }
    using Kind = ControlCommand::Kind;
    if (command.kind == Kind::Vanish) {
        if (!m_pty.IsOpen()) {
            Event("error the port is already gone");
            return;
        }
        m_returnAt.reset();
        Vanish();
    } else if (command.kind == Kind::Return) {
        if (m_pty.IsOpen()) {
            Event("error the port is there");
            return;
        }
        if (!Return(now, error)) {
            Event("error " + error);
            return;
        }
    } else if (command.kind == Kind::Quit) {
        m_quit = true;
    } else if (command.kind == Kind::State) {
        Event(StateLine(m_meter));
    } else {
        ApplyControlCommand(command, m_faults);
    }
    const size_t first = line.find_first_not_of(" \t");
    const size_t last = line.find_last_not_of(" \t");
    Event("ok " + line.substr(first, last - first + 1));
}

int Simulator::MillisecondsToNextDeadline(TimePoint now) const
{
    TimePoint next = now + std::chrono::seconds(1);
    if (!m_queue.empty())
        next = std::min(next, m_queue.front().due);
    else if (m_reply.active)
        next = std::min(next, now + kReplyTick);
    else if (m_pty.IsOpen())
        next = std::min(next, std::max(m_nextFrameAt, m_deadUntil));
    if (m_vanishAt)
        next = std::min(next, *m_vanishAt);
    if (m_returnAt)
        next = std::min(next, *m_returnAt);
    const auto wait = std::chrono::duration_cast<milliseconds>(next - now).count();
    return static_cast<int>(std::max<long long>(0, wait + (next > now + milliseconds(wait) ? 1 : 0)));
}

void Simulator::Run(int stopFd)
{
    while (!m_quit) {
        TimePoint now = Clock::now();
        HandleTimers(now);
        if (m_pty.IsOpen()) {
            m_pty.ClearExclusive();
            PumpOutput(now);
        }

        std::vector<pollfd> fds = {{stopFd, POLLIN, 0}};
        if (m_pty.IsOpen())
            fds.push_back({m_pty.MasterFd(), POLLIN, 0});
        m_control.AddPollFds(fds);

        const int ready = poll(fds.data(), fds.size(), MillisecondsToNextDeadline(now));
        if (ready < 0 && errno != EINTR) {
            std::cerr << "metersim: poll: " << std::strerror(errno) << std::endl;
            return;
        }
        if (ready <= 0)
            continue;
        now = Clock::now();
        if (fds[0].revents)
            return;
        if (m_pty.IsOpen() && fds[1].fd == m_pty.MasterFd() && (fds[1].revents & POLLIN))
            ReadMeterInput(now);
        for (const std::string& line : m_control.TakeLines(fds))
            HandleControlLine(line, now);
    }
}

}  // namespace metersim
