// Command line of the metersim program.
#pragma once

#include "faults.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace metersim {

struct Options {
    int port = 0;                 // 0: the first free number from kFirstAutoPort
    int frameMs = 250;            // live frame period
    bool keysInNextFrame = false; // show a press only in the next regular frame
    int lineRate = 960;           // download reply pace in bytes/s; 0: unpaced
    std::vector<std::string> recordingFiles;
    std::string controlPath;      // FIFO for control commands; empty: none
    std::optional<uint32_t> seed; // room level seed; empty: from the clock
    Faults faults;
    int vanishAfterMs = -1;       // disappear this long after start; -1: never
    int returnAfterMs = -1;       // come back this long after disappearing
    bool help = false;
};

constexpr int kFirstAutoPort = 40;
constexpr int kLastPort = 256;

// Parses argv[1..argc-1]. Returns false with error set on a bad option.
bool ParseOptions(int argc, const char* const* argv, Options& options, std::string& error);

// The text of --help.
const char* HelpText();

}  // namespace metersim
