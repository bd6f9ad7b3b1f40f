#include "afx/cstring.h"
#include "afx/exception.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

TEST(CString, ConstructionFromWideNarrowAndCounts)
{
    EXPECT_TRUE(CString().IsEmpty());
    EXPECT_STREQ(L"abc", CString(L"abc").GetString());
    EXPECT_STREQ(L"ab", CString(L"abcdef", 2).GetString());
    EXPECT_STREQ(L"abc", CString("abc").GetString());
    EXPECT_STREQ(L"ab", CString("abcdef", 2).GetString());
    EXPECT_STREQ(L"xxx", CString(L'x', 3).GetString());
    EXPECT_TRUE(CString(static_cast<LPCWSTR>(nullptr)).IsEmpty());
    EXPECT_TRUE(CString(static_cast<LPCSTR>(nullptr)).IsEmpty());
    EXPECT_TRUE(CString(L"abc", -1).IsEmpty());
    // UTF-8 decodes; every byte that starts no well-formed sequence is U+FFFD.
    EXPECT_STREQ(L"\x5e94\x7528", CString("\xe5\xba\x94\xe7\x94\xa8").GetString());
    EXPECT_STREQ(L"dB\xfffd", CString("dB\xb5").GetString());
    EXPECT_STREQ(L"\xfffd\xfffd", CString("\xe2\x82").GetString());
    EXPECT_STREQ(L"a\xfffd\xfffd", CString("a\xe2\x82" "b", 3).GetString());   // cut by the length
}

TEST(CString, AssignmentConcatenationAndComparison)
{
    CString s;
    s = L"one";
    EXPECT_EQ(3, s.GetLength());
    s = "two";
    EXPECT_TRUE(s == L"two");
    s = L'x';
    EXPECT_TRUE(s == L"x");
    s += L"yz";
    s += CString(L"!");
    s += L'?';
    s += "n";
    EXPECT_STREQ(L"xyz!?n", s.GetString());
    EXPECT_STREQ(L"ab", (CString(L"a") + CString(L"b")).GetString());
    EXPECT_STREQ(L"ab", (CString(L"a") + L"b").GetString());
    EXPECT_STREQ(L"ab", (L"a" + CString(L"b")).GetString());
    EXPECT_STREQ(L"ab", (CString(L"a") + L'b').GetString());
    EXPECT_STREQ(L"ab", (L'a' + CString(L"b")).GetString());

    EXPECT_TRUE(CString(L"a") != L"b");
    EXPECT_TRUE(L"a" == CString(L"a"));
    EXPECT_TRUE(CString(L"a") < CString(L"b"));
    EXPECT_FALSE(CString(L"b") < L"a");
    EXPECT_LT(CString(L"abc").Compare(L"abd"), 0);
    EXPECT_GT(CString(L"b").Compare(L"abc"), 0);
    EXPECT_EQ(0, CString(L"abc").Compare(L"abc"));

    std::vector<CString> names = {L"COM3", L"COM1", L"COM2"};
    std::sort(names.begin(), names.end());
    EXPECT_TRUE(names[0] == L"COM1" && names[2] == L"COM3");
}

TEST(CString, ExtractionClampsItsArguments)
{
    const CString s(L"Silicon Labs");
    struct Case {
        CString got;
        const wchar_t* want;
    };
    const Case cases[] = {
        {s.Left(7), L"Silicon"},   {s.Left(-1), L""},       {s.Left(99), L"Silicon Labs"},
        {s.Mid(8), L"Labs"},       {s.Mid(8, 2), L"La"},    {s.Mid(-3, 3), L"Sil"},
        {s.Mid(10, 99), L"bs"},    {s.Mid(99), L""},        {s.Mid(2, -1), L""},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(c.want, c.got.GetString());
}

TEST(CString, Searching)
{
    const CString s(L"a5 0d a5 06");
    EXPECT_EQ(0, s.Find(L'a'));
    EXPECT_EQ(6, s.Find(L'a', 1));
    EXPECT_EQ(-1, s.Find(L'z'));
    EXPECT_EQ(6, s.Find(L"a5", 1));
    EXPECT_EQ(3, s.Find(L"0d"));
    EXPECT_EQ(-1, s.Find(L"a5", 7));
    EXPECT_EQ(-1, s.Find(L'a', -1));
    EXPECT_EQ(-1, s.Find(L'a', 12));
    EXPECT_EQ(11, s.Find(L"", 11));
    EXPECT_EQ(6, s.ReverseFind(L'a'));
    EXPECT_EQ(-1, s.ReverseFind(L'q'));
}

TEST(CString, EditingInPlace)
{
    CString t(L"_abcde");
    EXPECT_EQ(4, t.Delete(0, 2));
    EXPECT_EQ(3, t.Delete(3, 10));
    EXPECT_EQ(3, t.Delete(-1, 1));
    EXPECT_EQ(3, t.Delete(9));
    EXPECT_STREQ(L"bcd", t.GetString());
}

TEST(CString, Trimming)
{
    struct Case {
        const wchar_t* text;
        const wchar_t* set;
        wchar_t ch;
        const wchar_t* want;
    };
    const Case cases[] = {
        {L" \t x y \r\n", nullptr, 0, L"x y"},
        {L"xxaxx", nullptr, L'x', L"a"},
        {L" (COM12) ", L"(COM) ", 0, L"12"},
        {L"(COMMON)", L"(COM) ", 0, L"N"},
        {L"   ", nullptr, 0, L""},
        {L"", L"ab", 0, L""},
    };
    for (const Case& c : cases) {
        CString s(c.text);
        if (c.set)
            s.Trim(c.set);
        else if (c.ch)
            s.Trim(c.ch);
        else
            s.Trim();
        EXPECT_STREQ(c.want, s.GetString()) << "from \"" << c.text << "\"";
    }
}

TEST(CString, CharacterAccessIsChecked)
{
    CString s(L"abc");
    EXPECT_EQ(L'b', s.GetAt(1));
    EXPECT_EQ(L'c', s[2]);
#ifdef NDEBUG
    for (int bad : {-1, 3, 1000}) {
        try {
            (void)s.GetAt(bad);
            ADD_FAILURE() << "GetAt(" << bad << ") did not throw";
        } catch (CException* e) {
            EXPECT_NE(nullptr, dynamic_cast<CInvalidArgException*>(e));
            e->Delete();
        }
    }
    EXPECT_STREQ(L"abc", s.GetString());
#endif
}

TEST(CString, BufferAccess)
{
    CString s(L"abc");
    LPWSTR buffer = s.GetBufferSetLength(10);
    wcscpy(buffer, L"0123456789");
    s.ReleaseBuffer();
    EXPECT_STREQ(L"0123456789", s.GetString());

    buffer = s.GetBufferSetLength(4);
    buffer[2] = L'\0';
    s.ReleaseBuffer();
    EXPECT_STREQ(L"01", s.GetString());

    buffer = s.GetBufferSetLength(3);
    buffer[2] = L'Z';
    s.ReleaseBuffer(3);
    EXPECT_STREQ(L"01Z", s.GetString());

    s.GetBufferSetLength(8);
    s.ReleaseBuffer(1);
    EXPECT_STREQ(L"0", s.GetString());
    s.Empty();
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_EQ(L'\0', s.GetBufferSetLength(0)[0]);
}

}  // namespace
