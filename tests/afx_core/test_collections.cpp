#include "afx/collections.h"
#include "afx/cstring.h"

#include <gtest/gtest.h>

namespace {

template <typename F>
bool ThrowsInvalidArg(F f)
{
    try {
        f();
    } catch (CException* e) {
        const bool right = dynamic_cast<CInvalidArgException*>(e) != nullptr;
        e->Delete();
        return right;
    }
    return false;
}

TEST(CArray, GrowsShrinksAndKeepsOrder)
{
    CArray<int, int> a;
    EXPECT_TRUE(a.IsEmpty());
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(i, a.Add(i * 10));
    EXPECT_EQ(5, a.GetSize());
    a.RemoveAt(0);            // 10 20 30 40
    a.RemoveAt(1, 2);         // 10 40
    a[1] = 2;
    a[0] += 1;
    const int want[] = {11, 2};
    ASSERT_EQ(2, a.GetSize());
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(want[i], a[i]);
    a.SetSize(2);
    EXPECT_EQ(2, a.GetSize());
    a.RemoveAll();
    EXPECT_EQ(0, a.GetSize());
}

TEST(CArray, CopyAppendAndSelfReference)
{
    CArray<CString, CString&> a;
    CString x(L"x"), y(L"y");
    a.Add(x);
    a.Add(y);
    EXPECT_EQ(2, a.Append(a));
    CArray<CString, CString&> b;
    b.Append(a);
    EXPECT_EQ(4, b.GetSize());
    EXPECT_TRUE(b[3] == L"y");
    // Adding an element of the array itself while it reallocates.
    for (int i = 0; i < 100; ++i)
        b.Add(b[0]);
    EXPECT_EQ(104, b.GetSize());
    EXPECT_TRUE(b[b.GetSize() - 1] == L"x");
    EXPECT_TRUE(b[3] == L"y");
}

TEST(CArray, OutOfRangeNeverTouchesMemory)
{
#ifdef NDEBUG
    CArray<int, int> a;
    a.Add(1);
    a.Add(2);
    EXPECT_TRUE(ThrowsInvalidArg([&] { (void)a.GetAt(2); }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { (void)a[-1]; }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { a[1000000] = 3; }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { a.RemoveAt(1, 2); }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { a.RemoveAt(-1); }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { a.SetSize(-2); }));
    const CArray<int, int>& constA = a;
    EXPECT_TRUE(ThrowsInvalidArg([&] { (void)constA[2]; }));
    ASSERT_EQ(2, a.GetSize());
    EXPECT_EQ(1, a[0]);
    EXPECT_EQ(2, a[1]);
#else
    GTEST_SKIP() << "out-of-range access asserts in debug builds";
#endif
}

TEST(CArray, PointerArraysDoNotOwn)
{
    CObArray objects;
    CException* e = new CException;
    objects.Add(e);
    objects.Add(nullptr);
    EXPECT_EQ(e, objects[0]);
    objects.RemoveAll();
    delete e;
    EXPECT_STREQ("CObArray", objects.GetRuntimeClass()->m_lpszClassName);
}

}  // namespace
