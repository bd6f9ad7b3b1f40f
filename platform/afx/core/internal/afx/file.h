// Files: CFile, the bytes of a file.
//
// Failures to open return FALSE; read and write failures throw
// CFileException.
// Only regular files are opened: a folder, pipe, socket or device is refused
// (invalidFile, accessDenied for a folder) without waiting on it.
#pragma once

#include <cstdio>

#include "afx/cstring.h"
#include "afx/exception.h"

class CFileException : public CException {
    DECLARE_DYNAMIC(CFileException)
public:
    enum { none, genericException, fileNotFound, badPath, tooManyOpenFiles, accessDenied, invalidFile, hardIO,
           diskFull, endOfFile };
    explicit CFileException(int cause = none, LONG osError = -1, LPCWSTR fileName = nullptr);
    BOOL GetErrorMessage(LPWSTR text, UINT maxChars, UINT* helpContext = nullptr) const override;

    int m_cause;
    LONG m_lOsError;
    CString m_strFileName;
};

class CFile : public CObject {
public:
    enum : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        modeNoTruncate = 0x1000,
        modeCreate = 0x2000,
    };

    CFile() = default;
    ~CFile() override;
    // FALSE (and `error` filled when given) when the file cannot be opened.
    // modeCreate | modeNoTruncate opens an existing file as it is, at its start.
    virtual BOOL Open(LPCWSTR fileName, UINT openFlags, CFileException* error = nullptr);
    virtual void Close();
    UINT Read(void* buffer, UINT count);
    void Write(const void* buffer, UINT count);
    unsigned long long GetLength() const;
    CString GetFileName() const;
    bool IsOpen() const { return m_file != nullptr; }

protected:
    [[noreturn]] void Throw(int cause) const;
    std::FILE* m_file = nullptr;
    CString m_strFileName;
};

