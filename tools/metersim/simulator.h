// The simulated meter at run time: its port, its timing, its faults.
#pragma once

#include "level_model.h"
#include "live_frame.h"
#include "line_reader.h"
#include "logger_reply.h"
#include "meter_state.h"
#include "options.h"
#include "port_claim.h"
#include "pseudo_terminal.h"

#include <chrono>
#include <deque>
#include <memory>
#include <optional>
#include <ostream>
#include <random>
#include <string>
#include <vector>

namespace metersim {

class Simulator {
public:
    // storedReply is the logger reply of the recordings the meter holds.
    // Event lines (see --help) go to events.
    Simulator(const Options& options, LoggerReply storedReply, std::ostream& events);
    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    // Claims the COM number, opens the pseudo-terminal, writes the link and
    // prints the first line; opens the control FIFO. False with error set on
    // failure (nothing is left behind then).
    bool Start(std::string& error);

    // Runs until "quit" or until stopFd becomes readable (a signal).
    void Run(int stopFd);

    // Removes the link, gives the number up, closes the port and the FIFO.
    void Shutdown();

private:
    using Clock = std::chrono::steady_clock;
    using TimePoint = Clock::time_point;

    struct Piece {
        std::vector<uint8_t> bytes;
        TimePoint due;
    };

    struct ReplyJob {
        bool active = false;
        bool started = false;  // paced from `start` once pending frame pieces are out
        std::vector<uint8_t> bytes;
        size_t sent = 0;
        TimePoint start;
    };

    bool OpenControlFifo(std::string& error);
    bool OpenPort(std::string& error);
    void Vanish(TimePoint now);
    bool Return(TimePoint now, std::string& error);

    void HandleTimers(TimePoint now);
    void PumpOutput(TimePoint now);
    void PumpReply(TimePoint now);
    void MakePeriodOutput(TimePoint now);
    void Enqueue(std::vector<uint8_t> bytes, TimePoint now);
    bool WriteAll(const std::vector<uint8_t>& bytes);
    size_t WriteSome(const uint8_t* data, size_t length);

    void ReadMeterInput(TimePoint now);
    void HandleMeterByte(uint8_t byte, TimePoint now);
    void HandleControlLine(const std::string& line, TimePoint now);
    int MillisecondsToNextDeadline(TimePoint now) const;
    void Event(const std::string& line);

    Options m_options;
    Faults& m_faults;
    LoggerReply m_storedReply;
    LoggerReply m_emptyReply;
    std::ostream& m_events;

    PseudoTerminal m_pty;
    PortClaim m_claim;
    MeterState m_meter;
    LevelModel m_room;
    PeakHold m_peak;
    std::mt19937 m_faultRng;

    TimePoint m_nextFrameAt;
    TimePoint m_lastRoomStep;
    bool m_timeFrameNext = true;
    bool m_fullStatusNext = false;
    Limit m_reportedLimit = Limit::Inside;
    std::deque<Piece> m_queue;
    ReplyJob m_reply;
    TimePoint m_deadUntil;            // after a stalled download: no output, no input
    TimePoint m_ignoreRequestsUntil;  // requests that crossed the reply on the line
    bool m_sawRequestFirst = false;
    char m_lastHexChar = 0;           // of the last byte written to the line

    std::optional<TimePoint> m_vanishAt;
    std::optional<TimePoint> m_returnAt;
    bool m_quit = false;

    std::unique_ptr<LineReader> m_stdin;
    std::unique_ptr<LineReader> m_fifo;
    int m_fifoWriteFd = -1;
    bool m_createdFifo = false;
};

}  // namespace metersim
