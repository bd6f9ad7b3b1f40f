// CPU cost of receiving a meter-like stream through the Win32 comm layer.
//
//   build/bin/bench_comm_stream [seconds=10] [frame interval ms=250]
//
// A child process plays the meter on the master side of a pseudo-terminal and
// sends a 20-byte frame at every interval. This process opens the slave as
// COM7 and receives in the shape of the serial link's reader: an overlapped
// read of 20 bytes with a 100 ms interval time-out and a comm-event wait on
// all events, both pending, plus a stop event, in one WaitForMultipleObjects.
// It prints the CPU time this process used (reader thread and the device's
// I/O thread) as a share of one core.
#include "win32/comm.h"
#include "win32/errors.h"
#include "win32/kernel.h"
#include "win32/ports.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <signal.h>
#include <string>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

namespace {

double CpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

double WallSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

struct Reader {
    HANDLE port;
    HANDLE stop;
    std::atomic<unsigned long> bytes{0};
    std::atomic<unsigned long> chunks{0};
};

DWORD WINAPI ReaderMain(LPVOID parameter)
{
    Reader& r = *static_cast<Reader*>(parameter);
    OVERLAPPED readOv{}, waitOv{};
    readOv.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    waitOv.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    char buf[20];
    DWORD mask = 0, n = 0;
    auto count = [&](DWORD got) {
        if (got > 0) {
            r.bytes += got;
            ++r.chunks;
        }
    };
    auto armRead = [&] {
        while (ReadFile(r.port, buf, sizeof(buf), &n, &readOv)) {
            count(n);
            ResetEvent(readOv.hEvent);
        }
    };
    auto armWait = [&] {
        while (WaitCommEvent(r.port, &mask, &waitOv))
            ResetEvent(waitOv.hEvent);
    };
    armRead();
    armWait();
    HANDLE handles[3] = {r.stop, readOv.hEvent, waitOv.hEvent};
    for (;;) {
        const DWORD w = WaitForMultipleObjects(3, handles, FALSE, INFINITE);
        if (w == WAIT_OBJECT_0 || w == WAIT_FAILED)
            break;
        if (w == WAIT_OBJECT_0 + 1) {
            if (GetOverlappedResult(r.port, &readOv, &n, FALSE))
                count(n);
            armRead();
        } else if (w == WAIT_OBJECT_0 + 2) {
            GetOverlappedResult(r.port, &waitOv, &n, FALSE);
            armWait();
        }
    }
    CancelIo(r.port);
    GetOverlappedResult(r.port, &readOv, &n, TRUE);
    GetOverlappedResult(r.port, &waitOv, &n, TRUE);
    CloseHandle(readOv.hEvent);
    CloseHandle(waitOv.hEvent);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const double seconds = argc > 1 ? std::atof(argv[1]) : 10.0;
    const int intervalMs = argc > 2 ? std::atoi(argv[2]) : 250;

    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
        std::perror("pseudo-terminal");
        return 1;
    }
    char dirTemplate[] = "/tmp/decibar-bench-XXXXXX";
    const std::string dir = mkdtemp(dirTemplate);
    setenv("COMPORTS_DIR", dir.c_str(), 1);
    win32::WritePortLink(7, ptsname(master), "");

    HANDLE port = CreateFileW(L"\\\\.\\COM7", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OVERLAPPED, nullptr);
    if (port == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "cannot open COM7: error %u\n", GetLastError());
        return 1;
    }
    COMMTIMEOUTS timeouts{100, 0, 0, 0, 0};
    SetCommTimeouts(port, &timeouts);
    SetupComm(port, 4096, 4096);
    SetCommMask(port, 511);

    // The meter runs in its own process so that its CPU time is not counted.
    const pid_t meter = fork();
    if (meter == 0) {
        const std::string frame(20, '\xA5');
        for (;;) {
            if (write(master, frame.data(), frame.size()) < 0)
                _exit(0);
            usleep(static_cast<useconds_t>(intervalMs) * 1000);
        }
    }

    Reader reader{port, CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    HANDLE thread = CreateThread(nullptr, 0, ReaderMain, &reader, CREATE_SUSPENDED, nullptr);
    SetThreadPriority(thread, THREAD_PRIORITY_HIGHEST);
    const double cpuStart = CpuSeconds();
    const double wallStart = WallSeconds();
    ResumeThread(thread);
    Sleep(static_cast<DWORD>(seconds * 1000));
    const double cpu = CpuSeconds() - cpuStart;
    const double wall = WallSeconds() - wallStart;
    SetEvent(reader.stop);
    WaitForSingleObject(thread, INFINITE);

    kill(meter, SIGKILL);
    waitpid(meter, nullptr, 0);
    CloseHandle(thread);
    CloseHandle(reader.stop);
    CloseHandle(port);
    close(master);
    win32::RemovePortLink(7);
    rmdir(dir.c_str());

    std::printf("frames every %d ms for %.1f s: %lu bytes in %lu chunks\n", intervalMs, wall, reader.bytes.load(),
                reader.chunks.load());
    std::printf("receiving CPU: %.2f ms = %.3f %% of one core\n", cpu * 1000.0, 100.0 * cpu / wall);
    return 0;
}
