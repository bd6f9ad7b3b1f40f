#include "afx/resources.h"

#include <atomic>
#include <map>
#include <mutex>
#include <vector>

#include "resource_store.h"

namespace {

struct Store {
    std::mutex mutex;
    std::map<UINT, const wchar_t*> strings;
    std::map<UINT, std::vector<AfxMenuEntry>> menus;
    std::map<UINT, std::vector<AfxAccelEntry>> accelerators;
    std::map<UINT, AfxToolBarTemplate> toolBars;
    std::map<UINT, AfxDialogTemplate> dialogs;
};

Store& TheStore()
{
    static Store* store = new Store;
    return *store;
}

std::atomic<AfxImageLookup> g_imageLookup{nullptr};

}  // namespace

void AfxRegisterStrings(const AfxStringEntry* entries, size_t count)
{
    Store& s = TheStore();
    std::lock_guard<std::mutex> lock(s.mutex);
    for (size_t i = 0; i < count; ++i)
        s.strings[entries[i].id] = entries[i].text;
}

void AfxRegisterMenu(UINT id, const AfxMenuEntry* entries, size_t count)
{
    Store& s = TheStore();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.menus[id].assign(entries, entries + count);
}

void AfxRegisterAccelerators(UINT id, const AfxAccelEntry* entries, size_t count)
{
    Store& s = TheStore();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.accelerators[id].assign(entries, entries + count);
}

void AfxRegisterToolBar(UINT id, const AfxToolBarTemplate& bar)
{
    Store& s = TheStore();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.toolBars[id] = bar;
}

void AfxRegisterDialog(UINT id, const AfxDialogTemplate& dialog)
{
    Store& s = TheStore();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.dialogs[id] = dialog;
}

void AfxSetImageSource(AfxImageLookup lookup)
{
    g_imageLookup = lookup;
}

const wchar_t* AfxFindString(UINT id)
{
    Store& s = TheStore();
    std::lock_guard<std::mutex> lock(s.mutex);
    auto it = s.strings.find(id);
    return it == s.strings.end() ? nullptr : it->second;
}

const AfxDialogTemplate* AfxFindDialog(UINT id)
{
    Store& s = TheStore();
    std::lock_guard<std::mutex> lock(s.mutex);
    auto it = s.dialogs.find(id);
    return it == s.dialogs.end() ? nullptr : &it->second;
}

const AfxToolBarTemplate* AfxFindToolBar(UINT id)
{
    Store& s = TheStore();
    std::lock_guard<std::mutex> lock(s.mutex);
    auto it = s.toolBars.find(id);
    return it == s.toolBars.end() ? nullptr : &it->second;
}

bool AfxFindImage(AfxImageKind kind, UINT id, AfxImage* out)
{
    AfxImageLookup lookup = g_imageLookup.load();
    if (!lookup || !out)
        return false;
    AfxImage image;
    if (!lookup(kind, id, &image) || image.width <= 0 || image.height <= 0 ||
        image.pixels.size() != static_cast<size_t>(image.width) * static_cast<size_t>(image.height))
        return false;
    *out = std::move(image);
    return true;
}

namespace afxwin {

std::vector<AfxMenuEntry> FindMenu(UINT id)
{
    Store& s = TheStore();
    std::lock_guard<std::mutex> lock(s.mutex);
    auto it = s.menus.find(id);
    return it == s.menus.end() ? std::vector<AfxMenuEntry>{} : it->second;
}

std::vector<AfxAccelEntry> FindAccelerators(UINT id)
{
    Store& s = TheStore();
    std::lock_guard<std::mutex> lock(s.mutex);
    auto it = s.accelerators.find(id);
    return it == s.accelerators.end() ? std::vector<AfxAccelEntry>{} : it->second;
}

}  // namespace afxwin
