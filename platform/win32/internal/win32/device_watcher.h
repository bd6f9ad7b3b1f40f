// The watcher of serial device changes behind WM_DEVICECHANGE.
//
// A DeviceWatcher watches three things, because no one of them sees every
// change on every machine: the udev monitor of the "tty" subsystem (silent in
// containers and without udev), /dev through inotify (tty nodes appearing and
// disappearing; the device node folder of a test's own tree instead, as for
// the enumeration in win32/setupapi.h) and the port directory of
// win32/ports.h through inotify (links "comN" and their name files). One change may be reported by more than one of
// them, so a receiver may get the same news twice.
#pragma once

#include "win32/devicewatch.h"
#include "win32/types.h"

#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#define DBT_DEVNODES_CHANGED 0x0007u
#define DBT_DEVICEARRIVAL 0x8000u
#define DBT_DEVICEREMOVECOMPLETE 0x8004u

namespace win32 {

class DeviceWatcher {
public:
    // Called on the watcher's own thread with DBT_DEVICEARRIVAL (a tty device
    // or a link "comN" appeared), DBT_DEVICEREMOVECOMPLETE (one went away) or
    // DBT_DEVNODES_CHANGED (any other change: a udev "change", a name file of
    // the port directory written or removed, the directory itself re-created).
    using Callback = std::function<void(UINT event)>;

    DeviceWatcher() = default;
    // Stops the watcher.
    ~DeviceWatcher();
    DeviceWatcher(const DeviceWatcher&) = delete;
    DeviceWatcher& operator=(const DeviceWatcher&) = delete;

    // Starts watching on a new thread that waits in poll() and calls callback
    // for each change. The port directory (PortDirectory() at this moment) is
    // created when it is missing, so that it can be watched. Returns false and
    // sets the last error when the watcher already runs (ERROR_BUSY) or when
    // none of the three sources can be watched.
    bool Start(Callback callback);

    // Ends the thread. From any other thread, Stop returns once no callback is
    // running and none will follow. From inside the callback it only asks the
    // thread to end, which it does when the callback returns; the watcher may
    // then even be destroyed from inside the callback. Stopping a watcher
    // that does not run does nothing.
    void Stop();

private:
    struct State;
    static void Run(std::shared_ptr<State> state);

    mutable std::mutex m_mutex;
    std::shared_ptr<State> m_state;  // shared with the thread, which may outlive a stop from the callback
    std::thread m_thread;
};

}  // namespace win32
