#include "afx/exception.h"
#include "afx/object.h"

#include <gtest/gtest.h>

#include <cwchar>

namespace {

class CShape : public CObject {
    DECLARE_DYNCREATE(CShape)
public:
    int sides = 0;
};

class CSquare : public CShape {
    DECLARE_DYNAMIC(CSquare)
};

IMPLEMENT_DYNCREATE(CShape, CObject)
IMPLEMENT_DYNAMIC(CSquare, CShape)

TEST(RuntimeClass, NamesBasesAndKinds)
{
    CSquare square;
    const CObject& object = square;
    EXPECT_STREQ("CSquare", object.GetRuntimeClass()->m_lpszClassName);
    EXPECT_EQ(RUNTIME_CLASS(CShape), object.GetRuntimeClass()->m_pBaseClass);
    EXPECT_EQ(RUNTIME_CLASS(CObject), RUNTIME_CLASS(CShape)->m_pBaseClass);
    EXPECT_EQ(nullptr, RUNTIME_CLASS(CObject)->m_pBaseClass);
    EXPECT_EQ(static_cast<int>(sizeof(CSquare)), RUNTIME_CLASS(CSquare)->m_nObjectSize);
    EXPECT_STREQ("CException", RUNTIME_CLASS(CInvalidArgException)->m_pBaseClass->m_lpszClassName);
}

TEST(RuntimeClass, CreatesOnlyDynCreateClasses)
{
    CObject* made = RUNTIME_CLASS(CShape)->CreateObject();
    ASSERT_NE(nullptr, made);
    EXPECT_EQ(RUNTIME_CLASS(CShape), made->GetRuntimeClass());
    EXPECT_EQ(0, static_cast<CShape*>(made)->sides);
    delete made;
    EXPECT_EQ(nullptr, RUNTIME_CLASS(CSquare)->CreateObject());
}

TEST(Exception, BaseMessageIsEmptyAndDeleteRespectsOwnership)
{
    CException* e = new CException;
    wchar_t text[8] = L"junk";
    UINT help = 99;
    EXPECT_FALSE(e->GetErrorMessage(text, 8, &help));
    EXPECT_STREQ(L"", text);
    EXPECT_EQ(0u, help);
    e->Delete();  // freed; ASan reports a leak otherwise

    CException onStack(FALSE);
    onStack.Delete();  // not on the heap: left alone
    EXPECT_FALSE(onStack.GetErrorMessage(text, 8));

    CInvalidArgException invalid;
    EXPECT_TRUE(invalid.GetErrorMessage(text, 8));
    EXPECT_EQ(7u, std::wcslen(text));
}

}  // namespace
