// The meter display as frames arrive over a port: garbled frames, text that
// once ran off the display, HOLD, link loss, and chunks that change nothing.
#include "live_fixture.h"
#include "view_test_access.h"

#include "meterdata/face_layout.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <cmath>
#include <thread>

namespace {

using namespace livetest;

const CRect kWindow(kDisplayWindow.x, kDisplayWindow.y, kDisplayWindow.x + kDisplayWindow.width,
    kDisplayWindow.y + kDisplayWindow.height);
// Where HOLD (and AUTO) stand, right of "dBA".
const CRect kHoldPlace(123, 168, 150, 178);

// Status codes.
constexpr uint8_t kFast = 0x02, kOver = 0x07, kUnder = 0x08, kLimitsClear = 0x11, kRange30to80 = 0x30, kRangeAuto = 0x40;

class LiveDisplay : public ::testing::Test {
protected:
    LiveDisplay() : line(ports.Dir(), 4, BridgeName(4)), view(decibar.View()) {}

    double Level() { return DecibarViewTestAccess::ReadingNow(view).level; }
    int HoldMarks() { return MarkedPixels(view, kHoldPlace.left, kHoldPlace.top, kHoldPlace.Width(), kHoldPlace.Height()); }

    // Sends the frame twice (a frame is decoded when the next one arrives)
    // and waits until the view holds its level.
    void Show(const Bytes& frame, int tenths)
    {
        line.Write(frame);
        line.Write(frame);
        ASSERT_TRUE(PumpUntil([&] { return DecibarViewTestAccess::Connected(view) && std::lround(Level() * 10) == tenths; }, 5000))
            << Level();
        // The redraw follows the decoding.
        AfxTestPumpUntil([] { return false; }, 100);
    }

    using Counts = DecibarViewTestAccess::SLiveCounts;
    Counts CountsNow() { return DecibarViewTestAccess::LiveCounts(view); }

