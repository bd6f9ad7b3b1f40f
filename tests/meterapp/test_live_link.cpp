// The view's link to the meter over pseudo-terminals listed in a private port
// directory: finding and opening the bridge, Manual and Auto, the receive
// path, the watchdog and the key senders.
#include "live_fixture.h"
#include "view_test_access.h"

#include "meterapp/messages.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

using namespace livetest;
using Clock = std::chrono::steady_clock;

// A meter that streams one frame every 100 ms with the REC state the test sets.
class StreamingMeter {
public:
    explicit StreamingMeter(FakeMeterLine& line) : m_line(line)
    {
        m_thread = std::thread([this] {
            while (m_running) {
                if (!m_silent)
                    m_line.Write(LiveFrame(m_tenths, { static_cast<uint8_t>(m_rec ? 0x0A : 0x1A), 0x30 }));
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
            }
        });
    }
    ~StreamingMeter()
    {
        m_running = false;
        m_thread.join();
    }
    std::atomic<int> m_tenths { 653 };
    std::atomic<bool> m_rec { false };
    std::atomic<bool> m_silent { false };

private:
    FakeMeterLine& m_line;
    std::atomic<bool> m_running { true };
    std::thread m_thread;
};

bool Connected(CDecibarView* view) { return DecibarViewTestAccess::Connected(view); }
// The port mode as the Com Port menu shows it when opened.
bool AutoPortChecked(DecibarInstance& decibar)
{
    AfxTestUpdateMenuPopup(decibar.Frame(), 3);
    return Checked(decibar.Frame(), ID_COMPORT_AUTO);
}
double Level(CDecibarView* view) { return DecibarViewTestAccess::ReadingNow(view).level; }

// A point of the display window on which the live face draws nothing.
const CPoint kBlankDisplayPoint(48, 100);

TEST(LiveLink, StartUpOpensTheLastBridgeListedAndTheFaceFollowsItsFrames)
{
    PrivatePorts ports;
    FakeMeterLine com3(ports.Dir(), 3, BridgeName(3));
    FakeMeterLine com5(ports.Dir(), 5, "USB Serial Port (COM5)");
    FakeMeterLine com7(ports.Dir(), 7, BridgeName(7));
    DecibarInstance decibar;
    CDecibarView* view = decibar.View();
    EXPECT_EQ(DecibarViewTestAccess::PortNumber(view), 7);
    EXPECT_FALSE(Connected(view));

    // The first frame only fills the buffer; the next one shows it whole.
    com7.Write(LiveFrame(653, { 0x02, 0x4B }));
    com7.Write(LiveFrame(1234));
    ASSERT_TRUE(PumpUntil([&] { return Connected(view) && Level(view) == 65.3; }, 5000));
    EXPECT_EQ(DecibarViewTestAccess::ReadingNow(view).fast, 1);
    EXPECT_EQ(DecibarViewTestAccess::ReadingNow(view).range, 2);
    EXPECT_TRUE(PumpUntil([&] { return ShowsPicture(view, IDB_DIGIT_0 + 6, 68, 116, 25, 45); }, 2000));
    EXPECT_EQ(ViewPixel(view, kBlankDisplayPoint.x, kBlankDisplayPoint.y), kDisplayColour);

    com7.Write(LiveFrame(420));
    ASSERT_TRUE(PumpUntil([&] { return Level(view) == 123.4; }, 5000));
    EXPECT_TRUE(PumpUntil([&] { return ShowsPicture(view, IDB_DIGIT_0 + 1, 43, 116, 25, 45); }, 2000));

    // The other bridge was never opened: its frames change nothing.
    com3.Write(LiveFrame(111));
    com3.Write(LiveFrame(111));
    AfxTestPumpUntil([] { return false; }, 300);
    EXPECT_EQ(Level(view), 123.4);
}

