// Decibar's meter keys against a meter that shows a press only in its next
// regular frame, at frame periods up to 1.9 s: every press changes the meter
// once, as the meter itself reports, and a byte it missed is sent again.
// Each period runs as a test of its own, so that they run side by side.
#include "metersim_fixture.h"
#include "view_test_access.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

using namespace livetest;
using Clock = std::chrono::steady_clock;

class KeysAtFramePeriod : public ::testing::TestWithParam<int> {
protected:
    KeysAtFramePeriod() : meter({ "--frame-ms", std::to_string(GetParam()), "--keys-in-next-frame", "--seed", "7" }) {}

    void SetUp() override
    {
        ASSERT_TRUE(meter.Started());
        decibar = std::make_unique<DecibarInstance>();
        view = decibar->View();
        // The meter starts on the auto range; once a frame says so the state is known.
        ASSERT_TRUE(PumpUntil([&] { return DecibarViewTestAccess::Connected(view) && DecibarViewTestAccess::ReadingNow(view).range == 4; }, Patience()));
    }

    void TearDown() override { decibar.reset(); }

    // Long enough for a press to show at this period on a busy machine: the
    // next frame, the one after it (which lets the first be decoded), and slack.
    int Patience() const { return 3 * GetParam() + 10000; }

    // Presses a key and waits until its sender has ended. Returns the meter's
    // key lines that the press caused.
    std::vector<std::string> Press(UINT id)
    {
        const size_t before = meter.Seen("key ").size();
        const auto pressed = Clock::now();
        AfxTestClickButton(&KeyOf(view, id));
        EXPECT_TRUE(meter.PumpUntilSays("key ", Patience()));
        EXPECT_TRUE(PumpUntil([&] { return DecibarViewTestAccess::KeySendersRunning(view) == 0; }, 2 * Patience()));
        slowest = std::max(slowest, std::chrono::duration<double>(Clock::now() - pressed).count());
        // A byte written just before the sender ended would be on its way.
        meter.PumpFor(100);
        std::vector<std::string> lines = meter.Seen("key ");
        lines.erase(lines.begin(), lines.begin() + static_cast<long>(before));
        return lines;
    }

    // The view's state as the meter's state line would say it.
    std::string ViewState()
    {
        const SReading r = DecibarViewTestAccess::ReadingNow(view);
        return std::string("state hold ") + (r.hold ? "on" : "off") + " rec " + (r.rec ? "on" : "off") + " maxmin "
            + (r.max ? "max" : r.min ? "min" : "off") + " speed " + (r.fast ? "fast" : "slow") + " range "
            + std::to_string(r.range) + " weighting " + (r.weightingA ? "A" : "C");
    }

    PrivatePorts ports;
    MeterUnderTest meter;
    std::unique_ptr<DecibarInstance> decibar;
    CDecibarView* view = nullptr;
    double slowest = 0;
};

TEST_P(KeysAtFramePeriod, EachPressChangesTheMeterOnce)
{
    struct Step {
        UINT id;
        const char* said;
        const char* state;
    };
    const Step steps[] = {
        { IDC_KEY_REC, "key REC rec on", "state hold off rec on maxmin off speed fast range 4 weighting A" },
        { IDC_KEY_MAXMIN, "key MaxMin maxmin max", "state hold off rec on maxmin max speed fast range 4 weighting A" },
        { IDC_KEY_FASTSLOW, "key FastSlow slow", "state hold off rec on maxmin max speed slow range 4 weighting A" },
        { IDC_KEY_LEVEL, "key Level range 1", "state hold off rec on maxmin max speed slow range 1 weighting A" },
        { IDC_KEY_AC, "key AC C", "state hold off rec on maxmin max speed slow range 1 weighting C" },
        { IDC_KEY_MAXMIN, "key MaxMin maxmin min", "state hold off rec on maxmin min speed slow range 1 weighting C" },
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.said);
        EXPECT_EQ(Press(step.id), std::vector<std::string> { step.said });
        EXPECT_EQ(meter.State(), step.state);
        EXPECT_EQ(ViewState(), step.state);
    }

    // Stop toggles HOLD with its one byte; the view shows what the meter holds.
    EXPECT_EQ(Press(IDC_KEY_STOP), std::vector<std::string> { "key Stop hold on" });
    EXPECT_TRUE(PumpUntil([&] { return DecibarViewTestAccess::ReadingNow(view).hold == 1; }, Patience()));
    EXPECT_EQ(Press(IDC_KEY_STOP), std::vector<std::string> { "key Stop hold off" });
    EXPECT_TRUE(PumpUntil([&] { return DecibarViewTestAccess::ReadingNow(view).hold == 0; }, Patience()));
    EXPECT_EQ(meter.State(), "state hold off rec on maxmin min speed slow range 1 weighting C");

    RecordProperty("slowest_press_seconds", std::to_string(slowest));
}

TEST_P(KeysAtFramePeriod, AByteTheMeterMissedIsSentAgain)
{
    ASSERT_TRUE(meter.Command("drop 1"));
    EXPECT_EQ(Press(IDC_KEY_AC), (std::vector<std::string> { "key AC dropped", "key AC C" }));
    EXPECT_EQ(meter.State(), "state hold off rec off maxmin off speed fast range 4 weighting C");
    EXPECT_EQ(ViewState(), meter.State());
    RecordProperty("resend_seconds", std::to_string(slowest));
}

std::string PeriodName(const ::testing::TestParamInfo<int>& info)
{
    return "Every" + std::to_string(info.param) + "ms";
}

INSTANTIATE_TEST_SUITE_P(Periods, KeysAtFramePeriod, ::testing::Values(250, 500, 1000, 1900), PeriodName);

} // namespace
