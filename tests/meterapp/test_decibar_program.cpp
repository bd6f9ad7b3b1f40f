// The decibar program as a process: its command line is the framework's.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <string>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

namespace {

// Starts decibar with one argument; returns the process id.
pid_t Start(const std::string& argument)
{
    pid_t child = fork();
    if (child == 0) {
        execl(DECIBAR_PROGRAM, DECIBAR_PROGRAM, argument.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    return child;
}

// True when the process ended within the time; its status in *status.
bool EndsWithin(pid_t child, std::chrono::milliseconds limit, int* status)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        if (waitpid(child, status, WNOHANG) == child)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

TEST(DecibarProgram, AnExistingFileOpensTheEmptyDocumentAndRuns)
{
    char folder[] = "/tmp/decibar-cmdline-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string file = std::string(folder) + "/data.txt";
    std::ofstream(file) << "VELDMARK KV415 DATA LOGGER SamplingRate:0.5;\r\n";

    pid_t child = Start(file);
    ASSERT_GT(child, 0);
    int status = 0;
    const bool ended = EndsWithin(child, std::chrono::seconds(3), &status);
    if (!ended) {
        kill(child, SIGTERM);
        waitpid(child, nullptr, 0);
    }
    std::remove(file.c_str());
    rmdir(folder);
    EXPECT_FALSE(ended) << "status " << status;
}

} // namespace
