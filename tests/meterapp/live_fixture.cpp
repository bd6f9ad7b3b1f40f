#include "live_fixture.h"

#include <art/art.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <filesystem>
#include <fstream>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace livetest {

FakeMeterLine::FakeMeterLine(const std::string& portsDir, int number, const std::string& friendlyName)
{
    char name[128] = {};
    if (openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0)
        return;
    termios raw {};
    tcgetattr(m_master, &raw);
    cfmakeraw(&raw);
    tcsetattr(m_master, TCSANOW, &raw);
    fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
    const std::string base = portsDir + "/com" + std::to_string(number);
    std::ofstream(base + ".name") << friendlyName << "\n";
    std::filesystem::create_symlink(name, base);
    m_link = base;
}

FakeMeterLine::~FakeMeterLine()
{
    if (!m_link.empty()) {
        std::error_code ignored;
        std::filesystem::remove(m_link, ignored);
        std::filesystem::remove(m_link + ".name", ignored);
    }
    if (m_master >= 0)
        close(m_master);
    if (m_slave >= 0)
        close(m_slave);
}

void FakeMeterLine::Write(const Bytes& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(m_master, bytes.data() + done, bytes.size() - done);
        if (n > 0)
            done += static_cast<size_t>(n);
        else
            usleep(1000);
    }
}

Bytes FakeMeterLine::ReadFor(int waitMs)
{
    Bytes got;
    AfxTestPumpUntil([&] {
        uint8_t buffer[256];
        ssize_t n = 0;
        while ((n = read(m_master, buffer, sizeof buffer)) > 0)
            got.insert(got.end(), buffer, buffer + n);
        return false;
    }, waitMs);
    return got;
}

Bytes FakeMeterLine::ReadOffUiThread(int waitMs)
{
    Bytes got;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    while (std::chrono::steady_clock::now() < end) {
        pollfd fd { m_master, POLLIN, 0 };
        if (poll(&fd, 1, 5) <= 0)
            continue;
        uint8_t buffer[256];
        const ssize_t n = read(m_master, buffer, sizeof buffer);
        if (n > 0)
            got.insert(got.end(), buffer, buffer + n);
    }
    return got;
}

std::string BridgeName(int number)
{
    return "Silicon Labs CP210x USB to UART Bridge (COM" + std::to_string(number) + ")";
}

Bytes LiveFrame(int tenths, const std::vector<uint8_t>& codes)
{
    Bytes frame(20, 0x00);
    frame[0] = 0xA5;
    frame[1] = 0x0D;
    const int d1 = tenths / 1000 % 10, d2 = tenths / 100 % 10, d3 = tenths / 10 % 10, d4 = tenths % 10;
    frame[2] = static_cast<uint8_t>(d1 << 4 | d2);
    frame[3] = static_cast<uint8_t>(d3 << 4 | d4);
    frame[7] = 0x1B;
    for (size_t i = 0; i < codes.size() && 8 + 2 * i + 1 < frame.size(); ++i) {
        frame[8 + 2 * i] = 0xA5;
        frame[9 + 2 * i] = codes[i];
    }
    return frame;
}

bool PumpUntil(const std::function<bool()>& done, int timeoutMs)
{
    return AfxTestPumpUntil(done, timeoutMs);
}

COLORREF ViewPixel(CDecibarView* view, int x, int y)
{
    return AfxTestReadPixel(view, x, y);
}

COLORREF ArtPixel(unsigned id, int x, int y)
{
    const art::Image* image = art::Find(art::Kind::Bitmap, id);
    const uint32_t argb = image->pixels[static_cast<size_t>(y) * image->width + x];
    return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

// The display keeps the view's picture: its pixels are read in one request,
// not one round trip each, so that a check takes no longer than the link's watchdog.
bool ShowsPicture(CDecibarView* view, unsigned id, int x, int y, int width, int height)
{
    const std::vector<COLORREF> shown = AfxTestReadPixels(view, CRect(x, y, x + width, y + height));
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            if (shown[static_cast<size_t>(row) * width + column] != ArtPixel(id, column, row))
                return false;
        }
    }
    return true;
}

int PixelsUnlikePicture(CDecibarView* view, unsigned id, const CRect& except)
{
    const art::Image* image = art::Find(art::Kind::Bitmap, id);
    const std::vector<COLORREF> shown = AfxTestReadPixels(view, CRect(0, 0, image->width, image->height));
    int unlike = 0;
    for (int y = 0; y < image->height; ++y) {
        for (int x = 0; x < image->width; ++x) {
            if (!(x >= except.left && x < except.right && y >= except.top && y < except.bottom))
                unlike += shown[static_cast<size_t>(y) * image->width + x] != ArtPixel(id, x, y);
        }
    }
    return unlike;
}

int ScreenPixelsUnlikePicture(CDecibarView* view, unsigned id, const CRect& region)
{
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return -1;
    CPoint origin(region.left, region.top);
    AfxTestClientToScreen(view, &origin);
    XImage* image = XGetImage(display, DefaultRootWindow(display), origin.x, origin.y,
        static_cast<unsigned>(region.Width()), static_cast<unsigned>(region.Height()), AllPlanes, ZPixmap);
    int unlike = -1;
    if (image) {
        unlike = 0;
        for (int y = 0; y < region.Height(); ++y) {
            for (int x = 0; x < region.Width(); ++x) {
                const unsigned long rgb = XGetPixel(image, x, y) & 0xFFFFFFu;
                const COLORREF shown = RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
                unlike += shown != ArtPixel(id, region.left + x, region.top + y);
            }
        }
        XDestroyImage(image);
    }
    XCloseDisplay(display);
    return unlike;
}

int MarkedPixels(CDecibarView* view, int x, int y, int width, int height)
{
    const std::vector<COLORREF> shown = AfxTestReadPixels(view, CRect(x, y, x + width, y + height));
    return static_cast<int>(std::count_if(shown.begin(), shown.end(), [](COLORREF c) { return c != kDisplayColour; }));
}

CMeterButton& KeyOf(CDecibarView* view, UINT id)
{
    return ControlOf<CMeterButton>(view, static_cast<int>(id));
}

}  // namespace livetest
