#include "win32/text.h"

#include <gtest/gtest.h>

using win32::Utf8FromWide;
using win32::WideFromUtf8;

TEST(Text, RoundTripsEveryPlane)
{
    const std::wstring samples[] = {L"", L"COM7", L"M\u00e9dium \u5e94\u7528", std::wstring(1, static_cast<wchar_t>(0x1F50A))};
    for (const std::wstring& text : samples)
        EXPECT_EQ(WideFromUtf8(Utf8FromWide(text.c_str())), text);
    EXPECT_EQ(Utf8FromWide(L"\u00e9"), "\xc3\xa9");
    EXPECT_EQ(Utf8FromWide(nullptr), "");
}

TEST(Text, MalformedInputBecomesReplacementCharacters)
{
    EXPECT_EQ(WideFromUtf8("a\xff" "b"), L"a\ufffdb");
    EXPECT_EQ(WideFromUtf8("\xc3"), L"\ufffd");           // cut short
    EXPECT_EQ(WideFromUtf8("\xc0\xaf"), L"\ufffd\ufffd"); // overlong
    EXPECT_EQ(WideFromUtf8("\xed\xa0\x80"), L"\ufffd\ufffd\ufffd");  // surrogate
    const wchar_t surrogate[] = {static_cast<wchar_t>(0xD800), 0};
    EXPECT_EQ(Utf8FromWide(surrogate), "\xef\xbf\xbd");
}
