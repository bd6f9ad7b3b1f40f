// The framework profile: an INI-style file in the user's configuration folder,
// standing where the registry key would be.
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <system_error>
#include <vector>

#include "internal.h"
#include "win32/files.h"
#include "win32/text.h"

namespace {

using Sections = std::map<std::wstring, std::map<std::wstring, std::wstring>>;

// The profile holds a few recent file names and settings; what a file holds
// beyond this is not read.
const size_t kProfileBytes = 64 * 1024;

std::string ConfigHome()
{
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && *xdg)
        return xdg;
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : "/tmp") + "/.config";
}

Sections Load(const std::string& path)
{
    Sections sections;
    std::string text;
    bool complete = false;
    if (!win32::ReadFileHead(path, kProfileBytes, &text, &complete))
        return sections;
    if (!complete) {
        // A line the bound cut is no line of the profile.
        const size_t lastEnd = text.rfind('\n');
        text.resize(lastEnd == std::string::npos ? 0 : lastEnd + 1);
    }
    std::wstring section;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == ';')
            continue;
        if (line.front() == '[' && line.back() == ']') {
            section = win32::WideFromUtf8(line.substr(1, line.size() - 2));
            continue;
        }
        size_t eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        sections[section][win32::WideFromUtf8(line.substr(0, eq))] = win32::WideFromUtf8(line.substr(eq + 1));
    }
    return sections;
}

// The folders are the user's alone, as a registry key is.
bool MakeFolders(const std::filesystem::path& folder)
{
    std::error_code error;
    std::vector<std::filesystem::path> missing;
    for (std::filesystem::path p = folder; !p.empty() && !std::filesystem::exists(p, error); p = p.parent_path())
        missing.push_back(p);
    std::filesystem::create_directories(folder, error);
    if (error)
        return false;
    for (const std::filesystem::path& made : missing)
        std::filesystem::permissions(made, std::filesystem::perms::owner_all, error);
    return true;
}

bool Save(const std::string& path, const Sections& sections)
{
    if (!MakeFolders(std::filesystem::path(path).parent_path()))
        return false;
    // Written beside and renamed, so a crash never leaves half a profile.
    std::string temp = path + ".new";
    std::string text;
    for (const auto& section : sections) {
        text += '[' + win32::Utf8FromWide(section.first.c_str()) + "]\n";
        for (const auto& entry : section.second)
            text += win32::Utf8FromWide(entry.first.c_str()) + '=' + win32::Utf8FromWide(entry.second.c_str()) + '\n';
    }
    win32::RegularFile out;
    if (!out.Open(temp, O_WRONLY | O_CREAT | O_TRUNC) || !out.Write(text.data(), text.size()))
        return false;
    out.Close();
    return std::rename(temp.c_str(), path.c_str()) == 0;
}

std::wstring Clean(const std::wstring& s)
{
    // Keys and values stay on one line and in one place.
    std::wstring out;
    for (wchar_t c : s)
        out.push_back(c == L'\n' || c == L'\r' || c == L'=' || c == L'[' || c == L']' ? L'_' : c);
    return out;
}

}  // namespace

CString CWinApp::GetProfilePath() const
{
    std::string dir = ConfigHome();
    CString name = m_appName.IsEmpty() ? AfxLoadString(AFX_IDS_APP_TITLE) : m_appName;
    std::wstring file = Clean(name.IsEmpty() ? std::wstring(L"app") : std::wstring(name.GetString())) + L".ini";
    std::wstring path = win32::WideFromUtf8(dir) + L"/";
    if (!m_registryKey.IsEmpty())
        path += Clean(m_registryKey.GetString()) + L"/";
    return CString((path + file).c_str());
}

void CWinApp::SetRegistryKey(LPCTSTR key)
{
    m_registryKey = key;
    m_pszRegistryKey = m_registryKey;
    SetAppNameFromResources();
    m_pszProfileName = m_pszAppName;
}

UINT CWinApp::GetProfileInt(LPCTSTR section, LPCTSTR entry, int defaultValue)
{
    CString text = GetProfileString(section, entry, nullptr);
    if (text.IsEmpty())
        return static_cast<UINT>(defaultValue);
    wchar_t* end = nullptr;
    long v = std::wcstol(text, &end, 10);
    return end && *end == 0 ? static_cast<UINT>(v) : static_cast<UINT>(defaultValue);
}

BOOL CWinApp::WriteProfileInt(LPCTSTR section, LPCTSTR entry, int value)
{
    CString text;
    text.Format(L"%d", value);
    return WriteProfileString(section, entry, text);
}

CString CWinApp::GetProfileString(LPCTSTR section, LPCTSTR entry, LPCTSTR defaultValue)
{
    if (!section || !entry)
        return CString(defaultValue);
    Sections sections = Load(win32::Utf8FromWide(GetProfilePath().GetString()));
    auto s = sections.find(Clean(section));
    if (s == sections.end())
        return CString(defaultValue);
    auto e = s->second.find(Clean(entry));
    return e == s->second.end() ? CString(defaultValue) : CString(e->second.c_str());
}

BOOL CWinApp::WriteProfileString(LPCTSTR section, LPCTSTR entry, LPCTSTR value)
{
    if (!section)
        return FALSE;
    std::string path = win32::Utf8FromWide(GetProfilePath().GetString());
    Sections sections = Load(path);
    if (!entry)
        sections.erase(Clean(section));
    else if (!value)
        sections[Clean(section)].erase(Clean(entry));
    else
        sections[Clean(section)][Clean(entry)] = Clean(value);
    return Save(path, sections);
}

void CWinApp::LoadStdProfileSettings(UINT maxMRU)
{
    m_nMaxMRU = maxMRU;
    m_recentFiles.clear();
    for (UINT i = 1; i <= maxMRU; ++i) {
        CString entry;
        entry.Format(L"File%u", i);
        CString path = GetProfileString(L"Recent File List", entry, nullptr);
        if (!path.IsEmpty())
            m_recentFiles.push_back(path);
    }
    m_nNumPreviewPages = GetProfileInt(L"Settings", L"PreviewPages", 0);
}

void CWinApp::AddToRecentFileList(LPCTSTR path)
{
    if (!path || !*path || m_nMaxMRU == 0)
        return;
    CString full(path);
    for (auto it = m_recentFiles.begin(); it != m_recentFiles.end(); ++it)
        if (*it == full) {
            m_recentFiles.erase(it);
            break;
        }
    m_recentFiles.insert(m_recentFiles.begin(), full);
    if (m_recentFiles.size() > m_nMaxMRU)
        m_recentFiles.resize(m_nMaxMRU);
    WriteProfileString(L"Recent File List", nullptr, nullptr);
    for (size_t i = 0; i < m_recentFiles.size(); ++i) {
        CString entry;
        entry.Format(L"File%u", static_cast<UINT>(i + 1));
        WriteProfileString(L"Recent File List", entry, m_recentFiles[i]);
    }
}
