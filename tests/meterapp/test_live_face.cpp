// The meter face as the view draws it for chosen instrument states: digits,
// point, bar segments, range labels and annunciators where the face places them.
#include "live_fixture.h"
#include "view_test_access.h"

#include "meterapp/messages.h"
#include "resource.h"

#include <gtest/gtest.h>

namespace {

using namespace livetest;

// Digit rows above the annunciator line at y 168.
constexpr int kDigitY = 116;
constexpr int kDigitRows = 45;
constexpr int kDigitWidth = 25;

class LiveFace : public ::testing::Test {
protected:
    LiveFace() { view = decibar.View(); }

    // Draws the face for a state as the receive path does, on a link that is up.
    void Show(const std::function<void(SReading&)>& change)
    {
        DecibarViewTestAccess::Connected(view) = true;
        DecibarViewTestAccess::WriteAsReader(view, [&](SReading& shown, CString&) {
            SReading reading;
            change(reading);
            shown = reading;
        });
        view->SendMessage(WM_METER_FACE, 0, 0);
    }

    bool DigitAt(int digit, int x) { return ShowsPicture(view, IDB_DIGIT_0 + digit, x, kDigitY, kDigitWidth, kDigitRows); }
    bool PointShown() { return ShowsPicture(view, IDB_DECIMAL_POINT, 120, 159, 7, 8); }
    bool EmptyDigitPlace(int x) { return MarkedPixels(view, x, kDigitY, kDigitWidth, kDigitRows) == 0; }
    // The lower bar row holds a segment at every step, the upper one every fifth.
    bool LowerSegment(int x) { return ViewPixel(view, x, 84) == ArtPixel(IDB_BAR_SEGMENT, 0, 3); }
    bool UpperSegment(int x) { return ViewPixel(view, x, 75) == ArtPixel(IDB_BAR_SEGMENT, 0, 3); }
    int LowerLabelMarks() { return MarkedPixels(view, 47, 61, 14, 10); }
    int UpperLabelMarks() { return MarkedPixels(view, 132, 61, 18, 10); }

