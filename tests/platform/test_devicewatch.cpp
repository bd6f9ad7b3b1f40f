#include "support/scopedenv.h"
#include "support/tempdir.h"
#include "win32/device_watcher.h"
#include "win32/errors.h"
#include "win32/ports.h"
#include "win32/testing.h"
#include "win32/internal.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Collects the events a watcher reports.
class EventLog {
public:
    win32::DeviceWatcher::Callback Receiver()
    {
        return [this](UINT event) {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_events.push_back(event);
            m_changed.notify_all();
        };
    }

    // Waits until event has been reported after position from; its position, or -1.
    int WaitFor(UINT event, size_t from, std::chrono::milliseconds limit)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        int found = -1;
        m_changed.wait_for(lock, limit, [&] {
            for (size_t i = from; i < m_events.size(); ++i)
                if (m_events[i] == event) {
                    found = static_cast<int>(i);
                    return true;
                }
            return false;
        });
        return found;
    }

    size_t Count()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_events.size();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<UINT> m_events;
};

class Watching : public ::testing::Test {
protected:
    Watching() : portDir(tmp.path() + "/config/comports"), portsEnv("COMPORTS_DIR", portDir) {}

    testutil::TempDir tmp;
    std::string portDir;
    testutil::ScopedEnv portsEnv;
};

TEST_F(Watching, LinksAppearingAndDisappearingAreReportedAtOnce)
{
    EventLog log;
    win32::DeviceWatcher watcher;
    ASSERT_TRUE(watcher.Start(log.Receiver()));
    EXPECT_TRUE(std::filesystem::is_directory(portDir)) << "the missing directory is created to be watched";

    size_t mark = log.Count();
    Clock::time_point start = Clock::now();
    ASSERT_TRUE(win32::WritePortLink(12, "/dev/null", "Simulated meter (COM12)"));
    ASSERT_GE(log.WaitFor(DBT_DEVICEARRIVAL, mark, 1000ms), 0) << "link creation not reported within a second";
    const auto arrival = Clock::now() - start;

    mark = log.Count();
    start = Clock::now();
    ASSERT_TRUE(win32::RemovePortLink(12));
    ASSERT_GE(log.WaitFor(DBT_DEVICEREMOVECOMPLETE, mark, 1000ms), 0) << "link removal not reported within a second";
    const auto removal = Clock::now() - start;
    std::printf("arrival reported after %.2f ms, removal after %.2f ms\n",
                std::chrono::duration<double, std::milli>(arrival).count(),
                std::chrono::duration<double, std::milli>(removal).count());

    // A name file on its own is a change, not a new port.
    mark = log.Count();
    std::ofstream(portDir + "/com3.name") << "Renamed (COM3)\n";
    EXPECT_GE(log.WaitFor(DBT_DEVNODES_CHANGED, mark, 1000ms), 0);

    watcher.Stop();
    mark = log.Count();
    ASSERT_TRUE(win32::WritePortLink(13, "/dev/null", ""));
    EXPECT_EQ(log.WaitFor(DBT_DEVICEARRIVAL, mark, 200ms), -1) << "reported after Stop";
}

TEST_F(Watching, TtyNodesAppearingAndDisappearingAreReported)
{
    const std::string devDir = tmp.path() + "/dev";
    std::filesystem::create_directories(devDir);
    win32test::ScopedDeviceTree tree(tmp.path() + "/sys", devDir);
    EventLog log;
    win32::DeviceWatcher watcher;
    ASSERT_TRUE(watcher.Start(log.Receiver()));

    // Only tty nodes count.
    std::ofstream(devDir + "/loop3") << "";
    size_t mark = log.Count();
    std::ofstream(devDir + "/ttyUSB0") << "";
    ASSERT_GE(log.WaitFor(DBT_DEVICEARRIVAL, mark, 1000ms), 0);
    mark = log.Count();
    std::filesystem::remove(devDir + "/ttyUSB0");
    ASSERT_GE(log.WaitFor(DBT_DEVICEREMOVECOMPLETE, mark, 1000ms), 0);
    watcher.Stop();
    EXPECT_EQ(log.Count(), 2u) << "loop3 was reported";
}

