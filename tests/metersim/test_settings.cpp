// Recordings files, options, control commands and the room's level.
#include "faults.h"
#include "level_model.h"
#include "meter_state.h"
#include "options.h"
#include "recordings.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace metersim;

namespace {

std::string Parse(const std::string& text, std::vector<Recording>& out)
{
    std::istringstream in(text);
    return ParseRecordings(in, "rec.txt", out);
}

bool ParseArgs(std::vector<const char*> args, Options& options, std::string& error)
{
    args.insert(args.begin(), "metersim");
    return ParseOptions(static_cast<int>(args.size()), args.data(), options, error);
}

}  // namespace

TEST(RecordingsFile, ReadsRecordingsWithTheirLevels)
{
    std::vector<Recording> out;
    const std::string text =
        "# two recordings\r\n"
        "\n"
        "recording 2026-12-01 14:30:05 2 A\n"
        "65.3 66.1  70\n"
        "0.5\t999.9\n"
        "recording 2027-01-31 00:00:00 99 C\n"
        "recording 2027-02-01 23:59:59 1 A\r\n"
        "  # a comment among levels\n"
        "45.0\r\n";
    ASSERT_EQ(Parse(text, out), "");
    ASSERT_EQ(out.size(), 3u);
    EXPECT_TRUE(out[0].weightingA);
    EXPECT_EQ(out[0].year, 2026);
    EXPECT_EQ(out[0].month, 12);
    EXPECT_EQ(out[0].day, 1);
    EXPECT_EQ(out[0].hour, 14);
    EXPECT_EQ(out[0].minute, 30);
    EXPECT_EQ(out[0].second, 5);
    EXPECT_EQ(out[0].intervalSeconds, 2);
    EXPECT_EQ(out[0].tenths, (std::vector<int>{653, 661, 700, 5, 9999}));
    EXPECT_FALSE(out[1].weightingA);
    EXPECT_TRUE(out[1].tenths.empty());
    EXPECT_EQ(out[2].tenths, std::vector<int>{450});
}

TEST(RecordingsFile, FaultsNameTheirLine)
{
    const struct {
        const char* text;
        const char* where;
    } cases[] = {
        {"65.3\n", "rec.txt:1:"},
        {"recording 2026-12-01 14:30:05 2\n", "rec.txt:1:"},
        {"recording 2026-12-01 14:30:05 2 B\n", "rec.txt:1:"},
        {"recording 2026-02-30 14:30:05 2 A\n", "rec.txt:1:"},
        {"recording 1999-12-01 14:30:05 2 A\n", "rec.txt:1:"},
        {"recording 2026-12-01 24:00:00 2 A\n", "rec.txt:1:"},
        {"recording 2026-12-01 14:30:05 0 A\n", "rec.txt:1:"},
        {"recording 2026-12-01 14:30:05 2 A extra\n", "rec.txt:1:"},
        {"recording 2026/12/01 14:30:05 2 A\n", "rec.txt:1:"},
        {"recording 2026-12-01 14:30:05 2 A\n65.3\n65.33\n", "rec.txt:3:"},
        {"recording 2026-12-01 14:30:05 2 A\n\n-5\n", "rec.txt:3:"},
        {"recording 2026-12-01 14:30:05 2 A\n1000.0\n", "rec.txt:2:"},
        {"recording 2026-12-01 14:30:05 2 A\n65,3\n", "rec.txt:2:"},
        {"recording 2026-12-01 14:30:05 2 A\nabc\n", "rec.txt:2:"},
    };
    for (const auto& c : cases) {
        std::vector<Recording> out;
        const std::string error = Parse(c.text, out);
        EXPECT_EQ(error.rfind(c.where, 0), 0u) << c.text << " -> " << error;
    }
}

