// Start-up benchmark of Decibar beside a bare frame of the same toolkit and
// size (decibar_bare_frame), both on the same display in one run: time from
// starting the program to its first painted window, the memory of the idle
// program a few seconds later, and the GL libraries it has mapped.
//
//   scripts/with-display.sh build/bin/decibar_startup_bench build/bin/decibar build/bin/decibar_bare_frame [runs]
//
// Needs an X display (with-display.sh starts an Xvfb when none is set).
#include <art/art.h>

#include "process_stats.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

constexpr unsigned kIdlePicture = 157;
constexpr unsigned long kBareGround = 0x3A6E5B; // the bare frame's client area
constexpr int kProbeWidth = 48;
constexpr int kProbeRows = 4;
constexpr auto kTimeout = std::chrono::seconds(30);
constexpr auto kIdleWait = std::chrono::seconds(3);

// A few rows of pixels that the screen must show once the window is painted.
struct Probe {
    std::vector<unsigned long> rows[kProbeRows];
};

// Picks the row band of the picture with the most colour changes so that it
// matches only the picture, not a plain area of the window.
Probe PictureProbe(const art::Image& picture)
{
    int bestX = 0, bestY = 0, bestChanges = -1;
    for (int y = 0; y + kProbeRows <= picture.height; y += 7) {
        for (int x = 0; x + kProbeWidth <= picture.width; x += 13) {
            int changes = 0;
            for (int i = 1; i < kProbeWidth; ++i)
                changes += picture.pixels[y * picture.width + x + i] != picture.pixels[y * picture.width + x + i - 1];
            if (changes > bestChanges) {
                bestChanges = changes;
                bestX = x;
                bestY = y;
            }
        }
    }
    Probe probe;
    for (int r = 0; r < kProbeRows; ++r)
        for (int i = 0; i < kProbeWidth; ++i)
            probe.rows[r].push_back(picture.pixels[(bestY + r) * picture.width + bestX + i] & 0xFFFFFFu);
    return probe;
}

Probe PlainProbe(unsigned long rgb)
{
    Probe probe;
    for (auto& row : probe.rows)
        row.assign(kProbeWidth, rgb);
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

// The size of the largest window shown on the screen: the program's frame.
bool LargestWindow(Display* display, int* width, int* height)
{
    Window root = DefaultRootWindow(display), parent = 0, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, root, &root, &parent, &children, &count))
        return false;
    long best = 0;
    for (unsigned i = 0; i < count; ++i) {
        XWindowAttributes attributes;
        if (XGetWindowAttributes(display, children[i], &attributes) && attributes.map_state == IsViewable &&
            long(attributes.width) * attributes.height > best) {
            best = long(attributes.width) * attributes.height;
            *width = attributes.width;
            *height = attributes.height;
        }
    }
    if (children)
        XFree(children);
    return best > 0;
}

// GTK keeps the visuals it chose by probing GL in a property of the root
// window, and only the first GTK program on a display probes. Without the
// property every start is measured as such a first start.
void ForgetChosenVisuals(Display* display)
{
    XDeleteProperty(display, DefaultRootWindow(display), XInternAtom(display, "GDK_VISUALS", False));
    XSync(display, False);
}

// The GL libraries and drivers the process has mapped (file names).
std::set<std::string> MappedGl(pid_t pid)
{
    std::set<std::string> found;
    std::ifstream maps("/proc/" + std::to_string(pid) + "/maps");
    std::string line;
    while (std::getline(maps, line)) {
        const size_t slash = line.rfind('/');
        if (slash == std::string::npos)
            continue;
        const std::string name = line.substr(slash + 1);
        for (const char* prefix : {"libGL", "libEGL", "libOpenGL", "libLLVM", "libgallium", "libglapi", "libvulkan"})
            if (name.rfind(prefix, 0) == 0)
                found.insert(name);
        if (name.find("_dri.so") != std::string::npos)
            found.insert(name);
    }
    return found;
}

struct Program {
    const char* label;
    const char* path;
    Probe probe;
    std::vector<std::string> args;
    bool glOffUnlessAsked = false;
};

struct RunResult {
    double firstPaintMs = -1;
    long rssKb = -1;
    long pssKb = -1;
    std::set<std::string> gl;
    int width = 0;
    int height = 0;
};

