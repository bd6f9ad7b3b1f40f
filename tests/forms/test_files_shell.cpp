#include "childkit.h"
#include "forms/app.h"
#include "forms/files.h"
#include "forms/runtime_error.h"
#include "forms/shell.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <functional>
#include <fstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

bool WaitFor(const std::function<bool()>& done, int timeoutMs = 10000)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

bool Exists(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

int ErrorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const forms::RuntimeError& error) {
        return error.Number();
    }
    return 0;
}

}  // namespace

TEST(FileExists, FindsRegularFilesOnly)
{
    testutil::TempDir dir;
    const std::string file = dir.path() + "/setup.exe";
    std::ofstream(file) << "x";
    ASSERT_EQ(::mkdir((dir.path() + "/Driver").c_str(), 0755), 0);
    ASSERT_EQ(::symlink(file.c_str(), (dir.path() + "/link").c_str()), 0);
    ASSERT_EQ(::symlink((dir.path() + "/gone").c_str(), (dir.path() + "/dangling").c_str()), 0);

    EXPECT_TRUE(forms::FileExists(file));
    EXPECT_TRUE(forms::FileExists(dir.path() + "/link"));
    EXPECT_TRUE(forms::FileExists(dir.path() + "//setup.exe"));
    EXPECT_FALSE(forms::FileExists(dir.path() + "/missing.exe"));
    EXPECT_FALSE(forms::FileExists(dir.path() + "/Driver"));
    EXPECT_FALSE(forms::FileExists(dir.path() + "/dangling"));
    EXPECT_FALSE(forms::FileExists(file + "/inside"));
    EXPECT_FALSE(forms::FileExists(""));
}

TEST(FileExists, FailedSearchIsARuntimeError)
{
    testutil::TempDir dir;
    const std::string loop = dir.path() + "/loop";
    ASSERT_EQ(::symlink(loop.c_str(), loop.c_str()), 0);
    EXPECT_EQ(ErrorOf([&] { forms::FileExists(loop); }), ELOOP);
    EXPECT_EQ(ErrorOf([&] { forms::FileExists(dir.path() + "/" + std::string(300, 'a')); }), ENAMETOOLONG);
}

TEST(Shell, StartsWithoutWaitingAndReapsTheChild)
{
    testutil::TempDir dir;
    const std::string program = dir.path() + "/setup.exe";
    childkit::WriteScript(program,
                          "d=$(dirname \"$0\")\n"
                          "echo $$ > \"$d/started\"\n"
                          "i=0; while [ ! -e \"$d/go\" ] && [ $i -lt 200 ]; do sleep 0.05; i=$((i+1)); done\n"
                          "echo done > \"$d/finished\"");

    const pid_t pid = forms::Shell(program);
    EXPECT_FALSE(Exists(dir.path() + "/finished")) << "the caller waited for the program";
    ASSERT_TRUE(WaitFor([&] { return !childkit::ReadFile(dir.path() + "/started").empty(); }));
    EXPECT_EQ(std::stoi(childkit::ReadFile(dir.path() + "/started")), pid);
    EXPECT_NE(childkit::ProcessState(pid), 'Z');
    EXPECT_EQ(::getsid(pid), pid) << "the program has a session of its own";

    std::ofstream(dir.path() + "/go") << "";
    EXPECT_TRUE(WaitFor([&] { return !childkit::ProcessExists(pid); }))
        << "left in state " << childkit::ProcessState(pid);
    EXPECT_TRUE(Exists(dir.path() + "/finished"));
}

TEST(Shell, WhatCannotStartIsARuntimeError)
{
    testutil::TempDir dir;
    const std::string plain = dir.path() + "/plain.exe";
    std::ofstream(plain) << "#!/bin/sh\n";
    ::chmod(plain.c_str(), 0644);
    const std::string garbage = dir.path() + "/garbage.exe";
    std::ofstream(garbage) << "MZ not a program here";
    ::chmod(garbage.c_str(), 0755);

    EXPECT_EQ(ErrorOf([&] { forms::Shell(dir.path() + "/missing.exe"); }), ENOENT);
    EXPECT_EQ(ErrorOf([&] { forms::Shell(plain); }), EACCES);
    EXPECT_EQ(ErrorOf([&] { forms::Shell(garbage); }), ENOEXEC);
    EXPECT_EQ(ErrorOf([&] { forms::Shell(dir.path()); }), EACCES);
}

TEST(AppPath, IsTheFolderOfTheRunningProgram)
{
    const std::string folder = forms::App::Path();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.front(), '/');
    EXPECT_NE(folder.back(), '/');
    struct stat self {}, found {};
    ASSERT_EQ(::stat("/proc/self/exe", &self), 0);
    ASSERT_EQ(::stat((folder + "/" + program_invocation_short_name).c_str(), &found), 0);
    EXPECT_EQ(self.st_ino, found.st_ino);
    EXPECT_EQ(self.st_dev, found.st_dev);
}
