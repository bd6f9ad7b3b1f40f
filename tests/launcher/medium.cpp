#include "medium.h"

#include "childkit.h"
#include "guikit.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

std::string Medium::AddInstaller(const std::string& relative) const
{
    const std::string path = At(relative);
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    childkit::WriteScript(path,
                          "echo \"$$ $0\" > \"$0.started\"\n"
                          "i=0; while [ ! -e \"$0.go\" ] && [ $i -lt 200 ]; do sleep 0.05; i=$((i+1)); done\n"
                          "echo done > \"$0.finished\"");
    return path;
}

void ExpectStartedWithoutWaiting(const std::string& installer)
{
    namespace fs = std::filesystem;
    EXPECT_FALSE(fs::exists(installer + ".finished")) << "the launcher waited for " << installer;
    ASSERT_TRUE(guikit::PumpUntil([&] { return !childkit::ReadFile(installer + ".started").empty(); }))
        << installer << " did not start";
    std::istringstream mark(childkit::ReadFile(installer + ".started"));
    int pid = 0;
    std::string argument0;
    mark >> pid >> argument0;
    EXPECT_EQ(argument0, installer);
    EXPECT_NE(childkit::ProcessState(pid), 'Z');

    std::ofstream(installer + ".go") << "";
    EXPECT_TRUE(guikit::PumpUntil([&] { return !childkit::ProcessExists(pid); }))
        << "left in state " << childkit::ProcessState(pid);
    EXPECT_TRUE(fs::exists(installer + ".finished"));
    for (const char* suffix : {".started", ".go", ".finished"})
        fs::remove(installer + suffix);
}
