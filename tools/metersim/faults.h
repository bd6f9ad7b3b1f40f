// Fault switches of the simulated meter, and the control commands that set them.
#pragma once

#include <optional>
#include <string>

namespace metersim {

enum class GarbageMode { Off, On, Mix };

struct Faults {
    bool silent = false;               // send nothing, keep the port
    GarbageMode garbage = GarbageMode::Off;
    bool cut = false;                  // write frames in random pieces
    bool stallDownload = false;        // stop every download half-way
    int stallSeconds = 5;              // silence after a stopped download
    bool emptyLogger = false;          // answer downloads with an empty logger
    std::optional<int> fixedTenths;    // show this level instead of the room's
    int keysToDrop = 0;                // the next key bytes that are lost on the line
};

// One line of the control channel.
struct ControlCommand {
    enum class Kind { Silent, Garbage, Cut, Stall, Empty, Level, Drop, State, Vanish, Return, Quit };
    Kind kind = Kind::Quit;
    bool on = false;                   // Silent, Cut, Stall, Empty
    GarbageMode garbage = GarbageMode::Off;
    int seconds = 5;                   // Stall
    int count = 0;                     // Drop
    std::optional<int> tenths;         // Level: empty for "wander"
};

// Parses one control line (surrounding blanks ignored). Returns false with
// error set when the line is not a command.
bool ParseControlCommand(const std::string& line, ControlCommand& command, std::string& error);

// Applies a switch command to faults; State, Vanish, Return and Quit change
// nothing here.
void ApplyControlCommand(const ControlCommand& command, Faults& faults);

}  // namespace metersim