    PrivatePorts ports;
    DecibarInstance decibar;
    CDecibarView* view = nullptr;
};

TEST_F(LiveFace, DigitsAndPointSitWhereTheTextLengthPutsThem)
{
    ASSERT_NE(ArtPixel(IDB_BAR_SEGMENT, 0, 3), kDisplayColour);

    Show([](SReading& r) { r.level = 105.3; });
    EXPECT_TRUE(DigitAt(1, 43));
    EXPECT_TRUE(DigitAt(0, 68));
    EXPECT_TRUE(DigitAt(5, 93));
    EXPECT_TRUE(PointShown());
    EXPECT_TRUE(DigitAt(3, 125));

    Show([](SReading& r) { r.level = 65.3; });
    EXPECT_TRUE(EmptyDigitPlace(43));
    EXPECT_TRUE(DigitAt(6, 68));
    EXPECT_TRUE(DigitAt(5, 93));
    EXPECT_TRUE(PointShown());
    EXPECT_TRUE(DigitAt(3, 125));

    Show([](SReading& r) { r.level = 5.3; });
    EXPECT_TRUE(DigitAt(5, 43));
    EXPECT_TRUE(EmptyDigitPlace(68));
    EXPECT_TRUE(EmptyDigitPlace(93));
    EXPECT_TRUE(PointShown());
    EXPECT_TRUE(DigitAt(3, 125));
}

TEST_F(LiveFace, BarFollowsTheRangeAndStopsAtItsEnds)
{
    // Range 1, 55 dB: 25 steps, ticks every fifth step, labels 30 and 80.
    Show([](SReading& r) { r.level = 55.0; r.range = 1; });
    EXPECT_TRUE(LowerSegment(50));
    EXPECT_TRUE(UpperSegment(50));
    EXPECT_TRUE(LowerSegment(52));
    EXPECT_FALSE(UpperSegment(52));
    EXPECT_TRUE(UpperSegment(60));
    EXPECT_TRUE(LowerSegment(100));
    EXPECT_FALSE(LowerSegment(102));
    EXPECT_FALSE(LowerSegment(51));
    EXPECT_GT(LowerLabelMarks(), 0);
    EXPECT_GT(UpperLabelMarks(), 0);

    // Above the range: the full bar of 50 steps, ending at x 150.
    Show([](SReading& r) { r.level = 95.0; r.range = 1; });
    EXPECT_TRUE(LowerSegment(150));
    EXPECT_TRUE(UpperSegment(150));

    // Below it: the start mark only.
    Show([](SReading& r) { r.level = 12.0; r.range = 1; });
    EXPECT_TRUE(LowerSegment(50));
    EXPECT_FALSE(LowerSegment(52));

    // Ranges 2 and 3 start at 50 and 80 dB.
    Show([](SReading& r) { r.level = 60.0; r.range = 2; });
    EXPECT_TRUE(LowerSegment(70));
    EXPECT_FALSE(LowerSegment(72));
    Show([](SReading& r) { r.level = 90.0; r.range = 3; });
    EXPECT_TRUE(LowerSegment(70));
    EXPECT_FALSE(LowerSegment(72));

    // Auto range: 80 dB is 50 dB over its start, halved to 25 steps.
    Show([](SReading& r) { r.level = 80.0; r.range = 4; });
    EXPECT_TRUE(LowerSegment(100));
    EXPECT_FALSE(LowerSegment(102));

    // Outside 1 to 4: no bar, no labels.
    Show([](SReading& r) { r.level = 80.0; r.range = 0; });
    EXPECT_FALSE(LowerSegment(50));
    EXPECT_EQ(MarkedPixels(view, 48, 81, 104, 7), 0);
    EXPECT_EQ(LowerLabelMarks(), 0);
    EXPECT_EQ(UpperLabelMarks(), 0);
}

TEST_F(LiveFace, AnnunciatorsShowWhatTheStateHolds)
{
    // "dBA", stretched to its 6-pixel character width, ends about where HOLD
    // and AUTO begin at x 120, so their region starts just past it.
    const int kHoldAutoX = 123, kLine = 168;
    Show([](SReading& r) { r.range = 0; });
    const int plain = MarkedPixels(view, kHoldAutoX, kLine, 27, 10);
    EXPECT_EQ(plain, 0);
    EXPECT_EQ(MarkedPixels(view, 65, kLine, 25, 10), 0); // no REC
    EXPECT_EQ(MarkedPixels(view, 45, 50, 20, 10), 0);   // no MAX
    EXPECT_EQ(MarkedPixels(view, 45, 42, 30, 7), 0);    // no UNDER

    Show([](SReading& r) { r.range = 0; r.hold = 1; });
    const int hold = MarkedPixels(view, kHoldAutoX, kLine, 27, 10);
    Show([](SReading& r) { r.range = 4; });
    const int autoOnly = MarkedPixels(view, kHoldAutoX, kLine, 27, 10);
    Show([](SReading& r) { r.range = 4; r.hold = 1; });
    const int both = MarkedPixels(view, kHoldAutoX, kLine, 27, 10);
    EXPECT_GT(hold, 0);
    EXPECT_GT(autoOnly, 0);
    // Both words at the same place: more ink than either alone.
    EXPECT_GT(both, hold);
    EXPECT_GT(both, autoOnly);

    Show([](SReading& r) { r.range = 0; r.rec = 1; r.max = 1; r.under = 1; });
    EXPECT_GT(MarkedPixels(view, 65, kLine, 25, 10), 0);
    EXPECT_GT(MarkedPixels(view, 45, 50, 20, 10), 0);
    EXPECT_GT(MarkedPixels(view, 45, 42, 30, 7), 0);
}

TEST_F(LiveFace, FrozenDisplayKeepsTheDigitsAndFollowingKeepsTheBar)
{
    Show([](SReading& r) { r.level = 65.3; r.range = 1; });
    // Freeze: the digits stay at 65.3, the bar moves to 45 dB (15 steps).
    Show([](SReading& r) { r.level = 45.0; r.range = 1; r.displayFreeze = 1; });
    EXPECT_TRUE(DigitAt(6, 68));
    EXPECT_TRUE(LowerSegment(80));
    EXPECT_FALSE(LowerSegment(82));
    // Follow (also with freeze set): the digits move, the bar stays.
    Show([](SReading& r) { r.level = 72.1; r.range = 1; r.displayFollow = 1; r.displayFreeze = 1; });
    EXPECT_TRUE(DigitAt(7, 68));
    EXPECT_TRUE(DigitAt(2, 93));
    EXPECT_TRUE(LowerSegment(80));
    EXPECT_FALSE(LowerSegment(82));
}

} // namespace
