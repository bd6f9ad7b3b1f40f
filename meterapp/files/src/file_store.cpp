#include "meterfiles/file_store.h"

#include <win32/text.h>

#include <cstring>
#include <fcntl.h>

namespace meterfiles {

namespace {

CString Problem(const std::string& path, const char* what, int error)
{
    std::string text = "\"" + path + "\": " + what;
    if (error != 0)
        text += std::string(" (") + std::strerror(error) + ")";
    const std::wstring wide = win32::WideFromUtf8(text);
    return CString(wide.c_str(), static_cast<int>(wide.size()));
}

void SetProblem(CString* problem, const std::string& path, const char* what, int error)
{
    if (problem)
        *problem = Problem(path, what, error);
}

}  // namespace

bool FileReader::Open(const CString& path, CString* problem)
{
    m_path = win32::Utf8FromWide(path.GetString());
    if (m_file.Open(m_path, O_RDONLY))
        return true;
    switch (m_file.Refusal()) {
    case win32::FileRefusal::Folder: SetProblem(problem, m_path, "is a folder", 0); break;
    case win32::FileRefusal::NotAFile: SetProblem(problem, m_path, "is not a file", 0); break;
    default: SetProblem(problem, m_path, "cannot be opened", m_file.Error()); break;
    }
    return false;
}

long FileReader::Read(char* buffer, size_t capacity, CString* problem)
{
    const long n = m_file.Read(buffer, capacity);
    if (n < 0)
        SetProblem(problem, m_path, "cannot be read", m_file.Error());
    return n;
}

bool ReplaceFileContents(const CString& path, const std::string& bytes, CString* problem)
{
    const std::string asked = win32::Utf8FromWide(path.GetString());
    win32::ReplacementFile file;
    if (!file.Open(asked)) {
        switch (file.Refusal()) {
        case win32::FileRefusal::Folder: SetProblem(problem, asked, "is a folder", 0); break;
        case win32::FileRefusal::NotAFile: SetProblem(problem, asked, "is not a file", 0); break;
        default: SetProblem(problem, asked, "cannot be written", file.Error()); break;
        }
        return false;
    }
    if (!file.Write(bytes.data(), bytes.size()) || !file.Commit()) {
        SetProblem(problem, asked, "cannot be written", file.Error());
        return false;
    }
    return true;
}

}  // namespace meterfiles
