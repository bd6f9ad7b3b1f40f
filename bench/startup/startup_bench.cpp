// Start-up benchmark of Decibar: time from starting the program to the first
// painted window (the idle picture of the meter on the screen), and the memory
// of the idle program a few seconds later.
//
//   scripts/with-display.sh build/bin/decibar_startup_bench build/bin/decibar [runs]
//
// Needs an X display (with-display.sh starts an Xvfb when none is set).
#include <art/art.h>

#include "process_stats.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

constexpr unsigned kIdlePicture = 157;
constexpr int kProbeWidth = 48;
constexpr int kProbeRows = 4;
constexpr auto kTimeout = std::chrono::seconds(30);
constexpr auto kIdleWait = std::chrono::seconds(3);

// A few rows of the idle picture that the screen must show once it is painted.
struct Probe {
    int x = 0;
    int y = 0;
    std::vector<unsigned long> rows[kProbeRows];
};

// Picks the row band with the most colour changes so that it matches only
// the picture, not a plain area of the window.
Probe MakeProbe(const art::Image& picture)
{
    Probe probe;
    int bestChanges = -1;
    for (int y = 0; y + kProbeRows <= picture.height; y += 7) {
        for (int x = 0; x + kProbeWidth <= picture.width; x += 13) {
            int changes = 0;
            for (int i = 1; i < kProbeWidth; ++i)
                changes += picture.pixels[y * picture.width + x + i] != picture.pixels[y * picture.width + x + i - 1];
            if (changes > bestChanges) {
                bestChanges = changes;
                probe.x = x;
                probe.y = y;
            }
        }
    }
    for (int r = 0; r < kProbeRows; ++r)
        for (int i = 0; i < kProbeWidth; ++i)
            probe.rows[r].push_back(picture.pixels[(probe.y + r) * picture.width + probe.x + i] & 0xFFFFFFu);
    return probe;
}

bool ScreenShows(Display* display, const Probe& probe)
{
    Window root = DefaultRootWindow(display);
    XWindowAttributes attributes;
    XGetWindowAttributes(display, root, &attributes);
    XImage* image = XGetImage(display, root, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
    if (!image)
        return false;
    // Reads the pixels straight from the image: XGetPixel per pixel would make
    // one scan take longer than the start-up being measured.
    auto pixel = [image](int x, int y) -> unsigned long {
        if (image->bits_per_pixel != 32 || image->byte_order != LSBFirst)
            return XGetPixel(image, x, y) & 0xFFFFFFu;
        const char* row = image->data + static_cast<size_t>(y) * image->bytes_per_line;
        uint32_t value;
        std::memcpy(&value, row + static_cast<size_t>(x) * 4, 4);
        return value & 0xFFFFFFu;
    };
    bool found = false;
    for (int y = 0; y + kProbeRows <= image->height && !found; ++y) {
        for (int x = 0; x + kProbeWidth <= image->width && !found; ++x) {
            bool match = true;
            for (int r = 0; r < kProbeRows && match; ++r)
                for (int i = 0; i < kProbeWidth && match; ++i)
                    match = pixel(x + i, y + r) == probe.rows[r][i];
            found = match;
        }
    }
    XDestroyImage(image);
    return found;
}

struct RunResult {
    double firstPaintMs = -1;
    long rssKb = -1;
    long peakKb = -1;
};

RunResult RunOnce(const char* program, Display* display, const Probe& probe)
{
    RunResult result;
    const auto start = Clock::now();
    pid_t child = fork();
    if (child == 0) {
        execl(program, program, static_cast<char*>(nullptr));
        _exit(127);
    }
    if (child < 0)
        return result;
    while (Clock::now() - start < kTimeout) {
        if (waitpid(child, nullptr, WNOHANG) == child)
            return result; // the program ended before it painted
        if (ScreenShows(display, probe)) {
            result.firstPaintMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    if (result.firstPaintMs >= 0) {
        std::this_thread::sleep_for(kIdleWait);
        result.rssKb = bench::StatusKilobytes(child, "VmRSS");
        result.peakKb = bench::StatusKilobytes(child, "VmHWM");
    }
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    // Let the window vanish so that the next run cannot see the old picture.
    for (int i = 0; i < 500 && ScreenShows(display, probe); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return result;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <path to decibar> [runs]\n", argv[0]);
        return 2;
    }
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    const art::Image* picture = art::Find(art::Kind::Bitmap, kIdlePicture);
    Display* display = XOpenDisplay(nullptr);
    if (!picture || !display) {
        std::fprintf(stderr, "no idle picture or no X display\n");
        return 2;
    }
    const Probe probe = MakeProbe(*picture);

    std::vector<double> times;
    long rss = 0, peak = 0;
    for (int i = 0; i < runs; ++i) {
        RunResult r = RunOnce(argv[1], display, probe);
        if (r.firstPaintMs < 0) {
            std::fprintf(stderr, "run %d: no painted window within %lld s\n", i + 1,
                static_cast<long long>(kTimeout.count()));
            return 1;
        }
        std::printf("run %d: first paint %.0f ms, idle RSS %ld KiB, peak RSS %ld KiB\n", i + 1, r.firstPaintMs,
            r.rssKb, r.peakKb);
        times.push_back(r.firstPaintMs);
        rss = std::max(rss, r.rssKb);
        peak = std::max(peak, r.peakKb);
    }
    std::sort(times.begin(), times.end());
    std::printf("first paint: median %.0f ms, min %.0f ms, max %.0f ms over %d runs\n", times[times.size() / 2],
        times.front(), times.back(), runs);
    std::printf("idle memory: RSS up to %ld KiB, peak RSS up to %ld KiB\n", rss, peak);
    XCloseDisplay(display);
    return 0;
}