TEST(RecordingsFile, CapacityOfTheLogger)
{
    Recording r;
    r.tenths.assign((kLoggerCapacityBytes - 9) / 2, 500);
    std::vector<Recording> full = {r};
    EXPECT_EQ(CapacityProblem(full), "");
    full.push_back(Recording{});
    EXPECT_NE(CapacityProblem(full), "");
    const LoggerReply reply = BuildLoggerReply({r});
    EXPECT_EQ(reply.bytes[1] << 8 | reply.bytes[2], static_cast<int>(BlockBytes({r}) + 1 + 98));
    EXPECT_LE(reply.bytes[1] << 8 | reply.bytes[2], 0xFFFF);
}

TEST(Options, DefaultsAndValues)
{
    Options o;
    std::string error;
    ASSERT_TRUE(ParseArgs({}, o, error));
    EXPECT_EQ(o.port, 0);
    EXPECT_EQ(o.frameMs, 250);
    EXPECT_EQ(o.lineRate, 960);
    EXPECT_FALSE(o.faults.silent);
    EXPECT_FALSE(o.keysInNextFrame);

    Options v;
    ASSERT_TRUE(ParseArgs({"--port", "12", "--frame-ms=50", "--line-rate", "0", "--recordings", "a.txt",
                           "--recordings=b.txt", "--seed", "7", "--control", "/tmp/f", "--silent", "--cut",
                           "--garbage=mix", "--stall-download=3", "--empty", "--level", "65.3", "--vanish-after",
                           "100", "--return-after=200", "--keys-in-next-frame", "--frame-ms", "1900"},
                          v, error))
        << error;
    EXPECT_EQ(v.port, 12);
    EXPECT_EQ(v.frameMs, 1900);
    EXPECT_TRUE(v.keysInNextFrame);
    EXPECT_EQ(v.lineRate, 0);
    EXPECT_EQ(v.recordingFiles, (std::vector<std::string>{"a.txt", "b.txt"}));
    EXPECT_EQ(v.seed, 7u);
    EXPECT_EQ(v.controlPath, "/tmp/f");
    EXPECT_TRUE(v.faults.silent);
    EXPECT_TRUE(v.faults.cut);
    EXPECT_EQ(v.faults.garbage, GarbageMode::Mix);
    EXPECT_TRUE(v.faults.stallDownload);
    EXPECT_EQ(v.faults.stallSeconds, 3);
    EXPECT_TRUE(v.faults.emptyLogger);
    EXPECT_EQ(v.faults.fixedTenths, 653);
    EXPECT_EQ(v.vanishAfterMs, 100);
    EXPECT_EQ(v.returnAfterMs, 200);
}

TEST(Options, Refused)
{
    const std::vector<std::vector<const char*>> bad = {
        {"--port"},          {"--port", "0"},        {"--port", "257"},      {"--port", "x"},
        {"--frame-ms", "5"}, {"--frame-ms", "2000"}, {"--line-rate", "-1"},  {"--level", "65.35"},
        {"--garbage=some"},  {"--silent=yes"},       {"--return-after", "5"}, {"--bogus"},
        {"--recordings="},   {"--stall-download=x"},  {"--keys-in-next-frame=1"},
        {"--port", "+5"},    {"--port", "12x"},      {"--sil"},              {"--"},
        {"mix"},             {"--port=12", "extra"},
    };
    for (const auto& args : bad) {
        Options o;
        std::string error;
        EXPECT_FALSE(ParseArgs(args, o, error)) << args[0];
        EXPECT_FALSE(error.empty());
    }
}

