#include "win32/testing.h"

#include "devicesource.h"

#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace win32 {

namespace {

bool IsFile(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string LastComponent(const std::string& path)
{
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ParentDirectory(const std::string& path)
{
    size_t slash = path.rfind('/');
    return slash == std::string::npos || slash == 0 ? std::string() : path.substr(0, slash);
}

class TreeNode : public DeviceNode {
public:
    // path: resolved directory of the device; devicesDir: resolved root/devices.
    TreeNode(std::string path, std::string devicesDir, bool isTtyClassDevice)
        : m_path(std::move(path)), m_devicesDir(std::move(devicesDir)), m_isTty(isTtyClassDevice)
    {
    }

    std::string SysName() const override { return LastComponent(m_path); }

    std::string Driver() const override
    {
        std::string target = ResolvedPath(m_path + "/driver");
        return target.empty() ? std::string() : LastComponent(target);
    }

    std::optional<std::string> Attribute(const std::string& name) const override
    {
        if (name.empty() || name.find("..") != std::string::npos)
            return std::nullopt;
        const std::string file = m_path + "/" + name;
        if (!IsFile(file))
            return std::nullopt;
        std::ifstream in(file, std::ios::binary);
        if (!in)
            return std::nullopt;
        std::ostringstream text;
        text << in.rdbuf();
        std::string value = text.str();
        // As libudev does: the value without its line end.
        while (!value.empty() && value.back() == '\n')
            value.pop_back();
        return value;
    }

    std::unique_ptr<DeviceNode> Parent() const override
    {
        if (m_isTty) {
            std::string linked = ResolvedPath(m_path + "/device");
            if (!linked.empty() && linked != m_path)
                return std::make_unique<TreeNode>(linked, m_devicesDir, false);
        }
        if (m_devicesDir.empty())
            return nullptr;
        const std::string prefix = m_devicesDir + "/";
        for (std::string dir = ParentDirectory(m_path); dir.compare(0, prefix.size(), prefix) == 0;
             dir = ParentDirectory(dir)) {
            if (IsFile(dir + "/uevent"))
                return std::make_unique<TreeNode>(dir, m_devicesDir, false);
        }
        return nullptr;
    }

private:
    std::string m_path;
    std::string m_devicesDir;
    bool m_isTty;
};

class TreeSource : public DeviceSource {
public:
    explicit TreeSource(std::string root) : m_root(std::move(root)) {}

    std::vector<std::unique_ptr<DeviceNode>> TtyDevices() override
    {
        std::vector<std::unique_ptr<DeviceNode>> devices;
        const std::string classDir = m_root + "/class/tty";
        const std::string devicesDir = ResolvedPath(m_root + "/devices");
        DIR* dir = opendir(classDir.c_str());
        if (!dir)
            return devices;
        while (dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name == "." || name == "..")
                continue;
            std::string path = ResolvedPath(classDir + "/" + name);
            struct stat st;
            if (path.empty() || stat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
                continue;
            devices.push_back(std::make_unique<TreeNode>(path, devicesDir, true));
        }
        closedir(dir);
        return devices;
    }

private:
    std::string m_root;
};

}  // namespace

}  // namespace win32

namespace win32test {

ScopedDeviceTree::ScopedDeviceTree(const std::string& sysfsRoot, const std::string& nodeDirectory)
{
    win32::DeviceTree tree;
    tree.makeSource = [sysfsRoot]() -> std::unique_ptr<win32::DeviceSource> {
        return std::make_unique<win32::TreeSource>(sysfsRoot);
    };
    tree.nodeDirectory = nodeDirectory;
    m_replaced = std::make_unique<win32::DeviceTree>(win32::UseDeviceTree(std::move(tree)));
}

ScopedDeviceTree::~ScopedDeviceTree()
{
    win32::UseDeviceTree(std::move(*m_replaced));
}

}  // namespace win32test
