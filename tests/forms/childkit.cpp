#include "childkit.h"

#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace childkit {

void WriteScript(const std::string& path, const std::string& body)
{
    {
        std::ofstream out(path);
        out << "#!/bin/sh\n" << body << "\n";
    }
    ::chmod(path.c_str(), 0755);
}

char ProcessState(int pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line))
        return 0;
    // The state follows the parenthesised command name, which may hold spaces.
    const size_t close = line.rfind(')');
    return close != std::string::npos && close + 2 < line.size() ? line[close + 2] : 0;
}

bool ProcessExists(int pid)
{
    return ProcessState(pid) != 0;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace childkit
