#include "afx/cstring.h"
#include "afx/fixed.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdint>
#include <string>

namespace {

template <class... Args>
CString Fmt(LPCWSTR format, Args... args)
{
    CString s;
    s.Format(format, args...);
    return s;
}

TEST(CStringFormat, NumbersFollowTheWindowsRuntime)
{
    struct Case {
        CString got;
        const wchar_t* want;
    };
    const DWORD bigDword = 0xDEADBEEFu;
    const LONG negativeLong = -5;
    const Case cases[] = {
        {Fmt(L"%5.2f", 3.14159), L" 3.14"},
        {Fmt(L"%5.2f", 123.456), L"123.46"},
        {Fmt(L"%2.1f", 0.5), L"0.5"},
        {Fmt(L"%2.1f", 10.0), L"10.0"},
        {Fmt(L"%.2d", 7), L"07"},
        {Fmt(L"%.2d-%.2d-%d,%.2d:%.2d:%.2d", 9, 12, 2026, 4, 5, 6), L"09-12-2026,04:05:06"},
        {Fmt(L"%.2x", 0x0A), L"0a"},
        {Fmt(L"%.2x%.2x", 0xA5, 0x0D), L"a50d"},
        {Fmt(L"%lx", bigDword), L"deadbeef"},
        {Fmt(L"(err=%lx)", 0x7Au), L"(err=7a)"},
        {Fmt(L"%ld|%lu", negativeLong, bigDword), L"-5|3735928559"},
        {Fmt(L"%d", -42), L"-42"},
        {Fmt(L"%5d|%-5d|%05d", -3, -3, -3), L"   -3|-3   |-0003"},
        {Fmt(L"%X", 255u), L"FF"},
        {Fmt(L"%I64d", static_cast<long long>(-9000000000LL)), L"-9000000000"},
        {Fmt(L"%I64u", 18446744073709551615ULL), L"18446744073709551615"},
        {Fmt(L"%lld", 1LL << 40), L"1099511627776"},
        {Fmt(L"%hd", 70000), L"4464"},
        {Fmt(L"%hhu", 257), L"1"},
        {Fmt(L"%Id", static_cast<intptr_t>(-1)), L"-1"},
        {Fmt(L"%*d|%-*d|%.*f", 4, 1, 3, 2, 1, 2.25), L"   1|2  |2.3"},
        {Fmt(L"%e", 12345.678), L"1.234568e+04"},
        {Fmt(L"%g", 0.0001), L"0.0001"},
        {Fmt(L"%Lf", 1.5), L"1.500000"},
        {Fmt(L"%lf", 2.5), L"2.500000"},
        {Fmt(L"100%%"), L"100%"},
        {Fmt(L"%d%%", 5), L"5%"},
        {Fmt(L"%d-%d-%d %d-%d.txt", 2026, 12, 9, 4, 7), L"2026-12-9 4-7.txt"},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(c.want, static_cast<LPCWSTR>(c.got));
}

// An exact tie (exact in binary: x.x25, x.x75, x.5...) rounds away from zero as
// on Windows; every other value keeps the correct rounding of its binary value,
// also a decimal tie that binary cannot hold (60.15 is 60.1499...).
TEST(CStringFormat, FixedDecimalsRoundExactTiesAwayFromZeroInTextsAndFiles)
{
    struct Case {
        const wchar_t* format;
        double value;
        int width, decimals;
        const char* want;
    };
    const double justBelow = std::nextafter(60.125, 0.0);
    const double justAbove = std::nextafter(60.125, 100.0);
    const Case cases[] = {
        {L"%.2f", (7 * 60.0 + 61.0) / 8, 0, 2, "60.13"},
        {L"%.2f", 60.375, 0, 2, "60.38"},
        {L"%.2f", 60.625, 0, 2, "60.63"},
        {L"%.2f", 60.875, 0, 2, "60.88"},
        {L"%.2f", 0.125, 0, 2, "0.13"},
        {L"%.2f", -0.125, 0, 2, "-0.13"},
        {L"%5.2f", 5.125, 5, 2, " 5.13"},
        {L"%5.2f", 100.875, 5, 2, "100.88"},
        {L"%.1f", 60.25, 0, 1, "60.3"},
        {L"%.1f", 60.75, 0, 1, "60.8"},
        {L"%.1f", -60.25, 0, 1, "-60.3"},
        {L"%2.1f", 0.25, 2, 1, "0.3"},
        {L"%.0f", 0.5, 0, 0, "1"},
        {L"%.0f", 2.5, 0, 0, "3"},
        {L"%.0f", -2.5, 0, 0, "-3"},
        {L"%f", 0.0078125, 0, 6, "0.007813"},
        // Not ties: unchanged.
        {L"%.1f", 60.125, 0, 1, "60.1"},
        {L"%.3f", 60.125, 0, 3, "60.125"},
        {L"%.2f", justBelow, 0, 2, "60.12"},
        {L"%.2f", justAbove, 0, 2, "60.13"},
        {L"%.1f", 60.15, 0, 1, "60.1"},
        {L"%.1f", 0.15, 0, 1, "0.1"},
        {L"%.1f", 0.35, 0, 1, "0.3"},
        {L"%.2f", 1.005, 0, 2, "1.00"},
        {L"%.2f", 2.675, 0, 2, "2.67"},
        {L"%.2f", 60.145, 0, 2, "60.15"},
        {L"%.2f", 68.85, 0, 2, "68.85"},
        {L"%.2f", 40.25, 0, 2, "40.25"},
        {L"%.1f", 0.45, 0, 1, "0.5"},
        {L"%.2f", 1e300, 0, 2, nullptr},
        {L"%.2f", 0.0, 0, 2, "0.00"},
        {L"%.1073f", std::ldexp(1.0, -1074), 0, 1073, nullptr},
    };
    for (const Case& c : cases) {
        std::string file;
        AfxAppendFixed(file, c.value, c.width, c.decimals);
        SCOPED_TRACE(file);
        if (c.want) {
            EXPECT_EQ(file, c.want);
        }
        EXPECT_EQ(Fmt(c.format, c.value), CString(file.c_str()));
    }
}

TEST(CStringFormat, TextAndCharactersAreWideUnlessMarkedNarrow)
{
    EXPECT_STREQ(L"a wide text", Fmt(L"%s", L"a wide text").GetString());
    EXPECT_STREQ(L"narrow", Fmt(L"%S", "narrow").GetString());
    EXPECT_STREQ(L"narrow", Fmt(L"%hs", "narrow").GetString());
    EXPECT_STREQ(L"wide", Fmt(L"%ls", L"wide").GetString());
    EXPECT_STREQ(L"wide", Fmt(L"%ws", L"wide").GetString());
    EXPECT_STREQ(L"\x00e9t\x00e9", Fmt(L"%S", "\xc3\xa9t\xc3\xa9").GetString());
    EXPECT_STREQ(L"x\x4e2dy", Fmt(L"%c%c%c", L'x', L'\x4e2d', L'y').GetString());
    EXPECT_STREQ(L"Q", Fmt(L"%hc", 'Q').GetString());
    EXPECT_STREQ(L"Q", Fmt(L"%C", 'Q').GetString());
    EXPECT_STREQ(L"  ab|ab  |abc", Fmt(L"%4s|%-4s|%.3s", L"ab", L"ab", L"abcdef").GetString());
    EXPECT_STREQ(L"(null)", Fmt(L"%s", static_cast<const wchar_t*>(nullptr)).GetString());
    CString name(L"Kelvra");
    EXPECT_STREQ(L"[Kelvra]", Fmt(L"[%s]", static_cast<LPCWSTR>(name)).GetString());
    EXPECT_STREQ(L"Warning:Can't open COM4!", Fmt(L"Warning:Can't open COM%d!", 4).GetString());
    EXPECT_STREQ(L"12:34, 56.70, dBA", Fmt(L"%s, %5.2f, %s", L"12:34", 56.7, L"dBA").GetString());
}

TEST(CStringFormat, DecimalPointIgnoresTheUserLocale)
{
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    std::string saved = previous ? previous : "C";
    // Not every machine has a comma locale; the test is meaningful where one exists.
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") || std::setlocale(LC_NUMERIC, "fr_FR.UTF-8")) {
        EXPECT_STREQ(L"3.50", Fmt(L"%.2f", 3.5).GetString());
    }
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_STREQ(L"3.50", Fmt(L"%.2f", 3.5).GetString());
}

TEST(CStringFormat, LongResultsAndOddDirectives)
{
    std::wstring longText(5000, L'z');
    CString s;
    s.Format(L"<%s>%d", longText.c_str(), 9);
    EXPECT_EQ(5003, s.GetLength());
    EXPECT_EQ(L'<', s[0]);
    EXPECT_EQ(L'9', s[5002]);
    s.Format(L"%300d", 1);
    EXPECT_EQ(300, s.GetLength());
    s.Format(L"%.400f", 1.0);
    EXPECT_EQ(402, s.GetLength());

    int untouched = 77;
    s.Format(L"a%nb", &untouched);
    EXPECT_STREQ(L"ab", s.GetString());
    EXPECT_EQ(77, untouched);
    s.Format(L"%q and %", 1);
    EXPECT_STREQ(L"%q and %", s.GetString());
}

TEST(CStringFormat, AppendFormatKeepsTheTextAndMayQuoteItself)
{
    CString s(L"ab");
    s.AppendFormat(L"%d", 12);
    EXPECT_STREQ(L"ab12", s.GetString());
    s.AppendFormat(L"/%s", s.GetString());
    EXPECT_STREQ(L"ab12/ab12", s.GetString());
    s.Format(L"%s%s", s.GetString(), L"!");
    EXPECT_STREQ(L"ab12/ab12!", s.GetString());
}

}  // namespace
