#include "win32/process.h"

#include <cerrno>
#include <csignal>
#include <thread>

#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace win32 {

namespace {

class SpawnAttributes {
public:
    SpawnAttributes()
    {
        posix_spawnattr_init(&m_attr);
        sigset_t none, all;
        sigemptyset(&none);
        sigfillset(&all);
        posix_spawnattr_setsigmask(&m_attr, &none);
        posix_spawnattr_setsigdefault(&m_attr, &all);
        posix_spawnattr_setflags(&m_attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSID);
    }
    ~SpawnAttributes() { posix_spawnattr_destroy(&m_attr); }
    SpawnAttributes(const SpawnAttributes&) = delete;
    SpawnAttributes& operator=(const SpawnAttributes&) = delete;
    const posix_spawnattr_t* get() const { return &m_attr; }

private:
    posix_spawnattr_t m_attr;
};

// A waiter per child, so that only our own children are reaped: a SIGCHLD
// handler that waits for any child would take other code's exit statuses.
void ReapWhenDone(pid_t pid)
{
    std::thread([pid] {
        while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
        }
    }).detach();
}

}  // namespace

int StartProcess(const std::string& program, const std::vector<std::string>& args, bool search, pid_t* pid)
{
    std::vector<std::string> words = args;
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    SpawnAttributes attributes;
    pid_t child = 0;
    const int err = search ? ::posix_spawnp(&child, program.c_str(), nullptr, attributes.get(), argv.data(), environ)
                           : ::posix_spawn(&child, program.c_str(), nullptr, attributes.get(), argv.data(), environ);
    if (err != 0)
        return err;
    ReapWhenDone(child);
    if (pid)
        *pid = child;
    return 0;
}

}  // namespace win32
