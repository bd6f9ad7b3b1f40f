// Live-meter benchmark of the decibar program: the delay from a frame's
// arrival to the face showing it, the CPU the program uses while the meter
// streams (beside that of a floor program that only redraws a cached picture,
// fed the same frames at the same time), and its memory before and after
// 100,000 frames sent as fast as the pseudo-terminal takes them. See README.md.
#include <art/art.h>

#include "process_stats.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <pty.h>
#include <random>
#include <signal.h>
#include <string>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using Bytes = std::vector<uint8_t>;

constexpr unsigned kIdlePicture = 157;
constexpr unsigned kFirstDigit = 132;
constexpr int kPortNumber = 42;

// A frame with the level in tenths of a dB, A weighting and auto range.
Bytes LiveFrame(int tenths)
{
    Bytes frame(20, 0x00);
    frame[0] = 0xA5;
    frame[1] = 0x0D;
    frame[2] = static_cast<uint8_t>((tenths / 1000 % 10) << 4 | (tenths / 100 % 10));
    frame[3] = static_cast<uint8_t>((tenths / 10 % 10) << 4 | (tenths % 10));
    frame[7] = 0x1B;
    frame[8] = 0xA5;
    frame[9] = 0x40;
    return frame;
}

void WriteAll(int fd, const Bytes& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n > 0)
            done += static_cast<size_t>(n);
    }
}

// Throws away what the program writes to the meter (nothing, unless keys are pressed).
void Drain(int fd)
{
    uint8_t buffer[256];
    while (read(fd, buffer, sizeof buffer) > 0) {
    }
}

class ScreenReader {
public:
    ScreenReader() : m_display(XOpenDisplay(nullptr)) {}
    ~ScreenReader()
    {
        if (m_display)
            XCloseDisplay(m_display);
    }
    bool Open() const { return m_display != nullptr; }

    // Whether the screen shows the picture's pixels w x h from (px, py) at (sx, sy).
    bool Shows(const art::Image& picture, int px, int py, int w, int h, int sx, int sy) const
    {
        XImage* image = XGetImage(m_display, DefaultRootWindow(m_display), sx, sy, static_cast<unsigned>(w),
            static_cast<unsigned>(h), AllPlanes, ZPixmap);
        if (!image)
            return false;
        bool match = true;
        for (int y = 0; y < h && match; ++y)
            for (int x = 0; x < w && match; ++x)
                match = (XGetPixel(image, x, y) & 0xFFFFFFu)
                    == (picture.pixels[static_cast<size_t>(py + y) * picture.width + px + x] & 0xFFFFFFu);
        XDestroyImage(image);
        return match;
    }

