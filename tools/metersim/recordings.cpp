#include "recordings.h"

#include "level_model.h"
#include "number_text.h"

#include <cstdio>
#include <sstream>

namespace metersim {

namespace {

bool ParseHeader(std::istringstream& words, Recording& r)
{
    std::string date, time, weighting, extra;
    int interval = 0;
    if (!(words >> date >> time >> interval >> weighting) || (words >> extra))
        return false;
    char dash1 = 0, dash2 = 0, colon1 = 0, colon2 = 0;
    char tail = 0;
    if (std::sscanf(date.c_str(), "%4d%c%2d%c%2d%c", &r.year, &dash1, &r.month, &dash2, &r.day, &tail) != 5
        || dash1 != '-' || dash2 != '-')
        return false;
    if (std::sscanf(time.c_str(), "%2d%c%2d%c%2d%c", &r.hour, &colon1, &r.minute, &colon2, &r.second, &tail) != 5
        || colon1 != ':' || colon2 != ':')
        return false;
    if (weighting != "A" && weighting != "C")
        return false;
    r.weightingA = weighting == "A";
    r.intervalSeconds = interval;
    return true;
}

Recording Generated(uint32_t seed, bool weightingA, int year, int month, int day, int hour, int minute,
                    int second, int interval, int samples)
{
    Recording r;
    r.weightingA = weightingA;
    r.year = year;
    r.month = month;
    r.day = day;
    r.hour = hour;
    r.minute = minute;
    r.second = second;
    r.intervalSeconds = interval;
    LevelModel room(seed);
    for (int i = 0; i < samples; ++i)
        r.tenths.push_back(WeightedTenths(room.Step(interval, true), weightingA));
    return r;
}

}  // namespace

std::string ParseRecordings(std::istream& in, const std::string& name, std::vector<Recording>& out)
{
    std::string line;
    int lineNumber = 0;
    bool inRecording = false;
    while (std::getline(in, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::string where = name + ":" + std::to_string(lineNumber) + ": ";
        std::istringstream words(line);
        std::string first;
        if (!(words >> first) || first[0] == '#')
            continue;
        if (first == "recording") {
            Recording r;
            if (!ParseHeader(words, r))
                return where + "expected \"recording YYYY-MM-DD HH:MM:SS INTERVAL A|C\"";
            if (std::string problem = RecordingProblem(r); !problem.empty())
                return where + problem;
            out.push_back(r);
            inRecording = true;
            continue;
        }
        if (!inRecording)
            return where + "levels before the first \"recording\" line";
        for (std::string word = first; !word.empty(); word.clear(), words >> word) {
            const std::optional<int> tenths = ParseLevelText(word);
            if (!tenths)
                return where + "\"" + word + "\" is not a level in dB (0-999.9, one decimal)";
            out.back().tenths.push_back(*tenths);
        }
    }
    return {};
}

std::string CapacityProblem(const std::vector<Recording>& recordings)
{
    const size_t bytes = BlockBytes(recordings);
    if (bytes > kLoggerCapacityBytes)
        return "the recordings take " + std::to_string(bytes) + " bytes; the logger holds "
             + std::to_string(kLoggerCapacityBytes);
    return {};
}

std::vector<Recording> GeneratedRecordings()
{
    return {
        Generated(11, true, 2026, 11, 27, 9, 15, 0, 1, 300),
        Generated(12, false, 2026, 12, 1, 13, 40, 30, 5, 120),
        Generated(13, true, 2026, 12, 5, 23, 58, 0, 2, 90),  // runs past midnight
        Generated(14, true, 2026, 12, 8, 7, 5, 9, 60, 12),
    };
}

}  // namespace metersim
