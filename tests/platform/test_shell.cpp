#include "support/scopedenv.h"
#include "support/tempdir.h"
#include "win32/errors.h"
#include "win32/shell.h"
#include "win32/internal.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include <csignal>
#include <pthread.h>
#include <sys/stat.h>

namespace {

constexpr INT kShowNormal = SW_SHOWNORMAL;

intptr_t Code(HINSTANCE result)
{
    return reinterpret_cast<intptr_t>(result);
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(ModuleFileName, IsTheRunningProgramAndFitsTheBuffer)
{
    WCHAR path[260] = {};
    DWORD n = GetModuleFileNameW(nullptr, path, 260);
    ASSERT_GT(n, 0u);
    std::wstring text(path);
    EXPECT_EQ(text.size(), n);
    EXPECT_EQ(text.front(), L'/');
    EXPECT_NE(text.find(L"/win32_test_shell"), std::wstring::npos);

    WCHAR small[5];
    std::fill(std::begin(small), std::end(small), L'x');
    EXPECT_EQ(GetModuleFileNameW(nullptr, small, 5), 4u);
    EXPECT_EQ(small[4], L'\0');
    EXPECT_EQ(std::wstring(small), text.substr(0, 4));

    SetLastError(0);
    EXPECT_EQ(GetModuleFileNameW(reinterpret_cast<HMODULE>(1), path, 260), 0u);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

// A stand-in "xdg-open" in PATH that writes its arguments to a file.
class DesktopHandler : public ::testing::Test {
protected:
    void SetUp() override
    {
        log = bin.path() + "/opened";
        std::ofstream script(bin.path() + "/xdg-open");
        script << "#!/bin/sh\nprintf '%s\\n' \"$@\" > " << log << ".tmp && mv " << log << ".tmp " << log << "\n";
        script.close();
        chmod((bin.path() + "/xdg-open").c_str(), 0755);
        help = files.path() + "/KV415 manual.chm";
        std::ofstream(help) << "help";
    }

    bool WaitForLog()
    {
        for (int i = 0; i < 500; ++i) {
            struct stat info;
            if (stat(log.c_str(), &info) == 0)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }

    testutil::TempDir bin;
    testutil::TempDir files;
    std::string log;
    std::string help;
};

TEST_F(DesktopHandler, OpensAnExistingFileWithXdgOpen)
{
    testutil::ScopedEnv path("PATH", bin.path() + ":/usr/bin:/bin");
    const std::wstring file(help.begin(), help.end());
    EXPECT_GT(Code(ShellExecuteW(nullptr, L"open", file.c_str(), nullptr, nullptr, kShowNormal)), 32);
    ASSERT_TRUE(WaitForLog());
    EXPECT_EQ(ReadFile(log), help + "\n");
}

// A program that ignores SIGPIPE (as a program writing to sockets does) or
// blocks a signal must not hand that on to the handler it starts.
TEST_F(DesktopHandler, StartsTheHandlerWithDefaultSignalHandling)
{
    std::ofstream script(bin.path() + "/xdg-open");
    script << "#!/bin/sh\ngrep -E '^Sig(Ign|Blk):' /proc/self/status > " << log << ".tmp && mv " << log << ".tmp " << log
           << "\n";
    script.close();
    testutil::ScopedEnv path("PATH", bin.path() + ":/usr/bin:/bin");

    struct sigaction ignore {}, before {};
    ignore.sa_handler = SIG_IGN;
    ASSERT_EQ(sigaction(SIGPIPE, &ignore, &before), 0);
    sigset_t usr1, mask;
    sigemptyset(&usr1);
    sigaddset(&usr1, SIGUSR1);
    ASSERT_EQ(pthread_sigmask(SIG_BLOCK, &usr1, &mask), 0);
    const std::wstring file(help.begin(), help.end());
    const intptr_t result = Code(ShellExecuteW(nullptr, L"open", file.c_str(), nullptr, nullptr, kShowNormal));
    pthread_sigmask(SIG_SETMASK, &mask, nullptr);
    sigaction(SIGPIPE, &before, nullptr);

    EXPECT_GT(result, 32);
    ASSERT_TRUE(WaitForLog());
    std::istringstream status(ReadFile(log));
    std::string name;
    unsigned long long ignored = ~0ull, blocked = ~0ull;
    for (std::string hex; status >> name >> hex;)
        (name == "SigIgn:" ? ignored : blocked) = std::stoull(hex, nullptr, 16);
    EXPECT_EQ(ignored & (1ull << (SIGPIPE - 1)), 0u) << "SIGPIPE is still ignored in the handler";
    EXPECT_EQ(blocked & (1ull << (SIGUSR1 - 1)), 0u) << "SIGUSR1 is still blocked in the handler";
}

TEST_F(DesktopHandler, MissingFilesOtherVerbsAndNoHandlerStartNothing)
{
    testutil::ScopedEnv path("PATH", bin.path() + ":/usr/bin:/bin");
    const std::wstring missing = std::wstring(files.path().begin(), files.path().end()) + L"/KV415.chm";
    EXPECT_EQ(Code(ShellExecuteW(nullptr, L"open", missing.c_str(), nullptr, nullptr, kShowNormal)), SE_ERR_FNF);
    const std::wstring file(help.begin(), help.end());
    EXPECT_EQ(Code(ShellExecuteW(nullptr, L"print", file.c_str(), nullptr, nullptr, kShowNormal)), SE_ERR_NOASSOC);
    {
        testutil::ScopedEnv nowhere("PATH", files.path());
        EXPECT_EQ(Code(ShellExecuteW(nullptr, L"open", file.c_str(), nullptr, nullptr, kShowNormal)), SE_ERR_NOASSOC);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    struct stat info;
    EXPECT_NE(stat(log.c_str(), &info), 0);
}

} // namespace
