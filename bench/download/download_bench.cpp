// Logger-download benchmark: Decibar downloads the simulated meter's memory,
// which the meter sends at the pace of a 9600-baud line, and the wall time of
// the DataLogger command is set against the line time of the bytes on the
// line. See README.md.
#include "meterapp/decibar_app.h"
#include "meterapp/decibar_view.h"
#include "meterapp/main_frame.h"
#include "resource.h"
#include "view_test_access.h"

#include <afx/testing.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <signal.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

CDecibarApp theApp;

namespace {

using Clock = std::chrono::steady_clock;

// Line time of a byte at 9600 baud, 8N1: ten bits.
constexpr double kSecondsPerByte = 10.0 / 9600.0;

struct Meter {
    pid_t pid = -1;
    int out = -1;
    std::string buffered;

    bool Line(std::string& line, int timeoutMs)
    {
        const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
        for (;;) {
            const size_t nl = buffered.find('\n');
            if (nl != std::string::npos) {
                line = buffered.substr(0, nl);
                buffered.erase(0, nl + 1);
                return true;
            }
            const int left = static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count());
            pollfd fd { out, POLLIN, 0 };
            if (left <= 0 || poll(&fd, 1, left) <= 0)
                return false;
            char chunk[512];
            const ssize_t n = read(out, chunk, sizeof chunk);
            if (n <= 0)
                return false;
            buffered.append(chunk, static_cast<size_t>(n));
        }
    }
};

Meter StartMeter(const std::vector<std::string>& args)
{
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        std::exit(1);
    Meter meter;
    meter.pid = fork();
    if (meter.pid == 0) {
        dup2(pipeFds[1], 1);
        close(pipeFds[0]);
        std::vector<char*> argv { const_cast<char*>(METERSIM_PATH) };
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(METERSIM_PATH, argv.data());
        _exit(127);
    }
    close(pipeFds[1]);
    meter.out = pipeFds[0];
    return meter;
}

// Recordings of `samples` levels in all, in blocks of at most 2000.
std::string WriteRecordings(const std::string& dir, int samples)
{
    const std::string path = dir + "/recordings.txt";
    std::ofstream out(path);
    int block = 0;
    for (int done = 0; done < samples; ++block) {
        const int count = std::min(2000, samples - done);
        out << "recording 2026-03-" << (10 + block % 18) << " 0" << block % 10 << ":00:00 " << 1 + block % 5
            << (block % 2 ? " C" : " A") << "\n";
        for (int i = 0; i < count; ++i)
            out << (400 + (i * 37 + block * 11) % 600) / 10.0 << (i % 20 == 19 ? "\n" : " ");
        out << "\n";
        done += count;
    }
    return path;
}

double Download(CDecibarView* view, Meter& meter, long* replyBytes)
{
    const auto start = Clock::now();
    view->SendMessage(WM_COMMAND, ID_DATALOGGER, 0);
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    *replyBytes = -1;
    std::string line;
    while (meter.Line(line, 1000))
        if (line.rfind("download ", 0) == 0 && line != "download done" && line != "download stalled")
            *replyBytes = std::atol(line.c_str() + 9);
    return wall;
}

}  // namespace

int main(int argc, char** argv)
{
    const int samples = argc > 1 ? std::atoi(argv[1]) : 20000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 3;

    char pattern[] = "/tmp/decibar-download-XXXXXX";
    const std::string dir = mkdtemp(pattern);
    std::filesystem::create_directories(dir + "/ports");
    setenv("COMPORTS_DIR", (dir + "/ports").c_str(), 1);
    setenv("XDG_CONFIG_HOME", dir.c_str(), 1);

    std::vector<std::string> args { "--port", "47", "--seed", "3" };
    if (samples > 0) {
        args.push_back("--recordings");
        args.push_back(WriteRecordings(dir, samples));
    }
    Meter meter = StartMeter(args);
    std::string line;
    if (!meter.Line(line, 10000)) {
        std::fprintf(stderr, "metersim did not start\n");
        return 1;
    }

    AfxTestInitialize();
    AfxTestSetModalAnswerer([](const AfxModalRequest& request) {
        if (request.kind == AfxModalRequest::MessageBox) {
            std::fprintf(stderr, "message: %ls\n", request.text.c_str());
            return static_cast<int>(IDNO);
        }
        return 0;  // the wait box stays until the download closes it
    });
    if (!theApp.InitInstance())
        return 1;
    CDecibarView* view = g_pView;
    if (!AfxTestPumpUntil([&] { return DecibarViewTestAccess::Connected(view).load(); }, 15000)) {
        std::fprintf(stderr, "no link to the meter\n");
        return 1;
    }

    std::printf("%s, %d runs\n", samples > 0 ? (std::to_string(samples) + " samples").c_str() : "built-in recordings",
        runs);
    for (int run = 0; run < runs; ++run) {
        AfxTestPumpUntil([] { return false; }, 500);
        long replyBytes = 0;
        const double wall = Download(view, meter, &replyBytes);
        const double lineTime = (replyBytes + 2) * kSecondsPerByte;
        std::printf("run %d: %ld reply bytes, %ld records; line %.3f s, download %.3f s, ratio %.4f\n", run + 1,
            replyBytes, static_cast<long>(g_pLogRecords->GetSize()), lineTime, wall, wall / lineTime);
        std::fflush(stdout);
    }
    DeleteAllRecords(g_pLogRecords);  // no save question on closing
    AfxGetMainWnd()->SendMessage(WM_CLOSE);
    AfxTestPumpUntil([] { return AfxGetMainWnd() == nullptr; }, 2000);
    kill(meter.pid, SIGTERM);
    waitpid(meter.pid, nullptr, 0);
    std::filesystem::remove_all(dir);
    return 0;
}
