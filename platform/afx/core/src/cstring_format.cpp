// CString::Format with the Microsoft C runtime's wide printf conventions.
//
// glibc's wide printf reads "%s" as a narrow string and "%ld" as a 64-bit
// long, so a format written for Windows cannot be handed to it. Each directive
// is parsed here, its argument taken with the Windows type, and numbers are
// formatted one at a time by the narrow snprintf in the "C" locale (the data
// files need '.' as the decimal point whatever the user's locale).
#include "afx/cstring.h"
#include "afx/fixed.h"
#include "tie.h"
#include "win32/text.h"

#include <clocale>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <locale.h>
#include <string>
#include <type_traits>

namespace {

enum class Size { Default, Char, Short, Long64, Pointer, Max };

struct Directive {
    std::string flags;
    int width = -1;
    int precision = -1;
    Size size = Size::Default;
    bool narrowText = false;  // h, or an upper-case S or C
    wchar_t conversion = 0;
};

locale_t ClassicLocale()
{
    static const locale_t classic = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return classic;
}

// Switches the calling thread to the "C" locale for its lifetime.
class ClassicLocaleScope {
public:
    ClassicLocaleScope() : m_previous(ClassicLocale() ? uselocale(ClassicLocale()) : nullptr) {}
    ~ClassicLocaleScope()
    {
        if (m_previous)
            uselocale(m_previous);
    }
    ClassicLocaleScope(const ClassicLocaleScope&) = delete;
    ClassicLocaleScope& operator=(const ClassicLocaleScope&) = delete;

private:
    locale_t m_previous;
};

class Formatter {
public:
    Formatter(std::wstring& out, va_list args) : m_out(out) { va_copy(m_args, args); }
    ~Formatter() { va_end(m_args); }
    Formatter(const Formatter&) = delete;
    Formatter& operator=(const Formatter&) = delete;

    void Run(const wchar_t* format)
    {
        const wchar_t* p = format;
        while (*p) {
            if (*p != L'%') {
                m_out.push_back(*p++);
                continue;
            }
            const wchar_t* start = p++;
            if (*p == L'%') {
                m_out.push_back(L'%');
                ++p;
                continue;
            }
            Directive d;
            if (!Parse(p, d)) {
                // An incomplete or unknown directive stands as written.
                m_out.append(start, p);
                continue;
            }
            Emit(d);
        }
    }

private:
    bool Parse(const wchar_t*& p, Directive& d)
    {
        while (*p && std::wcschr(L"-+ #0", *p))
            d.flags.push_back(static_cast<char>(*p++));
        if (*p == L'*') {
            ++p;
            d.width = va_arg(m_args, int);
            if (d.width < 0) {
                d.flags.push_back('-');
                d.width = d.width == INT32_MIN ? INT32_MAX : -d.width;
            }
        } else {
            d.width = ReadNumber(p);
        }
        if (*p == L'.') {
            ++p;
            if (*p == L'*') {
                ++p;
                d.precision = va_arg(m_args, int);
                if (d.precision < 0)
                    d.precision = -1;
            } else {
                const int n = ReadNumber(p);
                d.precision = n < 0 ? 0 : n;
            }
        }
        ParseSize(p, d);
        if (!*p)
            return false;
        d.conversion = *p++;
        return std::wcschr(L"diuoxXeEfFgGaAcCsSpn", d.conversion) != nullptr;
    }

    static int ReadNumber(const wchar_t*& p)
    {
        if (*p < L'0' || *p > L'9')
            return -1;
        long long n = 0;
        while (*p >= L'0' && *p <= L'9') {
            n = n * 10 + (*p++ - L'0');
            if (n > INT32_MAX)
                n = INT32_MAX;
        }
        return static_cast<int>(n);
    }

    static void ParseSize(const wchar_t*& p, Directive& d)
    {
        if (std::wcsncmp(p, L"I64", 3) == 0) {
            d.size = Size::Long64;
            p += 3;
        } else if (std::wcsncmp(p, L"I32", 3) == 0) {
            p += 3;
        } else if (*p == L'I' || *p == L'z' || *p == L't') {
            d.size = Size::Pointer;
            ++p;
        } else if (*p == L'j') {
            d.size = Size::Max;
            ++p;
        } else if (p[0] == L'h' && p[1] == L'h') {
            d.size = Size::Char;
            p += 2;
        } else if (*p == L'h') {
            d.size = Size::Short;
            d.narrowText = true;
            ++p;
        } else if (p[0] == L'l' && p[1] == L'l') {
            d.size = Size::Long64;
            p += 2;
        } else if (*p == L'l' || *p == L'w' || *p == L'L') {
            // "l" is 32 bits on Windows, and long double is double there.
            ++p;
        }
    }

    void Emit(const Directive& d)
    {
        switch (d.conversion) {
        case L'd':
        case L'i': EmitNumber(d, TakeSigned(d.size)); break;
        case L'u':
        case L'o':
        case L'x':
        case L'X': EmitNumber(d, TakeUnsigned(d.size)); break;
        case L'f':
        case L'F': EmitNumber(d, AfxTieAwayFromZero(va_arg(m_args, double), d.precision < 0 ? 6 : d.precision)); break;
        case L'e':
        case L'E':
        case L'g':
        case L'G':
        case L'a':
        case L'A': EmitNumber(d, va_arg(m_args, double)); break;
        case L'c':
        case L'C': EmitChar(d); break;
        case L's':
        case L'S': EmitText(d); break;
        case L'p': EmitPointer(d); break;
        case L'n': (void)va_arg(m_args, void*); break;
        default: break;
        }
    }