TEST(LiveLink, SilenceBringsTheIdlePictureBackWithinThreeSeconds)
{
    PrivatePorts ports;
    FakeMeterLine com4(ports.Dir(), 4, BridgeName(4));
    DecibarInstance decibar;
    CDecibarView* view = decibar.View();
    ASSERT_NE(ArtPixel(IDB_IDLE, kBlankDisplayPoint.x, kBlankDisplayPoint.y), kDisplayColour);
    {
        StreamingMeter meter(com4);
        ASSERT_TRUE(PumpUntil([&] { return Connected(view) && Level(view) == 65.3; }, 5000));
        // Streaming keeps the link up across several watchdog ticks.
        AfxTestPumpUntil([] { return false; }, 2500);
        EXPECT_TRUE(Connected(view));
    }
    const auto silentFrom = Clock::now();
    ASSERT_TRUE(PumpUntil([&] { return !Connected(view); }, 10000));
    const double seconds = std::chrono::duration<double>(Clock::now() - silentFrom).count();
    // 2 s of silence counted in whole seconds by a 1 s tick: at most 3 s, and
    // some slack for a slow (sanitized) run.
    EXPECT_LT(seconds, 5.0) << seconds;
    EXPECT_GE(seconds, 0.9);
    EXPECT_TRUE(PumpUntil([&] {
        return ViewPixel(view, kBlankDisplayPoint.x, kBlankDisplayPoint.y)
            == ArtPixel(IDB_IDLE, kBlankDisplayPoint.x, kBlankDisplayPoint.y);
    }, 2000));

    // The next chunk connects again.
    com4.Write(LiveFrame(500));
    EXPECT_TRUE(PumpUntil([&] { return Connected(view); }, 5000));
}

TEST(LiveLink, WithoutABridgeNoPortIsOpened)
{
    PrivatePorts ports;
    FakeMeterLine com5(ports.Dir(), 5, "USB Serial Port (COM5)");
    FakeMeterLine bare(ports.Dir(), 6, "Silicon Labs CP210x USB to UART Bridge");
    FakeMeterLine lower(ports.Dir(), 8, "silicon labs cp210x usb to uart bridge (COM8)");
    DecibarInstance decibar;
    CDecibarView* view = decibar.View();
    EXPECT_EQ(DecibarViewTestAccess::PortNumber(view), 0);
    for (FakeMeterLine* line : { &com5, &bare, &lower }) {
        line->Write(LiveFrame(653));
        line->Write(LiveFrame(653));
    }
    AfxTestPumpUntil([] { return false; }, 500);
    EXPECT_FALSE(Connected(view));
}

TEST(LiveLink, HoldByteSetsHoldAndTheNextFrameClearsIt)
{
    PrivatePorts ports;
    FakeMeterLine com4(ports.Dir(), 4, BridgeName(4));
    DecibarInstance decibar;
    CDecibarView* view = decibar.View();
    com4.Write(LiveFrame(653));
    com4.Write(LiveFrame(653));
    ASSERT_TRUE(PumpUntil([&] { return Level(view) == 65.3; }, 5000));
    // One byte: the test on a chunk's text cannot see across two reads.
    com4.Write({ 0xFF });
    ASSERT_TRUE(PumpUntil([&] { return DecibarViewTestAccess::ReadingNow(view).hold == 1; }, 5000));
    com4.Write(LiveFrame(700));
    EXPECT_TRUE(PumpUntil([&] { return DecibarViewTestAccess::ReadingNow(view).hold == 0; }, 5000));
}

// Answers the Port dialog with a number typed by the user.
void AnswerPortDialog(DecibarInstance& decibar, const wchar_t* typed, int answer)
{
    AfxTestSetModalAnswerer([&decibar, typed, answer](const AfxModalRequest& request) {
        decibar.modal.requests.push_back(request);
        if (request.kind == AfxModalRequest::Dialog && typed)
            AfxTestTypeText(request.dialog->GetDlgItem(IDC_PORT_NUMBER), typed);
        return request.kind == AfxModalRequest::Dialog ? answer : static_cast<int>(IDOK);
    });
}

