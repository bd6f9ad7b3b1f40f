#include "win32/device_watcher.h"

#include "devicesource.h"
#include "win32/errors.h"
#include "win32/ports.h"
#include "win32/internal.h"

#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <filesystem>
#include <libudev.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>

namespace win32 {

namespace {

const uint32_t kDirectoryEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_CLOSE_WRITE;
const uint32_t kPortDirectoryEvents = kDirectoryEvents | IN_DELETE_SELF | IN_MOVE_SELF;

// The thread in whose callback we are, if any: Stop called from there must not wait for itself.
thread_local const void* t_callbackOwner = nullptr;

bool IsLinkName(const std::string& name)
{
    if (name.size() < 4 || (name.compare(0, 3, "com") != 0 && name.compare(0, 3, "COM") != 0))
        return false;
    return name.find_first_not_of("0123456789", 3) == std::string::npos;
}

bool EndsWith(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// The event a change of an entry of the device node folder stands for; 0 when it is none of ours.
UINT DevEntryEvent(const std::string& name, uint32_t mask)
{
    if (name.compare(0, 3, "tty") != 0)
        return 0;
    if (mask & (IN_CREATE | IN_MOVED_TO))
        return DBT_DEVICEARRIVAL;
    if (mask & (IN_DELETE | IN_MOVED_FROM))
        return DBT_DEVICEREMOVECOMPLETE;
    return 0;
}

UINT PortDirectoryEntryEvent(const std::string& name, uint32_t mask)
{
    if (IsLinkName(name)) {
        if (mask & (IN_CREATE | IN_MOVED_TO))
            return DBT_DEVICEARRIVAL;
        if (mask & (IN_DELETE | IN_MOVED_FROM))
            return DBT_DEVICEREMOVECOMPLETE;
        return 0;
    }
    // Links are staged under "comN.new" and renamed into place; the rename is the news.
    if (name.empty() || EndsWith(name, ".new"))
        return 0;
    // A written file is reported when it is closed, not when it is created empty.
    return (mask & (IN_CLOSE_WRITE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO)) ? DBT_DEVNODES_CHANGED : 0;
}

UINT UdevActionEvent(const char* action)
{
    if (action && std::strcmp(action, "add") == 0)
        return DBT_DEVICEARRIVAL;
    if (action && std::strcmp(action, "remove") == 0)
        return DBT_DEVICEREMOVECOMPLETE;
    return DBT_DEVNODES_CHANGED;
}

}  // namespace

struct DeviceWatcher::State {
    Callback callback;
    std::string portDirectory;
    int wakeFd = -1;
    int inotifyFd = -1;
    int devWatch = -1;
    int portWatch = -1;
    udev* udevContext = nullptr;
    udev_monitor* monitor = nullptr;

    std::atomic<bool> stopRequested{false};
    std::mutex finishedMutex;
    std::condition_variable finishedChanged;
    bool finished = false;

    ~State()
    {
        if (monitor)
            udev_monitor_unref(monitor);
        if (udevContext)
            udev_unref(udevContext);
        if (inotifyFd >= 0)
            close(inotifyFd);
        if (wakeFd >= 0)
            close(wakeFd);
    }

    void RequestStop()
    {
        stopRequested = true;
        const uint64_t one = 1;
        // The counter only needs to become non-zero; a full counter already wakes the thread.
        while (write(wakeFd, &one, sizeof(one)) < 0 && errno == EINTR) {
        }
    }

    void WaitFinished()
    {
        std::unique_lock<std::mutex> lock(finishedMutex);
        finishedChanged.wait(lock, [this] { return finished; });
    }

    bool IsFinished()
    {
        std::lock_guard<std::mutex> lock(finishedMutex);
        return finished;
    }

    void Report(UINT event)
    {
        if (!event || stopRequested)
            return;
        t_callbackOwner = this;
        callback(event);
        t_callbackOwner = nullptr;
    }

    void WatchPortDirectory()
    {
        std::error_code ignored;
        std::filesystem::create_directories(portDirectory, ignored);
        portWatch = inotify_add_watch(inotifyFd, portDirectory.c_str(), kPortDirectoryEvents);
    }

    void ReadUdev()
    {
        while (udev_device* device = udev_monitor_receive_device(monitor)) {
            const UINT event = UdevActionEvent(udev_device_get_action(device));
            udev_device_unref(device);
            Report(event);
        }
    }

