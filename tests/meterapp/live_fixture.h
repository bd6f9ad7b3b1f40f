// What the live-meter tests share: a private port directory and sysfs tree,
// a pseudo-terminal that plays the meter's port, live frames, and reading
// the face back from the view.
#pragma once

#include "gui_fixture.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace livetest {

using Bytes = std::vector<uint8_t>;

using ::PrivatePorts;

// A pseudo-terminal listed in the port directory as COM<number> with a
// friendly name; the test holds the meter's end.
class FakeMeterLine {
public:
    FakeMeterLine(const std::string& portsDir, int number, const std::string& friendlyName);
    ~FakeMeterLine(); // unlists the port and closes both ends
    FakeMeterLine(const FakeMeterLine&) = delete;
    FakeMeterLine& operator=(const FakeMeterLine&) = delete;

    void Write(const Bytes& bytes);
    // What the program has written to the port within waitMs. The message
    // loop runs meanwhile, so the program's threads can reach its window.
    Bytes ReadFor(int waitMs);
    // The same on a thread of the test's own, which runs no message loop.
    Bytes ReadOffUiThread(int waitMs);

private:
    int m_master = -1;
    int m_slave = -1;
    std::string m_link;
};

// The friendly name of the meter's bridge on COM<number>.
std::string BridgeName(int number);

// A 20-byte live frame: the level in tenths of a dB (653 is 65.3), A
// weighting, then up to six status codes as 0xA5 <code>.
Bytes LiveFrame(int tenths, const std::vector<uint8_t>& codes = {});

// Runs the message loop until done holds; the generous limits suit sanitizers.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs);

// The view's colour at a point of its client area.
COLORREF ViewPixel(CDecibarView* view, int x, int y);
// The colour of a picture resource at (x, y).
COLORREF ArtPixel(unsigned id, int x, int y);
// Whether the view shows the picture `id` in the given rectangle, pixel for pixel.
bool ShowsPicture(CDecibarView* view, unsigned id, int x, int y, int width, int height);
// Pixels of the picture `id`, shown at the view's origin, that the view shows
// otherwise; pixels inside `except` are not looked at.
int PixelsUnlikePicture(CDecibarView* view, unsigned id, const CRect& except = CRect());
// The same for what the screen shows of the view (read from the X server),
// in `region` (client pixels) only; -1 when the screen cannot be read.
int ScreenPixelsUnlikePicture(CDecibarView* view, unsigned id, const CRect& region);
// Pixels in the rectangle that differ from the display window's colour.
int MarkedPixels(CDecibarView* view, int x, int y, int width, int height);

constexpr COLORREF kDisplayColour = RGB(128, 140, 128);

// The meter key with this control id.
CMeterButton& KeyOf(CDecibarView* view, UINT id);

}  // namespace livetest
