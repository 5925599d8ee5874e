#include <gtest/gtest.h>

#include "tests/afx/archive_classes.h"

TEST(RuntimeClassTest, RecordsNameSchemaFactoryAndBase)
{
    struct Case {
        const CRuntimeClass* cls;
        const char* name;
        UINT schema;
        bool creatable;
        const CRuntimeClass* base;
    };
    const Case cases[] = {
        {RUNTIME_CLASS(CObject), "CObject", 0xFFFF, false, nullptr},
        {RUNTIME_CLASS(CObList), "CObList", 0, true, RUNTIME_CLASS(CObject)},
        {RUNTIME_CLASS(CStringArray), "CStringArray", 0, true, RUNTIME_CLASS(CObject)},
        {RUNTIME_CLASS(CTestNode), "CTestNode", 1, true, RUNTIME_CLASS(CObject)},
        {RUNTIME_CLASS(CTestVersioned), "CTestVersioned", VERSIONABLE_SCHEMA | 2, true,
         RUNTIME_CLASS(CObject)},
        {RUNTIME_CLASS(CTestShape), "CTestShape", 1, false, RUNTIME_CLASS(CObject)},
        {RUNTIME_CLASS(CTestSquare), "CTestSquare", 1, true, RUNTIME_CLASS(CTestShape)},
        {RUNTIME_CLASS(CTestDynamic), "CTestDynamic", 0xFFFF, false, RUNTIME_CLASS(CObject)},
        {RUNTIME_CLASS(CArchiveException), "CArchiveException", 0xFFFF, false,
         RUNTIME_CLASS(CException)},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(c.cls->m_lpszClassName, c.name);
        EXPECT_EQ(c.cls->m_wSchema, c.schema) << c.name;
        EXPECT_EQ(c.cls->m_pBaseClass, c.base) << c.name;
        // Every class, from the platform library or from this program, is
        // found by its name.
        EXPECT_EQ(CRuntimeClass::FromName(c.name), c.cls) << c.name;
        CObject* ob = c.cls->CreateObject();
        EXPECT_EQ(ob != nullptr, c.creatable) << c.name;
        if (ob) {
            EXPECT_EQ(ob->GetRuntimeClass(), c.cls) << c.name;
            delete ob;
        }
    }
    EXPECT_EQ(CRuntimeClass::FromName("CNoSuchClass"), nullptr);
    EXPECT_EQ(CRuntimeClass::FromName(nullptr), nullptr);
}

TEST(RuntimeClassTest, KindAndDerivation)
{
    CTestSquare square;
    EXPECT_TRUE(square.IsKindOf(RUNTIME_CLASS(CTestSquare)));
    EXPECT_TRUE(square.IsKindOf(RUNTIME_CLASS(CTestShape)));
    EXPECT_TRUE(square.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(square.IsKindOf(RUNTIME_CLASS(CTestNode)));
    EXPECT_TRUE(RUNTIME_CLASS(CTestSquare)->IsDerivedFrom(RUNTIME_CLASS(CTestShape)));
    EXPECT_FALSE(RUNTIME_CLASS(CTestShape)->IsDerivedFrom(RUNTIME_CLASS(CTestSquare)));
    EXPECT_TRUE(square.IsSerializable());
    CTestDynamic dynamic;
    EXPECT_FALSE(dynamic.IsSerializable());

    CArchiveException e(CArchiveException::badIndex);
    EXPECT_TRUE(e.IsKindOf(RUNTIME_CLASS(CException)));
    EXPECT_NE(std::string(e.what()).find("invalid object reference"), std::string::npos);
}