RunResult RunOnce(const Program& program, Display* display)
{
    RunResult result;
    ForgetChosenVisuals(display);
    std::vector<char*> argv{const_cast<char*>(program.path)};
    for (const std::string& arg : program.args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    const auto start = Clock::now();
    pid_t child = fork();
    if (child == 0) {
        if (program.glOffUnlessAsked)
            setenv("GDK_GL", "disable", 0);
        execv(program.path, argv.data());
        _exit(127);
    }
    if (child < 0)
        return result;
    while (Clock::now() - start < kTimeout) {
        if (waitpid(child, nullptr, WNOHANG) == child)
            return result; // the program ended before it painted
        if (ScreenShows(display, program.probe)) {
            result.firstPaintMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    if (result.firstPaintMs >= 0) {
        std::this_thread::sleep_for(kIdleWait);
        result.rssKb = bench::StatusKilobytes(child, "VmRSS");
        result.pssKb = bench::RollupKilobytes(child, "Pss");
        result.gl = MappedGl(child);
        LargestWindow(display, &result.width, &result.height);
    }
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    // Let the window vanish so that the next run cannot see the old picture.
    for (int i = 0; i < 500 && ScreenShows(display, program.probe); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return result;
}

template <typename T>
T Median(std::vector<T> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Figures {
    std::vector<double> paint;
    std::vector<long> rss, pss;
    int runsWithGl = 0;
    std::set<std::string> gl;

    void Add(const RunResult& r)
    {
        paint.push_back(r.firstPaintMs);
        rss.push_back(r.rssKb);
        pss.push_back(r.pssKb);
        runsWithGl += !r.gl.empty();
        gl.insert(r.gl.begin(), r.gl.end());
    }
};

std::string Names(const std::set<std::string>& names)
{
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : " ") + name;
    return text.empty() ? "none" : text;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <path to decibar> <path to decibar_bare_frame> [runs]\n", argv[0]);
        return 2;
    }
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
    const art::Image* picture = art::Find(art::Kind::Bitmap, kIdlePicture);
    Display* display = XOpenDisplay(nullptr);
    if (!picture || !display) {
        std::fprintf(stderr, "no idle picture or no X display\n");
        return 2;
    }
    Program decibar{"decibar", argv[1], PictureProbe(*picture), {}, false};
    // The floor is given what Decibar chooses for itself: no GL probe unless
    // the environment sets GDK_GL.
    Program bare{"bare frame", argv[2], PlainProbe(kBareGround), {}, true};
    std::printf("GDK_GL: %s\n", std::getenv("GDK_GL") ? std::getenv("GDK_GL") : "(not set)");

    Figures figures[2];
    for (int i = 0; i < runs; ++i) {
        // Alternate which program starts first, so that neither always meets
        // a display the other has just warmed up.
        for (int k = 0; k < 2; ++k) {
            const int which = (i + k) % 2;
            Program& program = which == 0 ? decibar : bare;
            RunResult r = RunOnce(program, display);
            if (r.firstPaintMs < 0) {
                std::fprintf(stderr, "run %d: %s painted no window within %lld s\n", i + 1, program.label,
                    static_cast<long long>(kTimeout.count()));
                return 1;
            }
            std::printf("run %d: %-10s first paint %4.0f ms, idle RSS %6ld KiB, PSS %6ld KiB, GL: %s\n", i + 1,
                program.label, r.firstPaintMs, r.rssKb, r.pssKb, Names(r.gl).c_str());
            std::fflush(stdout);
            figures[which].Add(r);
            // The bare frame takes Decibar's window size; Decibar starts first in the first run.
            if (which == 0 && bare.args.empty()) {
                if (r.width <= 0) {
                    std::fprintf(stderr, "Decibar showed no window\n");
                    return 1;
                }
                bare.args = {std::to_string(r.width), std::to_string(r.height)};
                std::printf("window size: %d x %d\n", r.width, r.height);
            }
        }
    }
    const Figures& d = figures[0];
    const Figures& b = figures[1];
    std::printf("\nmedians over %d runs      decibar  bare frame  difference\n", runs);
    std::printf("first paint (ms)        %9.0f  %10.0f  %+10.0f\n", Median(d.paint), Median(b.paint),
        Median(d.paint) - Median(b.paint));
    std::printf("idle RSS (KiB)          %9ld  %10ld  %+10ld\n", Median(d.rss), Median(b.rss), Median(d.rss) - Median(b.rss));
    std::printf("idle PSS (KiB)          %9ld  %10ld  %+10ld\n", Median(d.pss), Median(b.pss), Median(d.pss) - Median(b.pss));
    std::printf("runs with GL mapped     %9d  %10d\n", d.runsWithGl, b.runsWithGl);
    std::printf("GL libraries: decibar: %s; bare frame: %s\n", Names(d.gl).c_str(), Names(b.gl).c_str());
    XCloseDisplay(display);
    return 0;
}
