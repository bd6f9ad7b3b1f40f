// Decibar with the simulated meter: finding it, following its frames, its
// keys, silence, disappearance and return.
#include "metersim_fixture.h"
#include "view_test_access.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

namespace {

using namespace livetest;
using Clock = std::chrono::steady_clock;

class WithMeter : public ::testing::Test {
protected:
    WithMeter() : meter({ "--frame-ms", "100", "--seed", "7" }) {}

    void SetUp() override
    {
        ASSERT_TRUE(meter.Started());
        decibar = std::make_unique<DecibarInstance>();
        view = decibar->View();
        ASSERT_TRUE(PumpUntil([&] { return DecibarViewTestAccess::Connected(view).load(); }, 10000));
    }

    void TearDown() override { decibar.reset(); }

    bool PumpUntilMeterSays(const std::string& prefix, int timeoutMs, std::string* said = nullptr)
    {
        return meter.PumpUntilSays(prefix, timeoutMs, said);
    }
    bool Command(const std::string& line) { return meter.Command(line); }
    CMeterButton& Key(UINT id) { return KeyOf(view, id); }

    PrivatePorts ports;
    MeterUnderTest meter;
    std::unique_ptr<DecibarInstance> decibar;
    CDecibarView* view = nullptr;
};

TEST_F(WithMeter, StartUpFindsTheMeterAndTheFaceFollowsItsFrames)
{
    EXPECT_EQ(DecibarViewTestAccess::PortNumber(view), meter.Number());
    ASSERT_TRUE(Command("level 65.3"));
    ASSERT_TRUE(PumpUntil([&] { return DecibarViewTestAccess::ReadingNow(view).level == 65.3; }, 5000));
    EXPECT_TRUE(PumpUntil([&] { return ShowsPicture(view, IDB_DIGIT_0 + 6, 68, 116, 25, 45); }, 2000));
    ASSERT_TRUE(Command("level 105.3"));
    EXPECT_TRUE(PumpUntil([&] { return ShowsPicture(view, IDB_DIGIT_0 + 1, 43, 116, 25, 45); }, 5000));
    // The meter's time of day reaches the state with today's date.
    EXPECT_EQ(DecibarViewTestAccess::ReadingNow(view).timeStamp.GetLength(), 19);
}

TEST_F(WithMeter, EachKeyChangesTheMeterOnceAndItsSenderEnds)
{
    struct KeyCase {
        UINT id;
        const char* said;
    };
    const KeyCase keys[] = {
        { IDC_KEY_REC, "key REC rec on" },
        { IDC_KEY_MAXMIN, "key MaxMin maxmin max" },
        { IDC_KEY_FASTSLOW, "key FastSlow" },
        { IDC_KEY_LEVEL, "key Level range" },
        { IDC_KEY_AC, "key AC C" },
        { IDC_KEY_STOP, "key Stop hold on" },
        { IDC_KEY_STOP, "key Stop hold off" },
    };
    for (const KeyCase& key : keys) {
        SCOPED_TRACE(key.said);
        AfxTestClickButton(&Key(key.id));
        ASSERT_TRUE(PumpUntilMeterSays(key.said, 5000));
        ASSERT_TRUE(PumpUntil([&] { return DecibarViewTestAccess::KeySendersRunning(view) == 0; }, 5000));
        EXPECT_FALSE(PumpUntilMeterSays("key ", 1000));
        if (key.id == IDC_KEY_STOP) {
            const BYTE held = std::string(key.said).back() == 'n' ? 1 : 0;
            EXPECT_TRUE(PumpUntil([&] { return DecibarViewTestAccess::ReadingNow(view).hold == held; }, 5000));
        }
    }
    const SReading now = DecibarViewTestAccess::ReadingNow(view);
    EXPECT_EQ(now.rec, 1);
    EXPECT_EQ(now.max, 1);
    EXPECT_EQ(now.weightingA, 0);
}

// Stray bytes before every frame of a steady reading: the receive path asks
// for a redraw only when the picture changes (the meter's clock each second,
// HOLD when the garbage holds 0xFF), not for every chunk.
TEST_F(WithMeter, MixedGarbageDoesNotRedrawEveryChunk)
{
    ASSERT_TRUE(Command("level 55.5"));
    ASSERT_TRUE(PumpUntil([&] { return DecibarViewTestAccess::ReadingNow(view).level == 55.5; }, 5000));
    ASSERT_TRUE(Command("garbage mix"));
    const auto before = DecibarViewTestAccess::LiveCounts(view);
    meter.PumpFor(3000);
    const auto after = DecibarViewTestAccess::LiveCounts(view);
    const auto chunks = after.chunks - before.chunks;
    const int asked = after.redrawsAsked - before.redrawsAsked;
    RecordProperty("chunks", std::to_string(chunks));
    RecordProperty("redraws_asked", std::to_string(asked));
    EXPECT_GE(chunks, 30u);
    EXPECT_LE(static_cast<std::uint64_t>(asked), chunks / 3);
    EXPECT_EQ(DecibarViewTestAccess::ReadingNow(view).level, 55.5);
}

TEST_F(WithMeter, SilenceBringsTheIdlePictureWithinThreeSeconds)
{
    ASSERT_TRUE(Command("silent on"));
    const auto silentFrom = Clock::now();
    ASSERT_TRUE(PumpUntil([&] { return !DecibarViewTestAccess::Connected(view); }, 10000));
    EXPECT_LT(std::chrono::duration<double>(Clock::now() - silentFrom).count(), 5.0);
    EXPECT_TRUE(PumpUntil([&] { return ViewPixel(view, 48, 100) == ArtPixel(IDB_IDLE, 48, 100); }, 2000));
    ASSERT_TRUE(Command("silent off"));
    EXPECT_TRUE(PumpUntil([&] { return DecibarViewTestAccess::Connected(view).load(); }, 5000));
}

TEST_F(WithMeter, DisappearanceAndReturnReconnectInAutoMode)
{
    meter.Send("vanish");
    ASSERT_TRUE(PumpUntilMeterSays("gone COM", 5000));
    ASSERT_TRUE(PumpUntil([&] { return !DecibarViewTestAccess::Connected(view); }, 10000));
    meter.Send("return");
    ASSERT_TRUE(PumpUntilMeterSays("COM" + std::to_string(meter.Number()), 5000));
    EXPECT_TRUE(PumpUntil([&] { return DecibarViewTestAccess::Connected(view).load(); }, 15000));
    ASSERT_TRUE(Command("level 77.7"));
    EXPECT_TRUE(PumpUntil([&] { return DecibarViewTestAccess::ReadingNow(view).level == 77.7; }, 5000));
}

TEST_F(WithMeter, ManualWithAWrongPortWarns)
{
    std::vector<std::wstring> boxes;
    AfxTestSetModalAnswerer([&](const AfxModalRequest& request) {
        if (request.kind == AfxModalRequest::Dialog)
            AfxTestTypeText(request.dialog->GetDlgItem(IDC_PORT_NUMBER), L"199");
        else
            boxes.push_back(request.text);
        return static_cast<int>(IDOK);
    });
    decibar->Command(ID_COMPORT_MANUAL);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], L"Warning:Can't open COM199!");
    EXPECT_TRUE(PumpUntil([&] { return !DecibarViewTestAccess::Connected(view); }, 10000));
}

TEST_F(WithMeter, ConnectedScreenshot)
{
    const char* path = std::getenv("DECIBAR_CONNECTED_SCREENSHOT");
    if (!path)
        GTEST_SKIP() << "set DECIBAR_CONNECTED_SCREENSHOT to a PNG path to save the connected main window";
    ASSERT_TRUE(Command("level 65.3"));
    for (const char* line : { "key MaxMin", "key REC" }) {
        AfxTestClickButton(&Key(std::string(line) == "key REC" ? IDC_KEY_REC : IDC_KEY_MAXMIN));
        ASSERT_TRUE(PumpUntilMeterSays(line, 5000));
    }
    ASSERT_TRUE(PumpUntil([&] { return DecibarViewTestAccess::KeySendersRunning(view) == 0 && DecibarViewTestAccess::ReadingNow(view).level == 65.3; }, 5000));
    decibar->SetViewClientSize(1280, 900);
    AfxTestPumpUntil([] { return false; }, 500);
    const std::string text(path);
    EXPECT_TRUE(AfxTestSaveScreenshot(decibar->Frame(), std::wstring(text.begin(), text.end())));
}

} // namespace
