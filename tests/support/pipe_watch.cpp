#include "support/pipe_watch.h"

#include <condition_variable>
#include <fcntl.h>
#include <mutex>
#include <stdexcept>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace testutil {

void MakePipe(const std::string& path)
{
    if (mkfifo(path.c_str(), 0666) != 0)
        throw std::runtime_error("mkfifo " + path);
}

bool ReturnsWithoutWaitingOn(const std::string& path, const std::function<void()>& call,
    std::chrono::milliseconds patience)
{
    std::mutex mutex;
    std::condition_variable changed;
    bool returned = false;
    bool helped = false;
    int readEnd = -1;
    std::thread watch([&] {
        std::unique_lock<std::mutex> lock(mutex);
        if (changed.wait_for(lock, patience, [&] { return returned; }))
            return;
        helped = true;
        // A reader lets a writer waiting in open() go; a writer that closes
        // again lets a reader go, in open() or in read(). The call may open
        // the pipe again and again: it is let go each time until it returns.
        readEnd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        do {
            const int writeEnd = open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (writeEnd >= 0)
                close(writeEnd);
        } while (!changed.wait_for(lock, std::chrono::milliseconds(20), [&] { return returned; }));
    });
    call();
    {
        std::lock_guard<std::mutex> lock(mutex);
        returned = true;
    }
    changed.notify_all();
    watch.join();
    if (readEnd >= 0)
        close(readEnd);
    return !helped;
}

}  // namespace testutil