TEST_F(Watching, PortDirectoryRemovedIsWatchedAgain)
{
    EventLog log;
    win32::DeviceWatcher watcher;
    ASSERT_TRUE(watcher.Start(log.Receiver()));
    size_t mark = log.Count();
    std::filesystem::remove_all(portDir);
    ASSERT_GE(log.WaitFor(DBT_DEVNODES_CHANGED, mark, 1000ms), 0);

    mark = log.Count();
    ASSERT_TRUE(win32::WritePortLink(4, "/dev/null", ""));
    EXPECT_GE(log.WaitFor(DBT_DEVICEARRIVAL, mark, 1000ms), 0);
    watcher.Stop();
}

TEST_F(Watching, StartsOnceAndRestartsAfterStop)
{
    EventLog log;
    win32::DeviceWatcher watcher;
    watcher.Stop();  // never started: nothing happens
    ASSERT_TRUE(watcher.Start(log.Receiver()));
    EXPECT_FALSE(watcher.Start(log.Receiver()));
    EXPECT_EQ(GetLastError(), ERROR_BUSY);
    watcher.Stop();
    watcher.Stop();
    ASSERT_TRUE(watcher.Start(log.Receiver()));
    const size_t mark = log.Count();
    ASSERT_TRUE(win32::WritePortLink(6, "/dev/null", ""));
    EXPECT_GE(log.WaitFor(DBT_DEVICEARRIVAL, mark, 1000ms), 0);
}

TEST_F(Watching, StopWhileEventsArriveEndsEveryCallbackFirst)
{
    std::atomic<bool> churning{true};
    std::thread churn([&] {
        for (int i = 0; churning; ++i) {
            win32::WritePortLink(1 + i % 8, "/dev/null", i % 2 ? "Busy (COM1)" : "");
            win32::RemovePortLink(1 + (i + 4) % 8);
        }
    });

    struct Round {
        std::atomic<bool> entered{false};
        std::atomic<bool> stopped{false};
    };
    // Every round's flags outlive the loop, so a callback that Stop failed to wait for is still caught.
    const int rounds = 20;
    std::vector<Round> flags(rounds);
    std::atomic<int> calls{0};
    std::atomic<int> callsAfterStop{0};
    for (int round = 0; round < rounds; ++round) {
        Round& mine = flags[static_cast<size_t>(round)];
        win32::DeviceWatcher watcher;
        ASSERT_TRUE(watcher.Start([&](UINT) {
            ++calls;
            mine.entered = true;
            std::this_thread::sleep_for(2ms);
            if (mine.stopped)
                ++callsAfterStop;
        }));
        // Even rounds stop in the middle of a callback, odd ones at any moment.
        const Clock::time_point limit = Clock::now() + 2s;
        while (round % 2 == 0 && !mine.entered && Clock::now() < limit)
            std::this_thread::sleep_for(100us);
        std::this_thread::sleep_for(std::chrono::microseconds(300 * (round % 7)));
        watcher.Stop();
        mine.stopped = true;
    }
    churning = false;
    churn.join();
    std::this_thread::sleep_for(20ms);
    EXPECT_GT(calls.load(), 0);
    EXPECT_EQ(callsAfterStop.load(), 0);
}

TEST_F(Watching, CallbackMayStopAndDestroyItsWatcher)
{
    std::mutex mutex;
    std::condition_variable done;
    bool stoppedInside = false;
    auto* watcher = new win32::DeviceWatcher;
    ASSERT_TRUE(watcher->Start([&](UINT) {
        std::lock_guard<std::mutex> lock(mutex);
        if (!watcher)
            return;
        watcher->Stop();
        delete watcher;
        watcher = nullptr;
        stoppedInside = true;
        done.notify_all();
    }));
    ASSERT_TRUE(win32::WritePortLink(2, "/dev/null", ""));
    std::unique_lock<std::mutex> lock(mutex);
    EXPECT_TRUE(done.wait_for(lock, 2s, [&] { return stoppedInside; }));
    if (!stoppedInside) {
        win32::DeviceWatcher* left = watcher;
        watcher = nullptr;
        lock.unlock();
        delete left;
    }
    // The detached thread ends by itself once the callback returns; give it a moment so
    // the sanitizers see it finish.
    std::this_thread::sleep_for(50ms);
}

}  // namespace
