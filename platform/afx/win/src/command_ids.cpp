// Command ids of menus, tool bars and accelerators as wx ids: wx takes ids
// below 0x7FFF only, so larger ones (the framework's 0xE000 range, 32771 and
// up) get ids of wx's own automatic range.
#include <map>
#include <mutex>

#include "internal.h"

namespace {

std::mutex g_mutex;
std::map<UINT, int>& ToWxMap()
{
    static auto* map = new std::map<UINT, int>;
    return *map;
}
std::map<int, UINT>& FromWxMap()
{
    static auto* map = new std::map<int, UINT>;
    return *map;
}

}  // namespace

namespace afxwin {

int WxCommandId(UINT command)
{
    if (command > 0 && command < 0x7FFF)
        return static_cast<int>(command);
    std::lock_guard<std::mutex> lock(g_mutex);
    auto it = ToWxMap().find(command);
    if (it != ToWxMap().end())
        return it->second;
    int id = wxIdManager::ReserveId();
    ToWxMap()[command] = id;
    FromWxMap()[id] = command;
    return id;
}

UINT CommandFromWx(int id)
{
    if (id > 0 && id < 0x7FFF)
        return static_cast<UINT>(id);
    std::lock_guard<std::mutex> lock(g_mutex);
    auto it = FromWxMap().find(id);
    return it == FromWxMap().end() ? 0 : it->second;
}

}  // namespace afxwin
