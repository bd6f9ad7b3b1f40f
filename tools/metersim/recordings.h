// Where the meter's stored recordings come from: a built-in set, or text files.
//
// Recordings file format (plain text, one item per line):
//   # a comment; blank lines are ignored
//   recording YYYY-MM-DD HH:MM:SS INTERVAL A|C
//   65.3 66.1 70.0 ...
// A "recording" line starts a recording: its start date and time, its
// sampling interval in whole seconds (1-99) and its weighting. The lines that
// follow, up to the next "recording" line, hold its levels in dB with at most
// one decimal (0-999.9), any number per line. A recording without levels is
// allowed.
#pragma once

#include "logger_reply.h"

#include <istream>
#include <string>
#include <vector>

namespace metersim {

// Reads the recordings of one file, appending them to out. name is used in
// messages. Returns an empty string on success, else "name:line: problem";
// out then holds the recordings read before the faulty line.
std::string ParseRecordings(std::istream& in, const std::string& name, std::vector<Recording>& out);

// Why these recordings cannot all be held (more than the logger's memory);
// empty when they can.
std::string CapacityProblem(const std::vector<Recording>& recordings);

// The meter's built-in memory: four recordings of different dates, intervals,
// weightings and lengths, one of them running over midnight. Always the same.
std::vector<Recording> GeneratedRecordings();

}  // namespace metersim
