#include "afx/file.h"

#include "win32/files.h"
#include "win32/internal.h"
#include "win32/text.h"

#include <cerrno>
#include <climits>
#include <cwchar>
#include <fcntl.h>

IMPLEMENT_DYNAMIC(CFileException, CException)

namespace {

int CauseOf(int err)
{
    switch (err) {
    case ENOENT: return CFileException::fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG: return CFileException::badPath;
    case EMFILE:
    case ENFILE: return CFileException::tooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR: return CFileException::accessDenied;
    case ENOSPC: return CFileException::diskFull;
    default: return CFileException::genericException;
    }
}

}  // namespace

CFileException::CFileException(int cause, LONG osError, LPCWSTR fileName)
    : m_cause(cause), m_lOsError(osError), m_strFileName(fileName)
{
}

BOOL CFileException::GetErrorMessage(LPWSTR text, UINT maxChars, UINT* helpContext) const
{
    if (helpContext)
        *helpContext = 0;
    if (!text || maxChars == 0)
        return FALSE;
    const wchar_t* what = L"An unexpected error occurred while accessing %s.";
    switch (m_cause) {
    case fileNotFound: what = L"%s was not found."; break;
    case badPath: what = L"%s contains an invalid path."; break;
    case accessDenied: what = L"%s could not be accessed."; break;
    case diskFull: what = L"There is not enough space on the disk."; break;
    case endOfFile: what = L"An attempt was made to access %s past its end."; break;
    default: break;
    }
    std::swprintf(text, maxChars, what, m_strFileName.IsEmpty() ? L"the file" : m_strFileName.GetString());
    return TRUE;
}

CFile::~CFile()
{
    if (m_file)
        std::fclose(m_file);
}

BOOL CFile::Open(LPCWSTR fileName, UINT openFlags, CFileException* error)
{
    if (m_file || !fileName || !*fileName) {
        if (error) {
            error->m_cause = CFileException::genericException;
            error->m_strFileName = fileName;
        }
        return FALSE;
    }
    const UINT access = openFlags & 3u;
    int flags = access == modeWrite ? O_WRONLY : access == modeReadWrite ? O_RDWR : O_RDONLY;
    if (openFlags & modeCreate)
        flags |= (openFlags & modeNoTruncate) ? O_CREAT : O_CREAT | O_TRUNC;
    const char* mode = access == modeWrite ? "wb" : access == modeReadWrite ? "r+b" : "rb";
    // Regular files only: a pipe or a device given as a file name would hold
    // the program in open() or in reading for ever.
    win32::RegularFile file;
    std::FILE* f = nullptr;
    int failure = 0;
    if (file.Open(win32::Utf8FromWide(fileName), flags)) {
        f = fdopen(win32::FileInternals::Descriptor(file), mode);
        if (f)
            file.Release();
        else
            failure = errno;
    } else {
        failure = file.Error();
    }
    if (!f) {
        if (error) {
            error->m_cause = file.Refusal() == win32::FileRefusal::NotAFile ? CFileException::invalidFile
                                                                           : CauseOf(failure);
            error->m_lOsError = failure;
            error->m_strFileName = fileName;
        }
        return FALSE;
    }
    m_file = f;
    m_strFileName = fileName;
    return TRUE;
}

void CFile::Close()
{
    if (!m_file)
        return;
    int r = std::fclose(m_file);
    m_file = nullptr;
    if (r != 0)
        Throw(CauseOf(errno));
}

void CFile::Throw(int cause) const
{
    throw new CFileException(cause, errno, m_strFileName);
}

UINT CFile::Read(void* buffer, UINT count)
{
    if (!m_file || (!buffer && count))
        Throw(CFileException::genericException);
    size_t n = std::fread(buffer, 1, count, m_file);
    if (n < count && std::ferror(m_file))
        Throw(CFileException::hardIO);
    return static_cast<UINT>(n);
}

void CFile::Write(const void* buffer, UINT count)
{
    if (!m_file || (!buffer && count))
        Throw(CFileException::genericException);
    if (std::fwrite(buffer, 1, count, m_file) != count)
        Throw(CauseOf(errno));
}

unsigned long long CFile::GetLength() const
{
    if (!m_file)
        return 0;
    long here = std::ftell(m_file);
    std::fseek(m_file, 0, SEEK_END);
    long end = std::ftell(m_file);
    std::fseek(m_file, here, SEEK_SET);
    return end < 0 ? 0 : static_cast<unsigned long long>(end);
}

CString CFile::GetFileName() const
{
    int slash = m_strFileName.ReverseFind(L'/');
    return m_strFileName.Mid(slash + 1);
}