    void ReadInotify()
    {
        alignas(inotify_event) char buffer[8192];
        ssize_t length = read(inotifyFd, buffer, sizeof(buffer));
        if (length <= 0)
            return;
        for (ssize_t offset = 0; offset + static_cast<ssize_t>(sizeof(inotify_event)) <= length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + offset);
            offset += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            const std::string name = event->len ? std::string(event->name) : std::string();
            if (event->mask & IN_Q_OVERFLOW) {
                Report(DBT_DEVNODES_CHANGED);
            } else if (event->wd == portWatch && (event->mask & (IN_DELETE_SELF | IN_MOVE_SELF))) {
                // The directory went away: watch a new one where the ports are looked for.
                inotify_rm_watch(inotifyFd, portWatch);
                WatchPortDirectory();
                Report(DBT_DEVNODES_CHANGED);
            } else if (event->wd == portWatch) {
                Report(PortDirectoryEntryEvent(name, event->mask));
            } else if (event->wd == devWatch) {
                Report(DevEntryEvent(name, event->mask));
            }
        }
    }
};

DeviceWatcher::~DeviceWatcher()
{
    Stop();
}

bool DeviceWatcher::Start(Callback callback)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    // A thread that ended on its own (poll failed) is collected here.
    if (m_thread.joinable() && m_state && m_state->IsFinished())
        m_thread.join();
    if (m_thread.joinable() || (m_state && !m_state->IsFinished())) {
        SetLastError(ERROR_BUSY);
        return false;
    }
    auto state = std::make_shared<State>();
    state->callback = std::move(callback);
    state->portDirectory = PortDirectory();
    state->wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (state->wakeFd < 0) {
        SetLastError(ErrorFromErrno(errno));
        return false;
    }
    int inotifyError = 0;
    state->inotifyFd = inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    if (state->inotifyFd >= 0) {
        state->devWatch = inotify_add_watch(state->inotifyFd, DeviceNodeDirectory().c_str(), IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO);
        state->WatchPortDirectory();
        if (state->portWatch < 0)
            inotifyError = errno;
    } else {
        inotifyError = errno;
    }
    state->udevContext = udev_new();
    if (state->udevContext) {
        state->monitor = udev_monitor_new_from_netlink(state->udevContext, "udev");
        if (state->monitor && (udev_monitor_filter_add_match_subsystem_devtype(state->monitor, "tty", nullptr) < 0 ||
                               udev_monitor_enable_receiving(state->monitor) < 0)) {
            udev_monitor_unref(state->monitor);
            state->monitor = nullptr;
        }
    }
    if (state->devWatch < 0 && state->portWatch < 0 && !state->monitor) {
        SetLastError(ErrorFromErrno(inotifyError ? inotifyError : ENODEV));
        return false;
    }
    m_state = state;
    try {
        m_thread = std::thread(&DeviceWatcher::Run, state);
    } catch (const std::system_error& error) {
        m_state.reset();
        SetLastError(ErrorFromErrno(error.code().value()));
        return false;
    }
    return true;
}

void DeviceWatcher::Stop()
{
    std::shared_ptr<State> state;
    std::thread thread;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        state = m_state;
        thread = std::move(m_thread);
    }
    if (!state)
        return;
    state->RequestStop();
    const bool inCallback = t_callbackOwner == state.get();
    if (thread.joinable()) {
        if (thread.get_id() == std::this_thread::get_id())
            thread.detach();
        else
            thread.join();
    }
    // Another Stop may have taken the thread first; the callback must still be over when this one returns.
    if (!inCallback)
        state->WaitFinished();
}

void DeviceWatcher::Run(std::shared_ptr<State> state)
{
    pollfd fds[3];
    nfds_t count = 0;
    fds[count++] = {state->wakeFd, POLLIN, 0};
    pollfd* inotifyPoll = nullptr;
    if (state->inotifyFd >= 0) {
        inotifyPoll = &fds[count++];
        *inotifyPoll = {state->inotifyFd, POLLIN, 0};
    }
    pollfd* udevPoll = nullptr;
    if (state->monitor) {
        udevPoll = &fds[count++];
        *udevPoll = {udev_monitor_get_fd(state->monitor), POLLIN, 0};
    }

    while (!state->stopRequested) {
        if (poll(fds, count, -1) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (fds[0].revents)
            break;
        if (inotifyPoll && inotifyPoll->revents)
            state->ReadInotify();
        if (udevPoll && udevPoll->revents)
            state->ReadUdev();
    }
    std::lock_guard<std::mutex> lock(state->finishedMutex);
    state->finished = true;
    state->finishedChanged.notify_all();
}

}  // namespace win32