    // Where the picture's top-left corner is on the screen; false when it is not shown.
    bool Find(const art::Image& picture, int* originX, int* originY) const
    {
        Window root = DefaultRootWindow(m_display);
        XWindowAttributes attributes;
        XGetWindowAttributes(m_display, root, &attributes);
        XImage* image = XGetImage(m_display, root, 0, 0, static_cast<unsigned>(attributes.width),
            static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
        if (!image)
            return false;
        // The band of the picture with the most colour changes identifies it.
        auto at = [&](int x, int y) { return picture.pixels[static_cast<size_t>(y) * picture.width + x] & 0xFFFFFFu; };
        const int bandW = 48;
        int bandX = 0, bandY = 0, best = -1;
        for (int y = 0; y < picture.height; y += 3) {
            for (int x = 0; x + bandW <= picture.width; x += 5) {
                int changes = 0;
                for (int i = 1; i < bandW; ++i)
                    changes += at(x + i, y) != at(x + i - 1, y);
                if (changes > best) {
                    best = changes;
                    bandX = x;
                    bandY = y;
                }
            }
        }
        bool found = false;
        for (int y = 0; y < image->height && !found; ++y) {
            for (int x = 0; x + bandW < image->width && !found; ++x) {
                bool match = true;
                for (int i = 0; i < bandW && match; ++i)
                    match = (XGetPixel(image, x + i, y) & 0xFFFFFFu) == at(bandX + i, bandY);
                if (match) {
                    *originX = x - bandX;
                    *originY = y - bandY;
                    found = true;
                }
            }
        }
        XDestroyImage(image);
        return found;
    }

private:
    Display* m_display;
};

using bench::CpuPercent;
using bench::CpuSample;
using bench::ProcessCpu;

// A pseudo-terminal whose far end a program opens as its serial port.
struct Line {
    int master = -1;
    int slave = -1;
    std::string name;
};

bool OpenLine(Line* line)
{
    char name[128] = {};
    if (openpty(&line->master, &line->slave, name, nullptr, nullptr) != 0)
        return false;
    termios raw {};
    tcgetattr(line->master, &raw);
    cfmakeraw(&raw);
    tcsetattr(line->master, TCSANOW, &raw);
    fcntl(line->master, F_SETFL, fcntl(line->master, F_GETFL) | O_NONBLOCK);
    line->name = name;
    return true;
}

// What the meter sends in one frame period: the frame, after 1 to 10 random
// bytes when the line is noisy (random bytes may hold anything, 0xA5 0x0D and
// 0xFF included, as the simulated meter's mixed garbage does).
class Meter {
public:
    explicit Meter(bool noisy) : m_noisy(noisy), m_random(415) {}
    Bytes Next()
    {
        // The level changes with every frame, as a real meter's does.
        const int tenths = 551 + (m_frame++ % 9) * 3;
        Bytes out;
        if (m_noisy) {
            const int count = std::uniform_int_distribution<int>(1, 10)(m_random);
            for (int i = 0; i < count; ++i)
                out.push_back(static_cast<uint8_t>(std::uniform_int_distribution<int>(0, 255)(m_random)));
        }
        const Bytes frame = LiveFrame(tenths);
        out.insert(out.end(), frame.begin(), frame.end());
        return out;
    }

private:
    bool m_noisy;
    std::mt19937 m_random;
    int m_frame = 0;
};

// Streams to every line at once, one frame period after another, until `until`.
void Stream(const std::vector<int>& masters, Meter& meter, int periodMs, const Clock::time_point& until)
{
    auto next = Clock::now();
    while (Clock::now() < until) {
        const Bytes bytes = meter.Next();
        for (int master : masters) {
            WriteAll(master, bytes);
            Drain(master);
        }
        next += std::chrono::milliseconds(periodMs);
        std::this_thread::sleep_until(next);
    }
}

// CPU of Decibar and of the floor over the same stream.
void CompareCpu(const char* what, pid_t decibar, pid_t floor, const std::vector<int>& masters, bool noisy,
    int periodMs, int seconds)
{
    Meter meter(noisy);
    const CpuSample d0 = ProcessCpu(decibar), f0 = ProcessCpu(floor);
    Stream(masters, meter, periodMs, Clock::now() + std::chrono::seconds(seconds));
    const CpuSample d1 = ProcessCpu(decibar), f1 = ProcessCpu(floor);
    const double d = CpuPercent(d0, d1), f = CpuPercent(f0, f1);
    std::printf("CPU, %s (%d s): Decibar %.2f %%, floor %.2f %% of one core; ratio %.1f\n", what, seconds, d, f,
        f > 0 ? d / f : 0.0);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s path/to/decibar path/to/decibar_redraw_floor [latency-samples]\n", argv[0]);
        return 2;
    }
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const int samples = argc > 3 ? std::atoi(argv[3]) : 30;
    ScreenReader screen;
    if (!screen.Open()) {
        std::fprintf(stderr, "no display\n");
        return 1;
    }

    // A private port directory with the meter's bridge on a pseudo-terminal.
    char dirTemplate[] = "/tmp/decibar-live-bench-XXXXXX";
    const std::string dir = mkdtemp(dirTemplate);
    std::filesystem::create_directories(dir + "/ports");
    std::filesystem::create_directories(dir + "/sys/class/tty");
    std::filesystem::create_directories(dir + "/sys/devices");
    Line meterLine, floorLine;
    if (!OpenLine(&meterLine) || !OpenLine(&floorLine))
        return 1;
    const int master = meterLine.master;
    const std::string link = dir + "/ports/com" + std::to_string(kPortNumber);
    std::ofstream(link + ".name") << "Silicon Labs CP210x USB to UART Bridge (COM" << kPortNumber << ")\n";
    std::filesystem::create_symlink(meterLine.name, link);
    setenv("COMPORTS_DIR", (dir + "/ports").c_str(), 1);
    setenv("WIN32_SYSFS_ROOT", (dir + "/sys").c_str(), 1);
    setenv("NO_AT_BRIDGE", "1", 1);