TEST(LiveLink, ManualOpensTheChosenPortAndWarnsWhenItCannot)
{
    PrivatePorts ports;
    FakeMeterLine com3(ports.Dir(), 3, "USB Serial Port (COM3)");
    FakeMeterLine com7(ports.Dir(), 7, BridgeName(7));
    DecibarInstance decibar;
    CDecibarView* view = decibar.View();
    com7.Write(LiveFrame(653));
    com7.Write(LiveFrame(653));
    ASSERT_TRUE(PumpUntil([&] { return Connected(view) && Level(view) == 65.3; }, 5000));

    // The preset 3 with OK reopens on COM3 although COM7 works.
    AnswerPortDialog(decibar, nullptr, IDOK);
    decibar.Command(ID_COMPORT_MANUAL);
    ASSERT_TRUE(PumpUntil([&] { return !decibar.modal.requests.empty(); }, 5000));
    EXPECT_EQ(decibar.modal.requests[0].kind, AfxModalRequest::Dialog);
    EXPECT_EQ(decibar.modal.requests[0].text, L"Port");
    EXPECT_FALSE(AutoPortChecked(decibar));
    EXPECT_EQ(DecibarViewTestAccess::PortNumber(view), 7);
    com3.Write(LiveFrame(421));
    com3.Write(LiveFrame(421));
    EXPECT_TRUE(PumpUntil([&] { return Level(view) == 42.1; }, 5000));
    com7.Write(LiveFrame(999));
    com7.Write(LiveFrame(999));
    AfxTestPumpUntil([] { return false; }, 300);
    EXPECT_EQ(Level(view), 42.1);

    // A port that is not there.
    decibar.modal.requests.clear();
    AnswerPortDialog(decibar, L"250", IDOK);
    decibar.Command(ID_COMPORT_MANUAL);
    ASSERT_TRUE(PumpUntil([&] { return decibar.modal.requests.size() >= 2; }, 5000));
    EXPECT_EQ(decibar.modal.requests[1].kind, AfxModalRequest::MessageBox);
    EXPECT_EQ(decibar.modal.requests[1].text, L"Warning:Can't open COM250!");
    EXPECT_NE(decibar.modal.requests[1].type & MB_ICONINFORMATION, 0u);

    // Out of range: the dialog refuses with the framework's message and stays
    // open; the user then cancels it, and nothing is opened.
    decibar.modal.requests.clear();
    CDialog* portDialog = nullptr;
    AfxTestSetModalAnswerer([&](const AfxModalRequest& request) {
        decibar.modal.requests.push_back(request);
        if (request.kind == AfxModalRequest::Dialog) {
            portDialog = request.dialog;
            AfxTestTypeText(request.dialog->GetDlgItem(IDC_PORT_NUMBER), L"257");
        } else if (portDialog) {
            portDialog->PostMessage(WM_COMMAND, IDCANCEL, 0);
        }
        return static_cast<int>(IDOK);
    });
    decibar.Command(ID_COMPORT_MANUAL);
    ASSERT_EQ(decibar.modal.requests.size(), 2u);
    EXPECT_EQ(decibar.modal.requests[1].kind, AfxModalRequest::MessageBox);
    EXPECT_NE(decibar.modal.requests[1].text.find(L"256"), std::wstring::npos);
    EXPECT_EQ(Level(view), 42.1);
}

TEST(LiveLink, AutoModeOpensABridgeThatArrivesAndManualModeIgnoresIt)
{
    PrivatePorts ports;
    DecibarInstance decibar;
    CDecibarView* view = decibar.View();

    // Manual (cancelled): an arriving bridge is not searched for.
    AnswerPortDialog(decibar, nullptr, IDCANCEL);
    decibar.Command(ID_COMPORT_MANUAL);
    ASSERT_FALSE(AutoPortChecked(decibar));
    {
        FakeMeterLine com9(ports.Dir(), 9, BridgeName(9));
        StreamingMeter meter(com9);
        AfxTestPumpUntil([] { return false; }, 3000);
        EXPECT_EQ(DecibarViewTestAccess::PortNumber(view), 0);
        EXPECT_FALSE(Connected(view));
    }

    decibar.Command(ID_COMPORT_AUTO);
    EXPECT_TRUE(AutoPortChecked(decibar));
    FakeMeterLine com11(ports.Dir(), 11, BridgeName(11));
    StreamingMeter meter(com11);
    // The device change starts the search; the port opens 2 s later.
    const auto arrived = Clock::now();
    ASSERT_TRUE(PumpUntil([&] { return Connected(view); }, 10000));
    EXPECT_EQ(DecibarViewTestAccess::PortNumber(view), 11);
    EXPECT_GE(std::chrono::duration<double>(Clock::now() - arrived).count(), 1.5);
}

