// CString: the framework's wide-character string.
//
// Positions and lengths are in characters (wchar_t). Out-of-range positions
// given to Left, Mid, Delete and Find are clamped or answered
// with "not found"; GetAt and operator[] past the end assert in debug
// builds and throw CInvalidArgException* otherwise.
//
// Narrow text (char) is taken as UTF-8 (win32::WideFromUtf8): a byte that is
// not part of valid UTF-8 becomes U+FFFD.
//
// Format and AppendFormat follow the Microsoft C runtime's wide printf:
//   %s %c      wide string / character (wchar_t*, wchar_t)
//   %S %hs %hc narrow string / character; %ls %lc %ws wide
//   %d %i %u %o %x %X with no size or "l": 32-bit; "h" 16-bit, "hh" 8-bit,
//              "ll" or "I64" 64-bit, "I" pointer-sized, "I32" 32-bit
//   %f %e %g %a (and capitals): double ("l" and "L" change nothing); always
//              with '.' as the decimal point, whatever the locale; %f rounds
//              an exact tie away from zero (afx/fixed.h), %e %g to even
//   %p         pointer as upper-case hex digits; %% a percent sign
//   %n         writes nothing and stores nothing
// A CString argument must be passed as (LPCWSTR)s or s.GetString(): class
// objects cannot travel through "...".
#pragma once

#include "win32/types.h"

#include <cstdarg>
#include <string>

class CString {
public:
    CString() = default;
    CString(const CString& other) = default;
    CString(CString&& other) noexcept = default;
    CString(LPCWSTR text);                     // null gives an empty string
    CString(LPCWSTR text, int length);         // the first length characters
    CString(LPCSTR text);                      // null gives an empty string
    CString(LPCSTR text, int length);          // the first length bytes
    explicit CString(wchar_t ch, int repeat = 1);
    ~CString() = default;

    CString& operator=(const CString& other) = default;
    CString& operator=(CString&& other) noexcept = default;
    CString& operator=(LPCWSTR text);
    CString& operator=(LPCSTR text);
    CString& operator=(wchar_t ch);

    int GetLength() const { return static_cast<int>(m_text.size()); }
    bool IsEmpty() const { return m_text.empty(); }
    void Empty() { m_text.clear(); }

    wchar_t GetAt(int index) const;
    wchar_t operator[](int index) const { return GetAt(index); }

    operator LPCWSTR() const { return m_text.c_str(); }
    LPCWSTR GetString() const { return m_text.c_str(); }

    CString& operator+=(const CString& text);
    CString& operator+=(LPCWSTR text);
    CString& operator+=(LPCSTR text);
    CString& operator+=(wchar_t ch);

    // <0, 0 or >0 as this string sorts before, with or after text.
    int Compare(LPCWSTR text) const;

    CString Left(int count) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;

    // Position of the first match at or after start; -1 when there is none or
    // start lies outside 0..GetLength().
    int Find(wchar_t ch, int start = 0) const;
    int Find(LPCWSTR text, int start = 0) const;
    // Position of the last ch; -1 when there is none.
    int ReverseFind(wchar_t ch) const;

    // Removes up to count characters at index; returns the new length.
    int Delete(int index, int count = 1);

    // Case mapping follows the C library's current locale (ASCII letters in "C").

    // Without an argument: white space. With a character or a set of
    // characters: every leading and trailing character equal to it / in it.
    CString& Trim();
    CString& Trim(wchar_t ch);
    CString& Trim(LPCWSTR set);

    // A writable buffer of length characters plus a terminator, the string's
    // length made length; valid until the next call on the string.
    // ReleaseBuffer(-1) takes the length from the terminator (within the
    // buffer), ReleaseBuffer(n) makes it n.
    LPWSTR GetBufferSetLength(int length);
    void ReleaseBuffer(int newLength = -1);

    void Format(LPCWSTR format, ...);
    void AppendFormat(LPCWSTR format, ...);

private:
    void FormatV(LPCWSTR format, va_list args);
    CString& TrimLeft();
    CString& TrimLeft(wchar_t ch);
    CString& TrimLeft(LPCWSTR set);
    CString& TrimRight();
    CString& TrimRight(wchar_t ch);
    CString& TrimRight(LPCWSTR set);
    void AppendFormatV(LPCWSTR format, va_list args);

    std::wstring m_text;
};

CString operator+(const CString& a, const CString& b);
CString operator+(const CString& a, LPCWSTR b);
CString operator+(LPCWSTR a, const CString& b);
CString operator+(const CString& a, wchar_t b);
CString operator+(wchar_t a, const CString& b);

bool operator==(const CString& a, const CString& b);
bool operator==(const CString& a, LPCWSTR b);
bool operator==(LPCWSTR a, const CString& b);
bool operator!=(const CString& a, const CString& b);
bool operator!=(const CString& a, LPCWSTR b);
bool operator!=(LPCWSTR a, const CString& b);
bool operator<(const CString& a, const CString& b);
bool operator<(const CString& a, LPCWSTR b);
bool operator<(LPCWSTR a, const CString& b);