    const pid_t child = fork();
    if (child == 0) {
        execl(argv[1], argv[1], static_cast<char*>(nullptr));
        _exit(127);
    }
    int originX = 0, originY = 0;
    const art::Image* idle = art::Find(art::Kind::Bitmap, kIdlePicture);
    const auto startDeadline = Clock::now() + std::chrono::seconds(20);
    while (!screen.Find(*idle, &originX, &originY)) {
        if (Clock::now() > startDeadline) {
            std::fprintf(stderr, "the idle picture never showed\n");
            kill(child, SIGTERM);
            return 1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    std::printf("face at screen (%d, %d)\n", originX, originY);

    // The floor, beside Decibar's window.
    const pid_t floor = fork();
    if (floor == 0) {
        execl(argv[2], argv[2], floorLine.name.c_str(), "1060", "400", static_cast<char*>(nullptr));
        _exit(127);
    }
    const std::vector<int> both = { meterLine.master, floorLine.master };
    std::this_thread::sleep_for(std::chrono::seconds(2));

    // Both programs with their ports open and no frames, as a base line.
    {
        const CpuSample d0 = ProcessCpu(child), f0 = ProcessCpu(floor);
        std::this_thread::sleep_for(std::chrono::seconds(10));
        const CpuSample d1 = ProcessCpu(child), f1 = ProcessCpu(floor);
        std::printf("CPU, port open and no frames (10 s): Decibar %.2f %%, floor %.2f %% of one core\n",
            CpuPercent(d0, d1), CpuPercent(f0, f1));
    }

    // Connect: frames every 250 ms, as the meter sends them, for 2 s.
    Meter quiet(false);
    Stream(both, quiet, 250, Clock::now() + std::chrono::seconds(2));

    // Delay: one frame with a new tenths digit, and the chunk after it, which
    // shows the decoder that the frame is whole (the decoder's own wait for
    // the next frame is not counted: the meter's frame period adds to it).
    std::vector<double> delays;
    int tenths = 551;
    for (int i = 0; i < samples; ++i) {
        tenths = tenths == 551 ? 558 : 551;
        const art::Image* digit = art::Find(art::Kind::Bitmap, kFirstDigit + static_cast<unsigned>(tenths % 10));
        const auto sent = Clock::now();
        WriteAll(master, LiveFrame(tenths));
        WriteAll(master, LiveFrame(tenths));
        bool shown = false;
        while (Clock::now() - sent < std::chrono::seconds(2)) {
            if (screen.Shows(*digit, 0, 0, 25, 45, originX + 125, originY + 116)) {
                shown = true;
                break;
            }
        }
        if (shown)
            delays.push_back(std::chrono::duration<double, std::milli>(Clock::now() - sent).count());
        Drain(master);
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
    }
    std::sort(delays.begin(), delays.end());
    if (!delays.empty())
        std::printf("frame to face: %zu of %d samples, median %.1f ms, min %.1f ms, max %.1f ms\n", delays.size(),
            samples, delays[delays.size() / 2], delays.front(), delays.back());
    else
        std::printf("frame to face: the face never showed a sent frame\n");

    // CPU while the meter streams: at its own pace (a frame every 250 ms), fast,
    // and on a noisy line.
    CompareCpu("4 frames/s", child, floor, both, false, 250, 20);
    CompareCpu("50 frames/s", child, floor, both, false, 20, 20);
    CompareCpu("4 frames/s, 1-10 random bytes before each", child, floor, both, true, 250, 20);
    kill(floor, SIGTERM);
    waitpid(floor, nullptr, 0);

    // Memory before and after 100,000 frames as fast as the terminal takes them.
    const long rssBefore = bench::StatusKilobytes(child, "VmRSS");
    const auto floodStart = Clock::now();
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) & ~O_NONBLOCK);
    for (int i = 1; i <= 100000; ++i) {
        WriteAll(master, LiveFrame(300 + i % 700));
        if (i % 10000 == 0)
            std::printf("  %d frames, %.1f s, RSS %ld kB\n", i,
                std::chrono::duration<double>(Clock::now() - floodStart).count(), bench::StatusKilobytes(child, "VmRSS"));
    }
    const double floodSeconds = std::chrono::duration<double>(Clock::now() - floodStart).count();
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    Stream({ master }, quiet, 250, Clock::now() + std::chrono::seconds(3));
    const long rssAfter = bench::StatusKilobytes(child, "VmRSS");
    std::printf("100000 frames written in %.1f s; RSS before %ld kB, after %ld kB (%+ld kB); peak %ld kB\n",
        floodSeconds, rssBefore, rssAfter, rssAfter - rssBefore, bench::StatusKilobytes(child, "VmHWM"));

    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    for (const Line& line : { meterLine, floorLine }) {
        close(line.master);
        close(line.slave);
    }
    std::filesystem::remove_all(dir);
    return 0;
}