TEST(ControlCommands, ParseAndApply)
{
    using Kind = ControlCommand::Kind;
    Faults f;
    const struct {
        const char* line;
        Kind kind;
    } good[] = {
        {"silent on", Kind::Silent}, {"  cut on ", Kind::Cut},   {"garbage mix", Kind::Garbage},
        {"stall on 2", Kind::Stall}, {"empty on", Kind::Empty},  {"level 70.5", Kind::Level},
        {"vanish", Kind::Vanish},    {"return", Kind::Return},   {"quit", Kind::Quit},
        {"drop 2", Kind::Drop},      {"state", Kind::State},
    };
    for (const auto& c : good) {
        ControlCommand command;
        std::string error;
        ASSERT_TRUE(ParseControlCommand(c.line, command, error)) << c.line << ": " << error;
        EXPECT_EQ(command.kind, c.kind) << c.line;
        ApplyControlCommand(command, f);
    }
    EXPECT_TRUE(f.silent);
    EXPECT_TRUE(f.cut);
    EXPECT_EQ(f.garbage, GarbageMode::Mix);
    EXPECT_TRUE(f.stallDownload);
    EXPECT_EQ(f.stallSeconds, 2);
    EXPECT_TRUE(f.emptyLogger);
    EXPECT_EQ(f.fixedTenths, 705);
    EXPECT_EQ(f.keysToDrop, 2);

    for (const char* line : {"silent off", "cut off", "garbage off", "stall off", "empty off", "level wander"}) {
        ControlCommand command;
        std::string error;
        ASSERT_TRUE(ParseControlCommand(line, command, error)) << line;
        ApplyControlCommand(command, f);
    }
    EXPECT_FALSE(f.silent);
    EXPECT_FALSE(f.cut);
    EXPECT_EQ(f.garbage, GarbageMode::Off);
    EXPECT_FALSE(f.stallDownload);
    EXPECT_FALSE(f.emptyLogger);
    EXPECT_FALSE(f.fixedTenths.has_value());

    for (const char* line : {"", "silent", "silent maybe", "dance", "stall on x", "level", "level loud", "vanish now",
                             "garbage", "drop", "drop x", "drop -1", "drop 1 2", "state now"}) {
        ControlCommand command;
        std::string error;
        EXPECT_FALSE(ParseControlCommand(line, command, error)) << line;
        EXPECT_FALSE(error.empty()) << line;
    }
}

TEST(ControlCommands, StateLineNamesEveryAnnunciator)
{
    MeterState state;
    EXPECT_EQ(StateLine(state), "state hold off rec off maxmin off speed fast range 4 weighting A");
    state.hold = true;
    state.rec = true;
    state.maxMin = MaxMinMode::Min;
    state.fast = false;
    state.range = Range::Mid50to100;
    state.weightingA = false;
    EXPECT_EQ(StateLine(state), "state hold on rec on maxmin min speed slow range 2 weighting C");
}

TEST(Room, WandersWithinItsBoundsAndRepeatsForASeed)
{
    LevelModel a(42), b(42), c(43);
    int lowest = 10000, highest = 0, changes = 0, previous = -1;
    bool differs = false;
    for (int i = 0; i < 20000; ++i) {
        const int level = a.Step(0.25, i % 1000 < 500);
        EXPECT_EQ(level, b.Step(0.25, i % 1000 < 500));
        differs = differs || level != c.Step(0.25, i % 1000 < 500);
        lowest = std::min(lowest, level);
        highest = std::max(highest, level);
        changes += previous >= 0 && level != previous;
        previous = level;
    }
    EXPECT_GE(lowest, 350);
    EXPECT_LE(highest, 800);
    // It really wanders: a spread of well over 10 dB, moving most of the time.
    EXPECT_GT(highest - lowest, 150);
    EXPECT_GT(changes, 15000);
    EXPECT_TRUE(differs);
}

TEST(Room, DisplayWeightingAndPeakHold)
{
    EXPECT_EQ(WeightedTenths(500, true), 500);
    EXPECT_EQ(WeightedTenths(500, false), 525);
    EXPECT_EQ(WeightedTenths(9990, false), 9999);

    PeakHold hold;
    EXPECT_EQ(hold.Show(MaxMinMode::Off, 500), 500);
    EXPECT_EQ(hold.Show(MaxMinMode::Max, 500), 500);
    EXPECT_EQ(hold.Show(MaxMinMode::Max, 620), 620);
    EXPECT_EQ(hold.Show(MaxMinMode::Max, 480), 620);
    EXPECT_EQ(hold.Show(MaxMinMode::Min, 530), 530);  // a new mode starts afresh
    EXPECT_EQ(hold.Show(MaxMinMode::Min, 410), 410);
    EXPECT_EQ(hold.Show(MaxMinMode::Min, 700), 410);
    EXPECT_EQ(hold.Show(MaxMinMode::Off, 700), 700);
}
