// Serial-link benchmark: streams from a pseudo-terminal through a CComPort
// opened as the application opens the meter's port (receive mode 2, chunks
// of 20 bytes) and reports
//   - the reader thread's CPU time per second of streaming (target < 0.5 %
//     of one core) and the whole process's,
//   - the delay from a short burst's last byte to its delivery (target
//     100 ms +- 15 ms),
//   - sustained throughput at 9600 and 115200 baud, with every byte checked
//     for loss and order. A pseudo-terminal has no line rate: a writer
//     process paces the bytes to rate / 10 bytes per second, either in the
//     meter's 20-byte frames or as a trickle written every 2 ms (a comm event
//     and a wake-up of the reader for almost every write).
//   - when the simulated meter (metersim, beside this program) is there: the
//     same figures for its live frames sent back to back (a frame every 21 ms,
//     a busy 9600-baud line), every frame checked for its 0xA5 0x0D start.
//
// Command (after scripts/build.sh build):
//   build/bin/serial_bench [seconds per stream, default 10]
// Exit status 0 when every target is met, 1 otherwise.
#include "seriallink/ComPort.h"
#include "win32/ports.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <mutex>
#include <signal.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <time.h>
#include <unistd.h>
#include <vector>

namespace {

const int kPort = 3;
const int kChunk = 20;
const int kPatternPeriod = 251;  // prime, so the pattern never lines up with a chunk

double Now()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

double CpuSeconds(clockid_t clock)
{
    timespec ts{};
    clock_gettime(clock, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

// What the receive callback sees, checked against the pattern as it arrives.
struct Receiver {
    std::mutex mutex;
    long long bytes = 0;
    long long wrong = 0;
    long long chunks = 0;
    int largestChunk = 0;
    double firstTime = 0, lastTime = 0;
    double firstThreadCpu = 0, lastThreadCpu = 0;

    static void Callback(void* self, char* data, int length)
    {
        auto* r = static_cast<Receiver*>(self);
        const double now = Now();
        const double cpu = CpuSeconds(CLOCK_THREAD_CPUTIME_ID);  // the reader thread's own clock
        std::lock_guard<std::mutex> lock(r->mutex);
        for (int i = 0; i < length; ++i) {
            if (static_cast<unsigned char>(data[i]) != (r->bytes + i) % kPatternPeriod)
                r->wrong++;
        }
        if (r->chunks == 0) {
            r->firstTime = now;
            r->firstThreadCpu = cpu;
        }
        r->lastTime = now;
        r->lastThreadCpu = cpu;
        r->bytes += length;
        r->chunks++;
        if (length > r->largestChunk)
            r->largestChunk = length;
    }

    void Reset()
    {
        std::lock_guard<std::mutex> lock(mutex);
        bytes = wrong = chunks = 0;
        largestChunk = 0;
        firstTime = lastTime = firstThreadCpu = lastThreadCpu = 0;
    }
};

// Writes the pattern to fd at rate bytes per second for seconds, in whole
// frames of frame bytes (0: whatever is due every 2 ms), in a child process so
// that its CPU time is not the reader's. Returns the child's pid.
pid_t StartPacedWriter(int fd, double rate, double seconds, int frame, long long* planned)
{
    *planned = static_cast<long long>(std::floor(rate * seconds));
    const long long total = *planned;
    const pid_t pid = fork();
    if (pid != 0)
        return pid;
    const double start = Now();
    long long sent = 0;
    unsigned char buffer[4096];
    while (sent < total) {
        long long due = std::min(total, static_cast<long long>((Now() - start) * rate));
        if (frame > 0 && due < total)
            due -= due % frame;
        while (sent < due) {
            const long long n = std::min<long long>(due - sent, sizeof(buffer));
            for (long long i = 0; i < n; ++i)
                buffer[i] = static_cast<unsigned char>((sent + i) % kPatternPeriod);
            const ssize_t w = write(fd, buffer, static_cast<size_t>(n));
            if (w <= 0)
                _exit(2);
            sent += w;
        }
        const long pauseNs = frame > 0 ? std::max(100000L, static_cast<long>(frame / rate * 1e9 / 4)) : 2000000L;
        const timespec pause{0, pauseNs};
        nanosleep(&pause, nullptr);
    }
    _exit(0);
}

struct StreamResult {
    long long planned = 0, received = 0, wrong = 0;
    double seconds = 0, readerCpuPercent = 0, processCpuPercent = 0;
    int largestChunk = 0;
};

StreamResult Stream(int master, Receiver& receiver, int baud, int frame, double seconds)
{
    receiver.Reset();
    StreamResult result;
    const double processCpuStart = CpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
    const double start = Now();
    const pid_t writer = StartPacedWriter(master, baud / 10.0, seconds, frame, &result.planned);
    int status = 0;
    waitpid(writer, &status, 0);
    // The last bytes of the stream come one read interval later.
    const double deadline = Now() + 2.0;
    for (;;) {
        {
            std::lock_guard<std::mutex> lock(receiver.mutex);
            if (receiver.bytes >= result.planned || Now() > deadline)
                break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    const double processCpu = CpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - processCpuStart;
    const double elapsed = Now() - start;
    std::lock_guard<std::mutex> lock(receiver.mutex);
    result.received = receiver.bytes;
    result.wrong = receiver.wrong;
    result.largestChunk = receiver.largestChunk;
    result.seconds = receiver.lastTime - receiver.firstTime;
    if (result.seconds > 0)
        result.readerCpuPercent = 100.0 * (receiver.lastThreadCpu - receiver.firstThreadCpu) / result.seconds;
    result.processCpuPercent = 100.0 * processCpu / elapsed;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        std::fprintf(stderr, "writer failed\n");
    return result;
}

// Delay from the write of a burst's last byte to the delivery of the burst.
std::vector<double> BurstDelays(int master, Receiver& receiver, int bursts)
{
    std::vector<double> delays;
    receiver.Reset();
    long long expected = 0;
    for (int b = 0; b < bursts; ++b) {
        unsigned char burst[5];
        for (int i = 0; i < 5; ++i)
            burst[i] = static_cast<unsigned char>((expected + i) % kPatternPeriod);
        expected += 5;
        const double sent = Now();
        if (write(master, burst, sizeof(burst)) != static_cast<ssize_t>(sizeof(burst)))
            break;
        for (;;) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            std::lock_guard<std::mutex> lock(receiver.mutex);
            if (receiver.bytes >= expected) {
                delays.push_back((receiver.lastTime - sent) * 1000.0);
                break;
            }
            if (Now() - sent > 2.0)
                break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
    }
    return delays;
}


// Live frames of the simulated meter: 20 bytes, each starting 0xA5 0x0D.
struct FrameReceiver {
    std::mutex mutex;
    std::string pending;
    bool synced = false;
    long long bytes = 0, goodFrames = 0, badFrames = 0;
    double firstTime = 0, lastTime = 0, firstThreadCpu = 0, lastThreadCpu = 0;

    static void Callback(void* self, char* data, int length)
    {
        auto* r = static_cast<FrameReceiver*>(self);
        const double now = Now();
        const double cpu = CpuSeconds(CLOCK_THREAD_CPUTIME_ID);
        std::lock_guard<std::mutex> lock(r->mutex);
        if (r->bytes == 0) {
            r->firstTime = now;
            r->firstThreadCpu = cpu;
        }
        r->lastTime = now;
        r->lastThreadCpu = cpu;
        r->bytes += length;
        r->pending.append(data, static_cast<size_t>(length));
        r->Check();
    }

    void Check()
    {
        for (;;) {
            if (!synced) {
                const size_t start = pending.find("\xA5\x0D");
                if (start == std::string::npos) {
                    pending.erase(0, pending.size() > 1 ? pending.size() - 1 : 0);
                    return;
                }
                pending.erase(0, start);
                synced = true;
            }
            if (pending.size() < 20)
                return;
            if (pending.compare(0, 2, "\xA5\x0D") == 0) {
                goodFrames++;
                pending.erase(0, 20);
            } else {
                badFrames++;
                synced = false;
            }
        }
    }
};

// Streams from metersim for seconds; false when it cannot be started.
bool StreamFromSimulator(const std::string& program, double seconds)
{
    const int simPort = 4;
    int input[2];
    if (access(program.c_str(), X_OK) != 0 || pipe(input) != 0)
        return false;
    const pid_t sim = fork();
    if (sim == 0) {
        dup2(input[0], 0);
        const int devNull = open("/dev/null", O_WRONLY);
        dup2(devNull, 1);
        execl(program.c_str(), "metersim", "--port", "4", "--frame-ms", "21", "--seed", "7",
              static_cast<char*>(nullptr));
        _exit(127);
    }
    close(input[0]);
    bool linked = false;
    for (int i = 0; i < 500 && !linked; ++i) {
        linked = !win32::DeviceForComNumber(simPort).empty() &&
                 access(win32::DeviceForComNumber(simPort).c_str(), F_OK) == 0;
        if (!linked)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    bool started = false;
    if (linked) {
        FrameReceiver receiver;
        CComPort port;
        if (port.Open(simPort, AutoReceiveMode, 9600, ParityNone, 8, StopBitsOne, FlowNone)) {
            started = true;
            port.m_pReadThread->m_nReadSize = kChunk;
            port.SetReceiveCallback(&FrameReceiver::Callback, &receiver);
            const double processCpuStart = CpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
            const double start = Now();
            std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
            const double processCpu = CpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - processCpuStart;
            const double elapsed = Now() - start;
            port.Close();
            std::lock_guard<std::mutex> lock(receiver.mutex);
            const double streamed = receiver.lastTime - receiver.firstTime;
            std::printf("metersim, a frame every 21 ms: %lld frames (%lld bytes) in %.2f s, %lld broken\n",
                        receiver.goodFrames, receiver.bytes, streamed, receiver.badFrames);
            std::printf("        reader thread CPU %.3f %% of one core per second of streaming; process %.3f %%\n",
                        streamed > 0 ? 100.0 * (receiver.lastThreadCpu - receiver.firstThreadCpu) / streamed : 0.0,
                        100.0 * processCpu / elapsed);
        }
    }
    kill(sim, SIGTERM);
    close(input[1]);
    waitpid(sim, nullptr, 0);
    return started;
}

}  // namespace

int main(int argc, char** argv)
{
    const double seconds = argc > 1 ? std::atof(argv[1]) : 10.0;
    if (seconds <= 0) {
        std::fprintf(stderr, "usage: %s [seconds per stream]\n", argv[0]);
        return 2;
    }
    signal(SIGPIPE, SIG_IGN);
    char dirTemplate[] = "/tmp/serial-bench-XXXXXX";
    if (!mkdtemp(dirTemplate))
        return 2;
    const std::string portDir = std::string(dirTemplate) + "/ports";
    setenv("COMPORTS_DIR", portDir.c_str(), 1);
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0 ||
        !win32::WritePortLink(kPort, ptsname(master), "")) {
        std::fprintf(stderr, "no pseudo-terminal\n");
        return 2;
    }

    Receiver receiver;
    CComPort port;
    if (!port.Open(kPort, AutoReceiveMode, 9600, ParityNone, 8, StopBitsOne, FlowNone)) {
        std::fprintf(stderr, "cannot open COM%d\n", kPort);
        return 2;
    }
    port.m_pReadThread->m_nReadSize = kChunk;
    port.SetReceiveCallback(&Receiver::Callback, &receiver);
    // Completes the first read, which went out before the chunk size was set.
    const unsigned char first = 0;
    if (write(master, &first, 1) != 1)
        return 2;
    std::this_thread::sleep_for(std::chrono::milliseconds(300));

    bool ok = true;
    const double idleStart = CpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
    std::this_thread::sleep_for(std::chrono::seconds(2));
    const double idlePercent = 100.0 * (CpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - idleStart) / 2.0;
    std::printf("idle: process CPU %.3f %% of one core\n", idlePercent);

    const std::vector<double> delays = BurstDelays(master, receiver, 20);
    if (delays.empty()) {
        std::printf("burst delay: no burst delivered\n");
        ok = false;
    } else {
        double sum = 0, low = delays[0], high = delays[0];
        for (double d : delays) {
            sum += d;
            low = std::min(low, d);
            high = std::max(high, d);
        }
        const double mean = sum / static_cast<double>(delays.size());
        const bool met = low >= 85.0 && high <= 115.0;
        ok = ok && met;
        std::printf("burst of 5 bytes, last byte to delivery: mean %.1f ms, min %.1f, max %.1f over %zu bursts "
                    "(target 100 +- 15): %s\n",
                    mean, low, high, delays.size(), met ? "met" : "MISSED");
    }

    struct Run {
        int baud;
        int frame;
        bool cpuTarget;
    };
    for (const Run& run : {Run{9600, kChunk, true}, Run{9600, 0, false}, Run{115200, 0, false}}) {
        const StreamResult r = Stream(master, receiver, run.baud, run.frame, seconds);
        const bool intact = r.received == r.planned && r.wrong == 0;
        const bool cpuMet = r.readerCpuPercent < 0.5;
        ok = ok && intact && (!run.cpuTarget || cpuMet) && r.largestChunk <= kChunk;
        std::printf("%6d baud, %s: %lld of %lld bytes in %.2f s (%.0f bytes/s), %lld wrong or out of order, "
                    "largest chunk %d: %s\n",
                    run.baud, run.frame ? "20-byte frames" : "2 ms trickle", r.received, r.planned, r.seconds,
                    r.seconds > 0 ? r.received / r.seconds : 0.0, r.wrong, r.largestChunk, intact ? "intact" : "LOST");
        std::printf("        reader thread CPU %.3f %% of one core per second of streaming%s; process %.3f %%\n",
                    r.readerCpuPercent, run.cpuTarget ? (cpuMet ? " (target < 0.5: met)" : " (target < 0.5: MISSED)") : "",
                    r.processCpuPercent);
    }

    port.Close();
    const std::string self = argv[0];
    const std::string simulator = self.substr(0, self.rfind('/') + 1) + "metersim";
    if (!StreamFromSimulator(simulator, seconds))
        std::printf("metersim: not available beside this program; skipped\n");
    close(master);
    win32::RemovePortLink(kPort);
    rmdir(portDir.c_str());
    rmdir(dirTemplate);
    return ok ? 0 : 1;
}