    PrivatePorts ports;
    FakeMeterLine line;
    DecibarInstance decibar;
    CDecibarView* view;
};

// Bytes 0x1E 0x52 once read as "1e5.2", 100000 dB, whose eight characters
// were drawn onto the picture right of the display and stayed there; AUTO,
// OVER and UNDER reach past the display window and darkened the picture with
// every frame. A frame without them (and with FAST, since SLOW too ends past
// the window) must leave the picture as it is outside the display window.
TEST_F(LiveDisplay, GarbledFramesAndOverhangingTextLeaveNoMarkOutsideTheWindow)
{
    Show(LiveFrame(612, { kRange30to80 }), 612);
    Bytes garbled = LiveFrame(0, { kRangeAuto });
    garbled[2] = 0x1E;
    garbled[3] = 0x52;
    line.Write(garbled);
    line.Write(LiveFrame(612, { kRange30to80 }));
    AfxTestPumpUntil([] { return false; }, 300);
    EXPECT_DOUBLE_EQ(Level(), 61.2);
    EXPECT_EQ(DecibarViewTestAccess::ReadingNow(view).range, 1);

    for (int i = 0; i < 5; ++i)
        Show(LiveFrame(1053 + i, { kRangeAuto, kOver, kUnder }), 1053 + i);
    Show(LiveFrame(500, { kRange30to80, kLimitsClear, kFast }), 500);
    EXPECT_EQ(DecibarViewTestAccess::ReadingNow(view).over, 0);
    EXPECT_EQ(PixelsUnlikePicture(view, IDB_METER_FACE, kWindow), 0);
    EXPECT_EQ(ViewPixel(view, 48, 100), kDisplayColour);
}

// The instrument's display glass reaches past the area the watchdog once
// invalidated, which left light strips of the live picture above and below it
// on the screen. Checked on the screen itself: the view's picture gets the
// whole paint, the screen only what was invalidated. The keys stand below.
TEST_F(LiveDisplay, AfterLinkLossTheIdlePictureCoversAllTheLiveFaceShowed)
{
    const CRect aboveTheKeys(0, 0, 195, 195);
    Show(LiveFrame(653, { kRangeAuto }), 653);
    ASSERT_GT(PixelsUnlikePicture(view, IDB_IDLE), 0);
    // The screen shows the face where it is read.
    ASSERT_TRUE(PumpUntil([&] {
        return ScreenPixelsUnlikePicture(view, IDB_METER_FACE, CRect(0, 0, 195, kDisplayArea.y)) == 0;
    }, 3000));
    ASSERT_TRUE(PumpUntil([&] { return !DecibarViewTestAccess::Connected(view); }, 10000));
    EXPECT_TRUE(PumpUntil([&] { return PixelsUnlikePicture(view, IDB_IDLE) == 0; }, 3000));
    EXPECT_TRUE(PumpUntil([&] { return ScreenPixelsUnlikePicture(view, IDB_IDLE, aboveTheKeys) == 0; }, 3000))
        << ScreenPixelsUnlikePicture(view, IDB_IDLE, aboveTheKeys);

    // The first frame after it brings the whole face back.
    Show(LiveFrame(653, { kRangeAuto }), 653);
    EXPECT_EQ(PixelsUnlikePicture(view, IDB_METER_FACE, CRect(kDisplayArea.x, kDisplayArea.y,
        kDisplayArea.x + kDisplayArea.width, kDisplayArea.y + kDisplayArea.height)), 0);
}

TEST_F(LiveDisplay, HoldShowsWhenTheMeterHoldsAndGoesWithItsNextFrame)
{
    Show(LiveFrame(653, { kRange30to80 }), 653);
    ASSERT_EQ(HoldMarks(), 0);
    line.Write({ 0xFF });
    ASSERT_TRUE(PumpUntil([&] { return DecibarViewTestAccess::ReadingNow(view).hold == 1; }, 5000));
    EXPECT_TRUE(PumpUntil([&] { return HoldMarks() > 0; }, 2000));
    line.Write(LiveFrame(700, { kRange30to80 }));
    ASSERT_TRUE(PumpUntil([&] { return DecibarViewTestAccess::ReadingNow(view).hold == 0; }, 5000));
    EXPECT_TRUE(PumpUntil([&] { return HoldMarks() == 0; }, 2000));
}

// Garbage between frames that repeat the same reading: the frame start heads
// the buffer again and again, but the face would draw the same picture.
TEST_F(LiveDisplay, ChunksThatChangeNothingDrawNothing)
{
    const Bytes frame = LiveFrame(653, { kRange30to80 });
    Show(frame, 653);
    const Counts before = CountsNow();
    // Stray bytes below 0xA0 hold no "ff" and no frame start, also across bytes.
    unsigned seed = 7;
    const int frames = 40;
    for (int n = 0; n < frames; ++n) {
        Bytes bytes;
        seed = seed * 1103515245 + 12345;
        for (unsigned i = 0; i < 1 + (seed >> 16) % 10; ++i)
            bytes.push_back(static_cast<uint8_t>((seed >> (i % 16)) % 0xA0));
        bytes.insert(bytes.end(), frame.begin(), frame.end());
        line.Write(bytes);
        std::this_thread::sleep_for(std::chrono::milliseconds(15));
        AfxTestPump();
    }
    AfxTestPumpUntil([] { return false; }, 500);
    const Counts after = CountsNow();
    RecordProperty("chunks", std::to_string(after.chunks - before.chunks));
    RecordProperty("redraws_asked", std::to_string(after.redrawsAsked - before.redrawsAsked));
    RecordProperty("drawings", std::to_string(after.drawings - before.drawings));
    EXPECT_GE(after.chunks - before.chunks, static_cast<std::uint64_t>(frames));
    EXPECT_EQ(after.redrawsAsked, before.redrawsAsked);
    EXPECT_EQ(after.drawings, before.drawings);
    EXPECT_DOUBLE_EQ(Level(), 65.3);

    // A new reading is drawn at once.
    Show(LiveFrame(701, { kRange30to80 }), 701);
    EXPECT_EQ(CountsNow().drawings, before.drawings + 1);
    EXPECT_TRUE(ShowsPicture(view, IDB_DIGIT_0 + 7, 68, 116, 25, 45));
}

} // namespace