    long long TakeSigned(Size size)
    {
        switch (size) {
        case Size::Char: return static_cast<signed char>(va_arg(m_args, int));
        case Size::Short: return static_cast<short>(va_arg(m_args, int));
        case Size::Long64: return va_arg(m_args, long long);
        case Size::Pointer: return va_arg(m_args, intptr_t);
        case Size::Max: return static_cast<long long>(va_arg(m_args, intmax_t));
        default: return va_arg(m_args, int);
        }
    }

    unsigned long long TakeUnsigned(Size size)
    {
        switch (size) {
        case Size::Char: return static_cast<unsigned char>(va_arg(m_args, unsigned int));
        case Size::Short: return static_cast<unsigned short>(va_arg(m_args, unsigned int));
        case Size::Long64: return va_arg(m_args, unsigned long long);
        case Size::Pointer: return va_arg(m_args, uintptr_t);
        case Size::Max: return static_cast<unsigned long long>(va_arg(m_args, uintmax_t));
        default: return va_arg(m_args, unsigned int);
        }
    }

    static std::string NarrowSpec(const Directive& d, const char* length)
    {
        std::string spec = "%" + d.flags;
        if (d.width >= 0)
            spec += std::to_string(d.width);
        if (d.precision >= 0)
            spec += "." + std::to_string(d.precision);
        spec += length;
        spec.push_back(static_cast<char>(d.conversion));
        return spec;
    }

    template <typename T>
    void EmitNumber(const Directive& d, T value)
    {
        const bool floating = std::is_floating_point<T>::value;
        const std::string spec = NarrowSpec(d, floating ? "" : "ll");
        ClassicLocaleScope classic;
        char small[128];
        const int n = std::snprintf(small, sizeof(small), spec.c_str(), value);
        if (n < 0)
            return;
        if (static_cast<size_t>(n) < sizeof(small)) {
            AppendAscii(small, static_cast<size_t>(n));
            return;
        }
        std::string big(static_cast<size_t>(n) + 1, '\0');
        std::snprintf(&big[0], big.size(), spec.c_str(), value);
        AppendAscii(big.data(), static_cast<size_t>(n));
    }

    void AppendAscii(const char* text, size_t length)
    {
        for (size_t i = 0; i < length; ++i)
            m_out.push_back(static_cast<wchar_t>(static_cast<unsigned char>(text[i])));
    }

    void EmitChar(const Directive& d)
    {
        const int value = va_arg(m_args, int);
        const bool narrow = d.narrowText || d.conversion == L'C';
        const wchar_t ch = narrow ? static_cast<wchar_t>(static_cast<unsigned char>(value)) : static_cast<wchar_t>(value);
        Pad(d, std::wstring(1, ch));
    }

    void EmitText(const Directive& d)
    {
        const bool narrow = d.narrowText || d.conversion == L'S';
        std::wstring text;
        if (narrow) {
            const char* s = va_arg(m_args, const char*);
            if (!s)
                s = "(null)";
            const size_t bytes = d.precision >= 0 ? strnlen(s, static_cast<size_t>(d.precision)) : std::strlen(s);
            text = win32::WideFromUtf8(std::string(s, bytes));
        } else {
            const wchar_t* s = va_arg(m_args, const wchar_t*);
            if (!s)
                s = L"(null)";
            const size_t chars = d.precision >= 0 ? wcsnlen(s, static_cast<size_t>(d.precision)) : std::wcslen(s);
            text.assign(s, chars);
        }
        if (d.precision >= 0 && text.size() > static_cast<size_t>(d.precision))
            text.resize(static_cast<size_t>(d.precision));
        Pad(d, text);
    }

    void EmitPointer(const Directive& d)
    {
        const auto value = reinterpret_cast<uintptr_t>(va_arg(m_args, void*));
        char digits[2 * sizeof(void*) + 1];
        std::snprintf(digits, sizeof(digits), "%0*llX", static_cast<int>(2 * sizeof(void*)),
                      static_cast<unsigned long long>(value));
        std::wstring text;
        for (const char* c = digits; *c; ++c)
            text.push_back(static_cast<wchar_t>(*c));
        Pad(d, text);
    }

    void Pad(const Directive& d, const std::wstring& text)
    {
        const bool left = d.flags.find('-') != std::string::npos;
        const bool zeros = !left && d.flags.find('0') != std::string::npos;
        const size_t fill = d.width > 0 && static_cast<size_t>(d.width) > text.size() ? d.width - text.size() : 0;
        if (!left)
            m_out.append(fill, zeros ? L'0' : L' ');
        m_out += text;
        if (left)
            m_out.append(fill, L' ');
    }

    std::wstring& m_out;
    va_list m_args;
};

}  // namespace

void CString::Format(LPCWSTR format, ...)
{
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CString::AppendFormat(LPCWSTR format, ...)
{
    va_list args;
    va_start(args, format);
    AppendFormatV(format, args);
    va_end(args);
}

void CString::FormatV(LPCWSTR format, va_list args)
{
    std::wstring out;
    if (format)
        Formatter(out, args).Run(format);
    m_text.swap(out);
}

void CString::AppendFormatV(LPCWSTR format, va_list args)
{
    // Built apart first: an argument may point into this string's own text.
    std::wstring out;
    if (format)
        Formatter(out, args).Run(format);
    m_text += out;
}
