// Live-meter benchmark of the decibar program: the delay from a frame's
// arrival to the face showing it, the CPU the program uses while the meter
// streams, and its memory before and after 100,000 frames sent as fast as the
// pseudo-terminal takes them. See README.md.
#include <art/art.h>

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

struct CpuSample {
    double seconds = 0;
    Clock::time_point at;
};

CpuSample ProcessCpu(pid_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const size_t close = text.rfind(')');
    std::vector<std::string> fields;
    size_t pos = close + 2;
    while (pos < text.size()) {
        const size_t next = text.find(' ', pos);
        fields.push_back(text.substr(pos, next - pos));
        if (next == std::string::npos)
            break;
        pos = next + 1;
    }
    CpuSample sample;
    sample.at = Clock::now();
    if (fields.size() > 12)
        sample.seconds = (std::stod(fields[11]) + std::stod(fields[12])) / static_cast<double>(sysconf(_SC_CLK_TCK));
    return sample;
}

long StatusKilobytes(pid_t pid, const std::string& field)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field + ":", 0) == 0)
            return std::strtol(line.c_str() + field.size() + 1, nullptr, 10);
    return -1;
}

// Streams frames of one level every periodMs until stop.
void Stream(int master, int tenths, int periodMs, const Clock::time_point& until)
{
    while (Clock::now() < until) {
        WriteAll(master, LiveFrame(tenths));
        Drain(master);
        std::this_thread::sleep_for(std::chrono::milliseconds(periodMs));
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s path/to/decibar [latency-samples]\n", argv[0]);
        return 2;
    }
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const int samples = argc > 2 ? std::atoi(argv[2]) : 30;
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
    int master = -1, slave = -1;
    char name[128] = {};
    if (openpty(&master, &slave, name, nullptr, nullptr) != 0)
        return 1;
    termios raw {};
    tcgetattr(master, &raw);
    cfmakeraw(&raw);
    tcsetattr(master, TCSANOW, &raw);
    const std::string link = dir + "/ports/com" + std::to_string(kPortNumber);
    std::ofstream(link + ".name") << "Silicon Labs CP210x USB to UART Bridge (COM" << kPortNumber << ")\n";
    std::filesystem::create_symlink(name, link);
    setenv("COMPORTS_DIR", (dir + "/ports").c_str(), 1);
    setenv("WIN32_SYSFS_ROOT", (dir + "/sys").c_str(), 1);
    setenv("NO_AT_BRIDGE", "1", 1);
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);

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

    // The program with its port open and the meter silent, as a base line.
    const CpuSample idleStart = ProcessCpu(child);
    std::this_thread::sleep_for(std::chrono::seconds(10));
    const CpuSample idleEnd = ProcessCpu(child);
    std::printf("CPU with the port open and no frames (10 s): %.2f %% of one core\n",
        100.0 * (idleEnd.seconds - idleStart.seconds) / std::chrono::duration<double>(idleEnd.at - idleStart.at).count());

    // Connect: frames every 250 ms, as the meter sends them, for 2 s.
    Stream(master, 551, 250, Clock::now() + std::chrono::seconds(2));

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

    // CPU while the meter streams at its own pace (a frame every 250 ms).
    const CpuSample cpuStart = ProcessCpu(child);
    Stream(master, 551, 250, Clock::now() + std::chrono::seconds(20));
    const CpuSample cpuEnd = ProcessCpu(child);
    const double wall = std::chrono::duration<double>(cpuEnd.at - cpuStart.at).count();
    std::printf("CPU while streaming (4 frames/s, %.0f s): %.2f %% of one core\n", wall,
        100.0 * (cpuEnd.seconds - cpuStart.seconds) / wall);

    // Memory before and after 100,000 frames as fast as the terminal takes them.
    const long rssBefore = StatusKilobytes(child, "VmRSS");
    const auto floodStart = Clock::now();
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) & ~O_NONBLOCK);
    for (int i = 1; i <= 100000; ++i) {
        WriteAll(master, LiveFrame(300 + i % 700));
        if (i % 10000 == 0)
            std::printf("  %d frames, %.1f s, RSS %ld kB\n", i,
                std::chrono::duration<double>(Clock::now() - floodStart).count(), StatusKilobytes(child, "VmRSS"));
    }
    const double floodSeconds = std::chrono::duration<double>(Clock::now() - floodStart).count();
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    Stream(master, 551, 250, Clock::now() + std::chrono::seconds(3));
    const long rssAfter = StatusKilobytes(child, "VmRSS");
    std::printf("100000 frames written in %.1f s; RSS before %ld kB, after %ld kB (%+ld kB); peak %ld kB\n",
        floodSeconds, rssBefore, rssAfter, rssAfter - rssBefore, StatusKilobytes(child, "VmHWM"));

    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    close(master);
    close(slave);
    std::filesystem::remove_all(dir);
    return 0;
}
