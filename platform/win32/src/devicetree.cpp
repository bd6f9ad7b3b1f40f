// The device tree in use: the machine's, or one a test library put in its place.
#include "devicesource.h"

#include <cstdlib>
#include <mutex>

namespace win32 {

namespace {

std::mutex g_treeMutex;

DeviceTree& Tree()
{
    static auto* tree = new DeviceTree;
    return *tree;
}

}  // namespace

DeviceTree UseDeviceTree(DeviceTree tree)
{
    std::lock_guard<std::mutex> lock(g_treeMutex);
    std::swap(Tree(), tree);
    return tree;
}

std::unique_ptr<DeviceSource> MakeDeviceSource()
{
    std::function<std::unique_ptr<DeviceSource>()> make;
    {
        std::lock_guard<std::mutex> lock(g_treeMutex);
        make = Tree().makeSource;
    }
    return make ? make() : MakeUdevDeviceSource();
}

std::string DeviceNodeDirectory()
{
    std::lock_guard<std::mutex> lock(g_treeMutex);
    return Tree().nodeDirectory.empty() ? std::string("/dev") : Tree().nodeDirectory;
}

std::string ResolvedPath(const std::string& path)
{
    char* resolved = realpath(path.c_str(), nullptr);
    if (!resolved)
        return {};
    std::string out = resolved;
    free(resolved);
    return out;
}

}  // namespace win32
