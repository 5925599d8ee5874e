#include "matrix/zelkor.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/support/temp_files.h"
#include "tests/zelkor/matrix_checks.h"

namespace {

using zelkortest::LoadBytes;
using zelkortest::StoreBytes;
using zelkortest::Int32;

} // namespace

// An archivable object that counts its living instances.
class CCountedItem : public CObject {
    DECLARE_SERIAL(CCountedItem)
public:
    explicit CCountedItem(LONG v = 0) : value(v) { ++alive; }
    ~CCountedItem() override { --alive; }
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring())
            ar << value;
        else
            ar >> value;
    }

    LONG value;
    static int alive;
};

IMPLEMENT_SERIAL(CCountedItem, CObject, 1)
int CCountedItem::alive = 0;

namespace {

class ObjContainers : public ::testing::Test {
protected:
    void SetUp() override { CCountedItem::alive = 0; }
};

LONG ValueOf(CObject* p)
{
    auto* item = dynamic_cast<CCountedItem*>(p);
    return item ? item->value : -1;
}

TEST_F(ObjContainers, DeleteEntriesDeletesSharedObjectsOnce)
{
    CObjVect v;
    v.Allocate(4, true, nullptr);
    auto* shared = new CCountedItem(1);
    v[0] = shared;
    v[1] = new CCountedItem(2);
    v[2] = shared;
    v.DeleteEntries();
    EXPECT_EQ(CCountedItem::alive, 0);
    EXPECT_EQ(v.GetSize(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(v[i], nullptr);

    CObjMat m;
    m.Allocate(2, 3, true, nullptr);
    m = new CCountedItem(3);
    m[1][2] = new CCountedItem(4);
    EXPECT_EQ(CCountedItem::alive, 2);
    m.DeleteEntries();
    EXPECT_EQ(CCountedItem::alive, 0);
    EXPECT_EQ(m.GetRows(), 2);
    for (int k = 0; k < 6; ++k)
        EXPECT_EQ(m[0][k], nullptr);
}

TEST_F(ObjContainers, DestroyingLeavesObjectsAlive)
{
    auto a = std::make_unique<CCountedItem>(1);
    auto b = std::make_unique<CCountedItem>(2);
    {
        CObjVect v;
        v.Allocate(2, true, a.get());
        CObjMat m;
        m.Allocate(1, 1, true, b.get());
    }
    EXPECT_EQ(CCountedItem::alive, 2);
}

TEST_F(ObjContainers, VectorArchiveKeepsNullsAndSharing)
{
    auto a = std::make_unique<CCountedItem>(10);
    auto b = std::make_unique<CCountedItem>(20);
    CObjVect v;
    v.Allocate(4, true, nullptr);
    v[0] = a.get();
    v[2] = b.get();
    v[3] = a.get();
    std::string bytes = StoreBytes([&](CArchive& ar) { v.Serialize(ar); });
    EXPECT_EQ(bytes.substr(0, 4), Int32(4));

    // Loading does not delete what the container pointed to before.
    CObjVect back;
    back.Allocate(1, true, b.get());
    LoadBytes(bytes, [&](CArchive& ar) { back.Serialize(ar); });
    ASSERT_EQ(back.GetSize(), 4);
    EXPECT_EQ(ValueOf(back[0]), 10);
    EXPECT_EQ(back[1], nullptr);
    EXPECT_EQ(ValueOf(back[2]), 20);
    EXPECT_EQ(back[3], back[0]);
    EXPECT_NE(back[0], a.get());
    EXPECT_EQ(CCountedItem::alive, 4);
    back.DeleteEntries();
    EXPECT_EQ(CCountedItem::alive, 2);
}

TEST_F(ObjContainers, MatrixArchiveStoresColumnsFirst)
{
    CObjMat m;
    m.Allocate(2, 3, RUNTIME_CLASS(CCountedItem));
    for (int k = 0; k < 6; ++k)
        static_cast<CCountedItem*>(m[0][k])->value = k;
    std::unique_ptr<CObject> dropped(m[1][0]);
    m[1][0] = nullptr;
    std::string bytes = StoreBytes([&](CArchive& ar) { m.Serialize(ar); });
    EXPECT_EQ(bytes.substr(0, 8), Int32(3) + Int32(2));

    CObjMat back;
    LoadBytes(bytes, [&](CArchive& ar) { back.Serialize(ar); });
    ASSERT_EQ(back.GetRows(), 2);
    ASSERT_EQ(back.GetColumns(), 3);
    EXPECT_EQ(ValueOf(back[0][2]), 2);
    EXPECT_EQ(back[1][0], nullptr);
    EXPECT_EQ(ValueOf(back[1][2]), 5);
    back.DeleteEntries();
    m.DeleteEntries();
    // Entry (1, 0) was taken out of m above.
    EXPECT_EQ(CCountedItem::alive, 1);
}

TEST_F(ObjContainers, ImpossibleCountsAreRefused)
{
    const std::string vectors[] = {Int32(-1), Int32(1000), Int32(2) + std::string(2, '\0')};
    for (const std::string& bytes : vectors) {
        CObjVect v;
        v.Allocate(2, true, nullptr);
        EXPECT_THROW(LoadBytes(bytes, [&](CArchive& ar) { v.Serialize(ar); }), CArchiveException);
        EXPECT_EQ(v.GetSize(), 2);
    }
    const std::string matrices[] = {Int32(3) + Int32(-2), Int32(-3) + Int32(2),
                                    Int32(0x10000) + Int32(0x10000)};
    for (const std::string& bytes : matrices) {
        CObjMat m;
        m.Allocate(1, 1, true, nullptr);
        EXPECT_THROW(LoadBytes(bytes, [&](CArchive& ar) { m.Serialize(ar); }), CArchiveException);
        EXPECT_EQ(m.GetRows(), 1);
        EXPECT_EQ(m.GetColumns(), 1);
    }
}

TEST_F(ObjContainers, AllocateKeepsOrReplacesTheArray)
{
    CCountedItem a(1), b(2);
    CObjVect v;
    v.Allocate(4, true, &a);
    v[3] = &b;
    v.Allocate(4, false, nullptr);
    EXPECT_EQ(v[0], &a);
    EXPECT_EQ(v[3], &b);
    v.Allocate(5, false, nullptr);
    ASSERT_EQ(v.GetSize(), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(v[i], nullptr);
    v.Allocate(0, true, &a);
    EXPECT_EQ(v.GetSize(), 0);

    CObjMat m;
    m.Allocate(2, 3, true, &a);
    m[1][2] = &b;
    m.Allocate(3, 2, false, nullptr);
    EXPECT_EQ(m.GetRows(), 3);
    EXPECT_EQ(m[2][1], &b);
    m.Allocate(0, 2, true, &a);
    EXPECT_EQ(m.GetRows(), 0);
    EXPECT_EQ(StoreBytes([&](CArchive& ar) { m.Serialize(ar); }), Int32(2) + Int32(0));
}

TEST_F(ObjContainers, AllocateWithClassMakesFreshObjects)
{
    CObjMat m;
    m.Allocate(2, 2, RUNTIME_CLASS(CCountedItem));
    EXPECT_EQ(CCountedItem::alive, 4);
    for (int k = 0; k < 4; ++k) {
        ASSERT_NE(m[0][k], nullptr);
        EXPECT_EQ(m[0][k]->GetRuntimeClass(), RUNTIME_CLASS(CCountedItem));
        for (int l = 0; l < k; ++l)
            EXPECT_NE(m[0][k], m[0][l]);
    }
    m.DeleteEntries();
    // A class without a factory gives null entries.
    m.Allocate(1, 2, RUNTIME_CLASS(CVirtMat));
    EXPECT_EQ(m[0][0], nullptr);
    EXPECT_EQ(m[0][1], nullptr);
    EXPECT_EQ(CCountedItem::alive, 0);
}

} // namespace
