// The metersim program end to end, from the application's side of its port.
// Its port: registration, removal, disappearing and coming back, control.
#include "program_fixture.h"
#include "support/pipe_watch.h"

#include <gtest/gtest.h>

#include <csignal>
#include <ctime>
#include <fstream>

using namespace metertest;

TEST_F(Program, HelpAndRefusedStarts)
{
    {
        MeterProcess help({"--help"});
        std::string text, line;
        while (help.ReadLine(line, 5000))
            text += line + "\n";
        EXPECT_EQ(help.Wait(5000), 0);
        for (const char* phrase : {"Silicon Labs CP210x USB to UART Bridge (COMn)", "--frame-ms", "0x5A 0xAC",
                                   "recording YYYY-MM-DD HH:MM:SS INTERVAL A|C", "--control", "stall on", "vanish"})
            EXPECT_NE(text.find(phrase), std::string::npos) << phrase;
    }
    MeterProcess bad({"--frame-ms", "0"});
    EXPECT_EQ(bad.Wait(5000), 1);

    const std::string file = m_tmp.path() + "/bad.txt";
    std::ofstream(file) << "recording 2026-02-30 10:00:00 1 A\n";
    MeterProcess badFile({"--recordings", file});
    EXPECT_EQ(badFile.Wait(5000), 1);
    // A pipe or a device is no recordings file, and nothing waits on it.
    const std::string pipe = m_tmp.path() + "/pipe.txt";
    testutil::MakePipe(pipe);
    for (const std::string& notAFile : {pipe, std::string("/dev/zero")}) {
        MeterProcess refused({"--recordings", notAFile});
        EXPECT_EQ(refused.Wait(5000), 1) << notAFile;
    }
    EXPECT_FALSE(Exists(m_ports + "/com40"));
}

TEST_F(Program, RegistersItsPortAndRemovesItOnEveryEnding)
{
    Running a({"--frame-ms", "50"});
    ASSERT_TRUE(a.started);
    EXPECT_EQ(a.number, 40);
    EXPECT_EQ(a.device.rfind("/dev/pts/", 0), 0u);
    EXPECT_EQ(LinkTarget(40), a.device);
    EXPECT_EQ(FriendlyName(40), "Silicon Labs CP210x USB to UART Bridge (COM40)");

    Running b({"--frame-ms", "50"});
    ASSERT_TRUE(b.started);
    EXPECT_EQ(b.number, 41);
    EXPECT_NE(b.device, a.device);

    // A link to an existing device is someone's port; a dangling one is free.
    ASSERT_EQ(symlink("/dev/null", (m_ports + "/com42").c_str()), 0);
    ASSERT_EQ(symlink("/dev/pts/no-such", (m_ports + "/com43").c_str()), 0);
    Running c({"--frame-ms", "50"});
    ASSERT_TRUE(c.started);
    EXPECT_EQ(c.number, 43);
    EXPECT_EQ(LinkTarget(43), c.device);

    // Upper-case names count as links too.
    ASSERT_EQ(symlink("/dev/null", (m_ports + "/COM44").c_str()), 0);
    Running e({"--frame-ms", "50"});
    ASSERT_TRUE(e.started);
    EXPECT_EQ(e.number, 45);

    MeterProcess taken({"--port", "41"});
    EXPECT_EQ(taken.Wait(5000), 1);
    EXPECT_EQ(LinkTarget(41), b.device);

    a.meter.Signal(SIGTERM);
    EXPECT_EQ(a.meter.Wait(5000), 0);
    EXPECT_FALSE(Exists(m_ports + "/com40"));
    EXPECT_FALSE(Exists(m_ports + "/com40.name"));

    b.meter.Signal(SIGINT);
    EXPECT_EQ(b.meter.Wait(5000), 0);
    EXPECT_FALSE(Exists(m_ports + "/com41"));

    c.meter.Send("quit");
    EXPECT_EQ(c.meter.Wait(5000), 0);
    EXPECT_FALSE(Exists(m_ports + "/com43"));
    EXPECT_EQ(LinkTarget(42), "/dev/null");

    // The numbers are free again; an explicit one is taken as asked.
    Running d({"--port", "7"});
    ASSERT_TRUE(d.started);
    EXPECT_EQ(d.number, 7);
    EXPECT_EQ(FriendlyName(7), "Silicon Labs CP210x USB to UART Bridge (COM7)");
}

TEST_F(Program, VanishesAndComesBackUnderItsNumber)
{
    Running m({"--frame-ms", "50"});
    ASSERT_TRUE(m.started);
    m.meter.Send("vanish");
    std::string line;
    ASSERT_TRUE(m.meter.WaitForLine("gone", line, 3000));
    EXPECT_EQ(line, "gone COM40");
    EXPECT_FALSE(Exists(m_ports + "/com40"));
    EXPECT_TRUE(m.port->HungUp(2000));

    // Its number stays its own while it is gone.
    Running other({"--frame-ms", "50"});
    ASSERT_TRUE(other.started);
    EXPECT_EQ(other.number, 41);

    m.meter.Send("return");
    int number = 0;
    std::string device;
    ASSERT_TRUE(ReadPortLine(m.meter, number, device));
    EXPECT_EQ(number, 40);
    EXPECT_EQ(LinkTarget(40), device);
    EXPECT_EQ(FriendlyName(40), "Silicon Labs CP210x USB to UART Bridge (COM40)");
    TestPort again(device);
    receiver::LiveReceiver rx;
    rx.OnBytes(Join(again.ReadFor(500)));
    EXPECT_GE(rx.decodedFrames(), 3);

    m.meter.Send("return");
    EXPECT_TRUE(m.meter.WaitForLine("error", 3000));
}

// A real port loses exclusive mode with its last close; the meter's port must
// not keep it, or only a privileged program could open it again.
TEST_F(Program, ExclusiveModeDoesNotOutliveItsUser)
{
    Running m({"--frame-ms", "50"});
    ASSERT_TRUE(m.started);
    {
        TestPort app(m.device);
        ASSERT_TRUE(app.IsOpen());
        ASSERT_TRUE(app.SetExclusive());
    }
    m.port->ReadFor(300);
    EXPECT_FALSE(m.port->IsExclusive());
}

TEST_F(Program, TimedVanishAndReturnFromTheCommandLine)
{
    Running m({"--frame-ms", "50", "--vanish-after", "300", "--return-after", "300"});
    ASSERT_TRUE(m.started);
    std::string line;
    ASSERT_TRUE(m.meter.WaitForLine("gone", line, 3000));
    int number = 0;
    std::string device;
    ASSERT_TRUE(ReadPortLine(m.meter, number, device));
    EXPECT_EQ(number, m.number);
    EXPECT_EQ(LinkTarget(number), device);
}

TEST_F(Program, ControlFifoTakesCommands)
{
    const std::string fifo = m_tmp.path() + "/control";
    Running m({"--frame-ms", "50", "--control", fifo});
    ASSERT_TRUE(m.started);
    {
        std::ofstream control(fifo);
        control << "silent on\nnonsense\n";
    }
    EXPECT_TRUE(m.meter.WaitForLine("ok silent on", 3000));
    EXPECT_TRUE(m.meter.WaitForLine("error unknown command", 3000));
    {
        std::ofstream control(fifo);
        control << "quit\n";
    }
    EXPECT_EQ(m.meter.Wait(5000), 0);
    EXPECT_FALSE(Exists(fifo));
}
