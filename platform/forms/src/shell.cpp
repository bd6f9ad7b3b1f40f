#include "forms/shell.h"

#include "forms/runtime_error.h"

#include <cerrno>
#include <csignal>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace forms {

namespace {

// A waiter per child, so that only our own children are reaped: a SIGCHLD
// handler that waits for any child would steal other code's exit statuses.
void ReapWhenDone(pid_t pid)
{
    std::thread([pid] {
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
}

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

}  // namespace

pid_t Shell(const std::string& path)
{
    SpawnAttributes attributes;
    std::string argument0 = path;
    char* argv[] = {argument0.data(), nullptr};
    pid_t pid = 0;
    const int err = ::posix_spawn(&pid, path.c_str(), nullptr, attributes.get(), argv, environ);
    if (err != 0)
        throw ErrorFromErrno(err, path);
    ReapWhenDone(pid);
    return pid;
}

}  // namespace forms