class LiveKeys : public ::testing::Test {
protected:
    LiveKeys() : line(ports.Dir(), 4, BridgeName(4)), meter(line), view(decibar.View()) {}

    void SetUp() override
    {
        ASSERT_TRUE(PumpUntil([&] { return Connected(view); }, 5000));
        ASSERT_TRUE(PumpUntil([&] { return Level(view) == 65.3; }, 5000));
    }

    CMeterButton& Key(UINT id) { return KeyOf(view, id); }

    PrivatePorts ports;
    FakeMeterLine line;
    StreamingMeter meter;
    DecibarInstance decibar;
    CDecibarView* view;
};

TEST_F(LiveKeys, RecRepeatsItsByteUntilTheMeterReportsRec)
{
    AfxTestClickButton(&Key(IDC_KEY_REC));
    const Bytes sent = line.ReadFor(1500);
    ASSERT_GE(sent.size(), 2u);
    EXPECT_LE(sent.size(), 4u);
    for (uint8_t byte : sent)
        EXPECT_EQ(byte, 0x55);
    EXPECT_EQ(DecibarViewTestAccess::KeySendersRunning(view), 1);

    meter.m_rec = true;
    ASSERT_TRUE(PumpUntil([&] { return DecibarViewTestAccess::KeySendersRunning(view) == 0; }, 5000));
    line.ReadFor(100);
    EXPECT_TRUE(line.ReadFor(1000).empty());
}

TEST_F(LiveKeys, StopSendsOnceAndEachSenderKeepsItsOwnKey)
{
    AfxTestClickButton(&Key(IDC_KEY_STOP));
    AfxTestClickButton(&Key(IDC_KEY_AC));
    const Bytes sent = line.ReadFor(1500);
    int stops = 0, acs = 0;
    for (uint8_t byte : sent) {
        stops += byte == 0x33;
        acs += byte == 0x99;
    }
    EXPECT_EQ(stops, 1);
    EXPECT_GE(acs, 2);
    EXPECT_EQ(stops + acs, static_cast<int>(sent.size()));
    EXPECT_EQ(DecibarViewTestAccess::KeySendersRunning(view), 1);
}

TEST_F(LiveKeys, LinkLossEndsTheSendersAndKeysThenSendNothing)
{
    AfxTestClickButton(&Key(IDC_KEY_LEVEL));
    ASSERT_FALSE(line.ReadFor(300).empty());
    meter.m_silent = true;
    ASSERT_TRUE(PumpUntil([&] { return !Connected(view); }, 10000));
    EXPECT_EQ(DecibarViewTestAccess::KeySendersRunning(view), 0);
    line.ReadFor(100);
    AfxTestClickButton(&Key(IDC_KEY_FASTSLOW));
    EXPECT_TRUE(line.ReadFor(800).empty());
    EXPECT_EQ(DecibarViewTestAccess::KeySendersRunning(view), 0);
}

// The meter streams all the while, so the reader is sending the face redraw
// to this thread while it closes the port: the close must still complete.
TEST_F(LiveKeys, ReopeningThePortWhileFramesArriveEndsTheSendersAndGoesOn)
{
    AfxTestClickButton(&Key(IDC_KEY_MAXMIN));
    ASSERT_FALSE(line.ReadFor(300).empty());
    EXPECT_EQ(DecibarViewTestAccess::KeySendersRunning(view), 1);
    for (int i = 0; i < 3; ++i) {
        const auto start = Clock::now();
        EXPECT_TRUE(DecibarViewTestAccess::OpenMeterPort(view, 4));
        EXPECT_LT(std::chrono::duration<double>(Clock::now() - start).count(), 5.0);
        EXPECT_EQ(DecibarViewTestAccess::KeySendersRunning(view), 0);
    }
    meter.m_tenths = 777;
    EXPECT_TRUE(PumpUntil([&] { return Level(view) == 77.7; }, 5000));
}

} // namespace
