// Open and save of a data file against awk reading and writing the same file.
//
//   bench_datafile compare DIR [LINES] [RUNS]   the whole comparison (defaults 40000 lines, 15 runs)
//   bench_datafile read FILE                    one Open: read and parse, as the program does
//   bench_datafile write FILE LINES             one Save: format and replace the file safely
//
// compare times each command as a whole process, from its start to its exit,
// ours and awk's in turn, and prints the medians and the median of the
// pairwise ratios.
#include "meterfiles/data_file.h"
#include "meterfiles/file_store.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>
#include <fcntl.h>
#include <fstream>

extern char** environ;

namespace {

CString Wide(const std::string& text)
{
    return CString(text.c_str());
}

int Read(const std::string& path)
{
    CObArray records;
    CString problem;
    if (meterfiles::ReadDataFile(Wide(path), records, &problem) != meterfiles::EDataFileRead::Read) {
        std::fprintf(stderr, "%s is not read\n", path.c_str());
        return 1;
    }
    // Open ends holding the records: they are not freed one by one here.
    std::printf("%ld records\n", static_cast<long>(records.GetSize()));
    std::fflush(stdout);
    std::_Exit(0);
}

// Records as a recording of the meter holds them: levels that change, times a second apart.
void MakeRecords(CObArray& records, int lines)
{
    for (int i = 0; i < lines; ++i) {
        CString time;
        time.Format(L"%.2d-%.2d-%d,%.2d:%.2d:%.2d", 15, 6, 2011, 13 + i / 3600 % 10, i / 60 % 60, i % 60);
        records.Add(new CObjData(40.0 + (i * 37 % 700) / 10.0, time, i % 7 ? L"dBA" : L"dBC", 0, 1.0));
    }
}

int Write(const std::string& path, int lines)
{
    CObArray records;
    MakeRecords(records, lines);
    CString problem;
    const bool written = meterfiles::ReplaceFileContents(Wide(path), meterfiles::FormatDataFile(records), &problem);
    DeleteAllRecords(&records);
    if (!written) {
        std::fprintf(stderr, "not written\n");
        return 1;
    }
    return 0;
}

// Runs argv to its end, its output thrown away; the wall time in milliseconds.
double Time(const std::vector<std::string>& argv)
{
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ) != 0) {
        std::fprintf(stderr, "cannot start %s\n", args[0]);
        std::exit(1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    const auto end = std::chrono::steady_clock::now();
    posix_spawn_file_actions_destroy(&actions);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s failed\n", args[0]);
        std::exit(1);
    }
    return std::chrono::duration<double, std::milli>(end - start).count();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void Compare(const char* what, const std::vector<std::string>& ours, const std::vector<std::string>& awk, int runs)
{
    Time(ours);  // warm-up
    Time(awk);
    std::vector<double> a, b, ratio;
    for (int i = 0; i < runs; ++i) {
        a.push_back(Time(ours));
        b.push_back(Time(awk));
        ratio.push_back(a.back() / b.back());
    }
    std::printf("%-5s ours %7.2f ms (min %.2f, max %.2f)   awk %7.2f ms (min %.2f, max %.2f)   ratio %.2f\n", what,
        Median(a), *std::min_element(a.begin(), a.end()), *std::max_element(a.begin(), a.end()), Median(b),
        *std::min_element(b.begin(), b.end()), *std::max_element(b.begin(), b.end()), Median(ratio));
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "read" && argc == 3)
        return Read(argv[2]);
    if (mode == "write" && argc == 4)
        return Write(argv[2], std::atoi(argv[3]));
    if (mode == "compare" && argc >= 3) {
        const std::string dir = argv[2];
        const int lines = argc > 3 ? std::atoi(argv[3]) : 40000;
        const int runs = argc > 4 ? std::atoi(argv[4]) : 15;
        const std::string self = argv[0];
        const std::string file = dir + "/bench-data.txt";
        const std::string awkFile = dir + "/bench-awk.txt";
        if (Write(file, lines) != 0)
            return 1;
        std::printf("%d lines, %ld bytes\n", lines, static_cast<long>(std::ifstream(file, std::ios::binary | std::ios::ate).tellg()));
        Compare("open", { self, "read", file }, { "awk", "-F, ", "{ s += $2 } END { print NR, s }", file }, runs);
        const std::string awkWrite = "BEGIN { for (i = 0; i < " + std::to_string(lines)
            + "; i++) printf \"%.2d-%.2d-%d,%.2d:%.2d:%.2d, %5.2f, %s\\r\\n\", 15, 6, 2011, 13 + int(i / 3600) % 10, "
              "int(i / 60) % 60, i % 60, 40 + (i * 37 % 700) / 10, (i % 7 ? \"dBA\" : \"dBC\") > \""
            + awkFile + "\" }";
        Compare("save", { self, "write", file, std::to_string(lines) }, { "awk", awkWrite }, runs);
        return 0;
    }
    std::fprintf(stderr, "usage: %s compare DIR [LINES] [RUNS] | read FILE | write FILE LINES\n", argv[0]);
    return 2;
}
