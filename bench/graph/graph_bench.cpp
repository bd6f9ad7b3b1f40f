// Benchmark of the real-time graph and recorder in Decibar's own window, in
// this process (see README.md beside this file):
//   draw [repeats]     full redraws with 40,000 records, unzoomed and zoomed,
//                      beside one blit of the same area
//   memory             resident memory of 40,000 recorded samples above the
//                      idle program, the graph redrawn as they come
//   record [seconds]   CPU of a recording at 0.1 s with a meter streaming,
//                      against the same meter streaming with no recording
#include "meterapp/decibar_app.h"
#include "meterapp/decibar_view.h"
#include "meterdata/recording.h"
#include "meterdata/records.h"
#include "resource.h"
#include "support/ptyline.h"
#include "view_test_access.h"

#include <afx/testing.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRecords = 40000;
constexpr int kMeterPort = 3;

double Ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

long VmRssKb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atol(line.c_str() + 6);
    return -1;
}

double CpuSeconds()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec
        + usage.ru_stime.tv_usec / 1e6;
}

double ThreadCpuSeconds()
{
    timespec t {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

void Pump(int ms)
{
    AfxTestPumpUntil([] { return false; }, ms);
}

// A sample as a recording at 0.1 s takes it, with a level that wanders.
CObjData* Sample(int i, std::time_t start)
{
    const std::time_t at = start + i / 10;
    std::tm local {};
    localtime_r(&at, &local);
    return MakeSample(45.0 + 15.0 * ((i * 7919) % 1000) / 1000.0, true, local, 0.1);
}

struct SStats {
    double median, mean, worst;
};

template <class F> SStats Time(int repeats, F&& work)
{
    std::vector<double> ms;
    for (int i = 0; i < repeats; ++i) {
        const auto start = Clock::now();
        work();
        ms.push_back(Ms(Clock::now() - start));
        AfxTestPump();
    }
    std::sort(ms.begin(), ms.end());
    double sum = 0;
    for (double m : ms)
        sum += m;
    return { ms[ms.size() / 2], sum / ms.size(), ms.back() };
}

void Print(const char* what, const SStats& s)
{
    std::printf("%-46s median %7.3f ms  mean %7.3f ms  worst %7.3f ms\n", what, s.median, s.mean, s.worst);
}

// A meter on a pseudo-terminal listed as the bridge on COM3 (in the port
// directory COMPORTS_DIR names): a frame every 250 ms.
class Meter {
public:
    Meter() : m_line(kMeterPort, "Silicon Labs CP210x USB to UART Bridge (COM3)")
    {
        fcntl(m_line.master(), F_SETFL, fcntl(m_line.master(), F_GETFL) | O_NONBLOCK);
        m_thread = std::thread([this] {
            int tenths = 453;
            while (m_running) {
                unsigned char frame[20] = { 0xA5, 0x0D };
                tenths = 400 + (tenths * 37 + 11) % 300;
                frame[2] = static_cast<unsigned char>((tenths / 1000 % 10) << 4 | (tenths / 100 % 10));
                frame[3] = static_cast<unsigned char>((tenths / 10 % 10) << 4 | (tenths % 10));
                frame[7] = 0x1B;
                if (write(m_line.master(), frame, sizeof frame) < 0 && errno != EAGAIN)
                    break;
                unsigned char drain[64];
                while (read(m_line.master(), drain, sizeof drain) > 0) {
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(250));
            }
        });
    }
    ~Meter()
    {
        m_running = false;
        if (m_thread.joinable())
            m_thread.join();
    }

private:
    testutil::PtyLine m_line;
    std::atomic<bool> m_running { true };
    std::thread m_thread;
};

CDecibarView* StartProgram(CDecibarApp& app)
{
    AfxTestInitialize();
    AfxTestSetModalAnswerer([](const AfxModalRequest&) { return static_cast<int>(IDNO); });
    if (!app.InitInstance())
        return nullptr;
    AfxTestPumpUntil([] { return AfxGetMainWnd() && AfxGetMainWnd()->IsWindowVisible(); });
    // The size of a maximised window on a 1280 x 1024 screen.
    CWnd* frame = AfxGetMainWnd();
    frame->ShowWindow(SW_RESTORE);
    frame->SetWindowPos(nullptr, 0, 0, 1280, 1000, SWP_NOZORDER);
    Pump(500);
    return g_pView;
}

CGraphicsBtn& GraphOf(CDecibarView* view)
{
    return *static_cast<CGraphicsBtn*>(view->GetDlgItem(IDC_GRAPH));
}

int Draw(CDecibarView* view, int repeats)
{
    CGraphicsBtn& graph = GraphOf(view);
    CRect client;
    graph.GetClientRect(&client);
    std::printf("graph control %d x %d px, plot %d x %d px\n", client.Width(), client.Height(),
        graph.m_nPlotWidth, graph.m_nPlotHeight);

    // One blit of the control's area from a memory bitmap to the control.
    {
        CClientDC screen(&graph);
        CDC memory;
        memory.CreateCompatibleDC(&screen);
        CBitmap picture;
        picture.CreateCompatibleBitmap(&screen, client.Width(), client.Height());
        CBitmap* old = memory.SelectObject(&picture);
        memory.FillSolidRect(0, 0, client.Width(), client.Height(), RGB(0, 100, 100));
        Print("one blit of the control's area", Time(repeats, [&] {
            screen.BitBlt(0, 0, client.Width(), client.Height(), &memory, 0, 0, SRCCOPY);
        }));
        memory.SelectObject(old);
    }

    const std::time_t start = std::time(nullptr);
    for (int i = 0; i < kRecords; ++i)
        g_pRealTimeRecords->Add(Sample(i, start));
    graph.DrawGraph(g_pRealTimeRecords); // widens the X axis to the records once
    std::printf("%d records, X max %.1f, X scale %.3f samples per pixel\n", kRecords, graph.m_dXMax,
        graph.m_dXScale);
    Print("full redraw, unzoomed (all records visible)",
        Time(repeats, [&] { graph.DrawGraph(g_pRealTimeRecords); }));

    // Zoomed: 200 samples from sample 20,000 and 40..80 dB; then 2,000.
    graph.m_dZoomed = 1.0;
    graph.m_dXStart = 20000;
    graph.m_dXScale = 200.0 / graph.m_nPlotWidth;
    graph.m_dYOffset = 40;
    graph.m_dYScale = 40.0 / graph.m_nPlotHeight;
    Print("full redraw, zoomed (200 samples, markers)", Time(repeats, [&] { graph.DrawGraph(g_pRealTimeRecords); }));
    graph.m_dXScale = 2000.0 / graph.m_nPlotWidth;
    Print("full redraw, zoomed (2,000 samples)", Time(repeats, [&] { graph.DrawGraph(g_pRealTimeRecords); }));
    return 0;
}

int Memory(CDecibarView* view)
{
    Pump(300);
    const long before = VmRssKb();
    const std::time_t start = std::time(nullptr);
    for (int i = 0; i < kRecords; ++i) {
        g_pRealTimeRecords->Add(Sample(i, start));
        if (i % 10 == 9) {
            GraphOf(view).DrawGraph(g_pRealTimeRecords);
            AfxTestPump();
        }
    }
    Pump(300);
    const long after = VmRssKb();
    std::printf("VmRSS idle %ld kB, after %d samples (the graph redrawn every 10) %ld kB:\n", before, kRecords,
        after);
    std::printf("  %ld kB above idle = %.2f MiB = %.2f MB\n", after - before, (after - before) / 1024.0,
        (after - before) * 1024.0 / 1e6);
    return 0;
}

int Record(CDecibarView* view, int seconds)
{
    if (!AfxTestPumpUntil([&] { return DecibarViewTestAccess::Connected(view).load(); }, 15000)) {
        std::fprintf(stderr, "the meter did not connect\n");
        return 1;
    }
    Pump(2000);
    double cpu = CpuSeconds();
    auto wall = Clock::now();
    Pump(seconds * 1000);
    const double idle = (CpuSeconds() - cpu) / std::chrono::duration<double>(Clock::now() - wall).count();
    std::printf("meter streaming, no recording, %d s: %.2f %% of a core\n", seconds, idle * 100);

    static_cast<CComboBox*>(view->GetDlgItem(IDC_RATE))->SetCurSel(0);
    AfxGetMainWnd()->SendMessage(WM_COMMAND, ID_REALTIME_RUN, 0);
    if (!DecibarViewTestAccess::Recording(view)) {
        std::fprintf(stderr, "the recording did not start\n");
        return 1;
    }
    cpu = CpuSeconds();
    wall = Clock::now();
    const double start = cpu;
    const auto startWall = wall;
    for (int minute = 0; minute * 60 < seconds; ++minute) {
        const int slice = std::min(60, seconds - minute * 60);
        Pump(slice * 1000);
        const double used = CpuSeconds() - cpu;
        const double took = std::chrono::duration<double>(Clock::now() - wall).count();
        std::printf("recording at 0.1 s, %4d s in, %5d samples: %.2f %% of a core in the last %d s\n",
            (minute * 60 + slice), static_cast<int>(g_pRealTimeRecords->GetSize()), used / took * 100, slice);
        std::fflush(stdout);
        cpu = CpuSeconds();
        wall = Clock::now();
    }
    const double recording
        = (CpuSeconds() - start) / std::chrono::duration<double>(Clock::now() - startWall).count();
    std::printf("recording, %d s, %d samples: %.2f %% of a core; above streaming alone: %.2f %%\n", seconds,
        static_cast<int>(g_pRealTimeRecords->GetSize()), recording * 100, (recording - idle) * 100);

    // The recorder's own work: the same ticks sent by hand, the thread's CPU
    // time of each (sample, statistics, the whole redraw) and of the screen
    // paint that follows it, apart from the event loop's work around them.
    view->KillTimer(CDecibarView::TIMER_SAMPLE);
    const int ticks = 600;
    double tickCpu = 0, paintCpu = 0;
    for (int i = 0; i < ticks; ++i) {
        const double before = ThreadCpuSeconds();
        view->SendMessage(WM_TIMER, CDecibarView::TIMER_SAMPLE, 0);
        const double ticked = ThreadCpuSeconds();
        GraphOf(view).UpdateWindow();
        AfxTestPump();
        tickCpu += ticked - before;
        paintCpu += ThreadCpuSeconds() - ticked;
        Pump(100);
    }
    std::printf("%d more ticks by hand, up to %d samples: %.3f ms per tick, %.3f ms for the paint and events after "
                "it: %.2f %% of a core at ten ticks a second\n",
        ticks, static_cast<int>(g_pRealTimeRecords->GetSize()), tickCpu / ticks * 1000, paintCpu / ticks * 1000,
        (tickCpu + paintCpu) / ticks * 10 * 100);
    AfxGetMainWnd()->SendMessage(WM_COMMAND, ID_REALTIME_STOP, 0);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "draw";
    if (mode != "draw" && mode != "memory" && mode != "record") {
        std::fprintf(stderr, "usage: decibar_graph_bench draw [repeats] | memory | record [seconds]\n");
        return 2;
    }
    // A private port directory and device tree: only the benchmark's meter is found.
    char root[] = "/tmp/decibar-graph-bench-XXXXXX";
    if (!mkdtemp(root))
        return 1;
    const std::string ports = std::string(root) + "/ports";
    const std::string sysfs = std::string(root) + "/sys";
    std::filesystem::create_directories(ports);
    std::filesystem::create_directories(sysfs + "/class/tty");
    std::filesystem::create_directories(sysfs + "/devices");
    setenv("COMPORTS_DIR", ports.c_str(), 1);
    setenv("WIN32_SYSFS_ROOT", sysfs.c_str(), 1);
    std::unique_ptr<Meter> meter;
    if (mode == "record")
        meter = std::make_unique<Meter>();

    CDecibarApp app;
    CDecibarView* view = StartProgram(app);
    int result = 1;
    if (!view)
        std::fprintf(stderr, "the program did not start\n");
    else if (mode == "draw")
        result = Draw(view, argc > 2 ? std::max(5, std::atoi(argv[2])) : 50);
    else if (mode == "memory")
        result = Memory(view);
    else
        result = Record(view, argc > 2 ? std::max(10, std::atoi(argv[2])) : 600);
    if (view) {
        DeleteAllRecords(g_pRealTimeRecords);
        AfxGetMainWnd()->SendMessage(WM_CLOSE);
        AfxTestPump();
    }
    meter.reset();
    std::filesystem::remove_all(root);
    return result;
}
