// Files: CFile (binary) and CStdioFile (text).
//
// CStdioFile in text mode (typeText, the default) writes "\n" as CR LF and
// reads lines ending in LF or CR LF without them. Texts are 8-bit: each
// character of a written text is stored as one byte (characters above 255
// become '?'), each byte read becomes the character of the same value.
// Failures to open return FALSE (or throw CFileException from the
// constructor that opens); read and write failures throw CFileException.
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
        typeText = 0x4000,
        typeBinary = 0x8000,
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

    static void Remove(LPCWSTR fileName);

protected:
    [[noreturn]] void Throw(int cause) const;
    std::FILE* m_file = nullptr;
    CString m_strFileName;
};

class CStdioFile : public CFile {
public:
    CStdioFile() = default;
    CStdioFile(LPCWSTR fileName, UINT openFlags);
    BOOL Open(LPCWSTR fileName, UINT openFlags, CFileException* error = nullptr) override;
    // Writes the text; "\n" becomes CR LF in text mode.
    void WriteString(LPCWSTR text);
    // The next line without its line end; FALSE at the end of the file (with
    // `line` empty).
    BOOL ReadString(CString& line);

private:
    bool m_text = true;
};
