#include "win32/port_numbers.h"

#include "win32/files.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cwctype>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace win32 {

namespace {

struct NumberBlock {
    const char* prefix;
    int first;
};

// Each kernel family keeps its own block of 32 numbers.
const NumberBlock kBlocks[] = {
    {"ttyS", 1},
    {"ttyUSB", 33},
    {"ttyACM", 65},
    {"ttyAMA", 97},
};
const int kBlockSize = 32;

// A friendly name is a line of a few words; whatever a name file holds beyond
// this is not read.
const size_t kNameFileBytes = 512;

// Parses a whole decimal number; -1 when text is not one.
int ParseIndex(const std::string& text)
{
    if (text.empty() || text.size() > 6)
        return -1;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::string LinkPath(int n)
{
    return PortDirectory() + "/com" + std::to_string(n);
}

// A relative target is relative to the port directory, as for any symbolic link.
std::string ResolveTarget(const std::string& target)
{
    if (target.empty() || target[0] == '/')
        return target;
    return PortDirectory() + "/" + target;
}

// The target of the link for port n, whichever case its name is in.
std::string ReadLinkFor(int n)
{
    const std::string dir = PortDirectory();
    for (const char* prefix : {"/com", "/COM"}) {
        char target[4096];
        ssize_t len = readlink((dir + prefix + std::to_string(n)).c_str(), target, sizeof(target) - 1);
        if (len > 0)
            return std::string(target, static_cast<size_t>(len));
    }
    return {};
}

bool MakeDirectories(const std::string& path)
{
    std::string partial;
    size_t pos = 0;
    while (pos != std::string::npos) {
        pos = path.find('/', pos + 1);
        partial = path.substr(0, pos);
        if (partial.empty())
            continue;
        if (mkdir(partial.c_str(), 0755) != 0 && errno != EEXIST)
            return false;
    }
    return true;
}

}  // namespace

std::string PortDirectory()
{
    if (const char* dir = std::getenv("COMPORTS_DIR"); dir && *dir)
        return dir;
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config)
        return std::string(config) + "/comports";
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : "/tmp") + "/.config/comports";
}

int ComNumberForKernelName(const std::string& kernelName)
{
    // The longest matching prefix decides, so "ttyS" does not take "ttySAC0".
    for (const NumberBlock& block : kBlocks) {
        const std::string prefix = block.prefix;
        if (kernelName.compare(0, prefix.size(), prefix) != 0)
            continue;
        int index = ParseIndex(kernelName.substr(prefix.size()));
        if (index >= 0 && index < kBlockSize)
            return block.first + index;
    }
    return 0;
}

std::string KernelNameForComNumber(int n)
{
    for (const NumberBlock& block : kBlocks) {
        if (n >= block.first && n < block.first + kBlockSize)
            return block.prefix + std::to_string(n - block.first);
    }
    return {};
}

std::vector<PortLink> ReadPortLinks()
{
    std::vector<PortLink> links;
    const std::string dir = PortDirectory();
    DIR* d = opendir(dir.c_str());
    if (!d)
        return links;
    while (dirent* entry = readdir(d)) {
        std::string name = entry->d_name;
        if (name.size() < 4 || (name.compare(0, 3, "com") != 0 && name.compare(0, 3, "COM") != 0))
            continue;
        int n = ParseIndex(name.substr(3));
        if (n < 1)
            continue;
        const std::string path = dir + "/" + name;
        char target[4096];
        ssize_t len = readlink(path.c_str(), target, sizeof(target) - 1);
        if (len <= 0)
            continue;
        PortLink link;
        link.number = n;
        link.target.assign(target, static_cast<size_t>(len));
        std::string friendly;
        if (ReadFileHead(path + ".name", kNameFileBytes, &friendly))
            link.friendlyName = friendly.substr(0, friendly.find('\n'));
        links.push_back(link);
    }
    closedir(d);
    std::sort(links.begin(), links.end(), [](const PortLink& a, const PortLink& b) { return a.number < b.number; });
    return links;
}

std::string DeviceForComNumber(int n)
{
    if (n < 1)
        return {};
    std::string target = ReadLinkFor(n);
    if (!target.empty())
        return ResolveTarget(target);
    std::string kernelName = KernelNameForComNumber(n);
    return kernelName.empty() ? std::string() : "/dev/" + kernelName;
}

int ComNumberFromDeviceName(const std::wstring& name)
{
    std::wstring rest = name;
    if (rest.compare(0, 4, L"\\\\.\\") == 0)
        rest = rest.substr(4);
    if (rest.size() < 4)
        return 0;
    for (size_t i = 0; i < 3; ++i)
        rest[i] = static_cast<wchar_t>(std::towupper(rest[i]));
    if (rest.compare(0, 3, L"COM") != 0)
        return 0;
    int value = 0;
    for (size_t i = 3; i < rest.size(); ++i) {
        if (rest[i] < L'0' || rest[i] > L'9' || i > 8)
            return 0;
        value = value * 10 + (rest[i] - L'0');
    }
    return value;
}

bool WritePortLink(int n, const std::string& device, const std::string& friendlyName)
{
    if (n < 1) {
        errno = EINVAL;
        return false;
    }
    if (!MakeDirectories(PortDirectory()))
        return false;
    const std::string path = LinkPath(n);
    const std::string staging = path + ".new";
    unlink(staging.c_str());
    if (symlink(device.c_str(), staging.c_str()) != 0)
        return false;
    // The name file goes first, so a watcher that sees the link sees its name too.
    const std::string namePath = path + ".name";
    if (friendlyName.empty()) {
        unlink(namePath.c_str());
    } else {
        RegularFile out;
        const std::string line = friendlyName + "\n";
        if (!out.Open(namePath, O_WRONLY | O_CREAT | O_TRUNC, 0644) || !out.Write(line.data(), line.size())) {
            unlink(staging.c_str());
            errno = out.Error();
            return false;
        }
    }
    if (rename(staging.c_str(), path.c_str()) != 0) {
        int err = errno;
        unlink(staging.c_str());
        errno = err;
        return false;
    }
    return true;
}

bool RemovePortLink(int n)
{
    const std::string path = LinkPath(n);
    bool ok = (unlink(path.c_str()) == 0 || errno == ENOENT);
    bool nameOk = (unlink((path + ".name").c_str()) == 0 || errno == ENOENT);
    return ok && nameOk;
}

}  // namespace win32
