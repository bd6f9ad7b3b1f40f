#include "afx/cstring.h"

#include "afx/exception.h"
#include "win32/text.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <cwchar>
#include <cwctype>

namespace {

size_t Clamp(int value, size_t high)
{
    if (value < 0)
        return 0;
    return std::min(static_cast<size_t>(value), high);
}

bool InSet(wchar_t ch, LPCWSTR set)
{
    return set && std::wcschr(set, ch) != nullptr && ch != L'\0';
}

template <typename Pred>
void TrimLeftWhere(std::wstring& text, Pred pred)
{
    size_t n = 0;
    while (n < text.size() && pred(text[n]))
        ++n;
    text.erase(0, n);
}

template <typename Pred>
void TrimRightWhere(std::wstring& text, Pred pred)
{
    size_t n = text.size();
    while (n > 0 && pred(text[n - 1]))
        --n;
    text.erase(n);
}

bool IsSpace(wchar_t ch)
{
    return std::iswspace(static_cast<wint_t>(ch)) != 0;
}

}  // namespace

CString::CString(LPCWSTR text) : m_text(text ? text : L"") {}

CString::CString(LPCWSTR text, int length)
{
    if (text && length > 0)
        m_text.assign(text, static_cast<size_t>(length));
}

CString::CString(LPCSTR text)
{
    if (text)
        m_text = win32::WideFromUtf8(text);
}

CString::CString(LPCSTR text, int length)
{
    if (text && length > 0)
        m_text = win32::WideFromUtf8(std::string(text, static_cast<size_t>(length)));
}

CString::CString(wchar_t ch, int repeat)
{
    if (repeat > 0)
        m_text.assign(static_cast<size_t>(repeat), ch);
}

CString& CString::operator=(LPCWSTR text)
{
    m_text = text ? text : L"";
    return *this;
}

CString& CString::operator=(LPCSTR text)
{
    m_text = text ? win32::WideFromUtf8(text) : std::wstring();
    return *this;
}

CString& CString::operator=(wchar_t ch)
{
    m_text.assign(1, ch);
    return *this;
}

wchar_t CString::GetAt(int index) const
{
    assert(index >= 0 && index < GetLength());
    if (index < 0 || index >= GetLength())
        throw new CInvalidArgException;
    return m_text[static_cast<size_t>(index)];
}

CString& CString::operator+=(const CString& text)
{
    m_text += text.m_text;
    return *this;
}

CString& CString::operator+=(LPCWSTR text)
{
    if (text)
        m_text += text;
    return *this;
}

CString& CString::operator+=(LPCSTR text)
{
    if (text)
        m_text += win32::WideFromUtf8(text);
    return *this;
}

CString& CString::operator+=(wchar_t ch)
{
    m_text.push_back(ch);
    return *this;
}

int CString::Compare(LPCWSTR text) const
{
    return std::wcscmp(m_text.c_str(), text ? text : L"");
}

CString CString::Left(int count) const
{
    CString out;
    out.m_text = m_text.substr(0, Clamp(count, m_text.size()));
    return out;
}

CString CString::Mid(int first) const
{
    return Mid(first, GetLength());
}

CString CString::Mid(int first, int count) const
{
    const size_t start = Clamp(first, m_text.size());
    CString out;
    out.m_text = m_text.substr(start, Clamp(count, m_text.size() - start));
    return out;
}


int CString::Find(wchar_t ch, int start) const
{
    if (start < 0 || start > GetLength())
        return -1;
    const size_t pos = m_text.find(ch, static_cast<size_t>(start));
    return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

int CString::Find(LPCWSTR text, int start) const
{
    if (!text || start < 0 || start > GetLength())
        return -1;
    const size_t pos = m_text.find(text, static_cast<size_t>(start));
    return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

int CString::ReverseFind(wchar_t ch) const
{
    const size_t pos = m_text.rfind(ch);
    return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}





int CString::Delete(int index, int count)
{
    if (index >= 0 && count > 0 && index < GetLength())
        m_text.erase(static_cast<size_t>(index), static_cast<size_t>(count));
    return GetLength();
}

CString& CString::Trim()
{
    return TrimRight().TrimLeft();
}

CString& CString::Trim(wchar_t ch)
{
    return TrimRight(ch).TrimLeft(ch);
}

CString& CString::Trim(LPCWSTR set)
{
    return TrimRight(set).TrimLeft(set);
}

CString& CString::TrimLeft()
{
    TrimLeftWhere(m_text, IsSpace);
    return *this;
}

CString& CString::TrimLeft(wchar_t ch)
{
    TrimLeftWhere(m_text, [ch](wchar_t c) { return c == ch; });
    return *this;
}

CString& CString::TrimLeft(LPCWSTR set)
{
    TrimLeftWhere(m_text, [set](wchar_t c) { return InSet(c, set); });
    return *this;
}

CString& CString::TrimRight()
{
    TrimRightWhere(m_text, IsSpace);
    return *this;
}

CString& CString::TrimRight(wchar_t ch)
{
    TrimRightWhere(m_text, [ch](wchar_t c) { return c == ch; });
    return *this;
}

CString& CString::TrimRight(LPCWSTR set)
{
    TrimRightWhere(m_text, [set](wchar_t c) { return InSet(c, set); });
    return *this;
}

LPWSTR CString::GetBufferSetLength(int length)
{
    m_text.resize(length > 0 ? static_cast<size_t>(length) : 0);
    return &m_text[0];
}

void CString::ReleaseBuffer(int newLength)
{
    if (newLength < 0)
        newLength = static_cast<int>(wcsnlen(m_text.c_str(), m_text.size()));
    m_text.resize(Clamp(newLength, m_text.size()));
}

CString operator+(const CString& a, const CString& b)
{
    CString out(a);
    out += b;
    return out;
}

CString operator+(const CString& a, LPCWSTR b)
{
    CString out(a);
    out += b;
    return out;
}

CString operator+(LPCWSTR a, const CString& b)
{
    CString out(a);
    out += b;
    return out;
}

CString operator+(const CString& a, wchar_t b)
{
    CString out(a);
    out += b;
    return out;
}

CString operator+(wchar_t a, const CString& b)
{
    CString out(a);
    out += b;
    return out;
}

bool operator==(const CString& a, const CString& b)
{
    return a.GetLength() == b.GetLength() && a.Compare(b) == 0;
}

bool operator==(const CString& a, LPCWSTR b)
{
    return a.Compare(b) == 0;
}

bool operator==(LPCWSTR a, const CString& b)
{
    return b.Compare(a) == 0;
}

bool operator!=(const CString& a, const CString& b)
{
    return !(a == b);
}

bool operator!=(const CString& a, LPCWSTR b)
{
    return !(a == b);
}

bool operator!=(LPCWSTR a, const CString& b)
{
    return !(a == b);
}

bool operator<(const CString& a, const CString& b)
{
    return a.Compare(b) < 0;
}

bool operator<(const CString& a, LPCWSTR b)
{
    return a.Compare(b) < 0;
}

bool operator<(LPCWSTR a, const CString& b)
{
    return b.Compare(a) > 0;
}
