#include "matrix/zelkor.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/temp_files.h"
#include "tests/zelkor/matrix_checks.h"

namespace {

using zelkortest::LoadBytes;
using zelkortest::StoreBytes;
using zelkortest::Values;
using zelkortest::Int32;

std::string Float64(double v)
{
    return std::string(reinterpret_cast<const char*>(&v), 8);
}

TEST(MatrixArchive, LayoutOfTwoByThree)
{
    CMatrix m(2, 3, false, 0.0);
    for (int i = 0; i < 6; ++i)
        m.GetVector()[i] = i + 0.5;
    std::string bytes = StoreBytes([&](CArchive& ar) { m.Serialize(ar); });
    std::string expected = Int32(6);
    for (int i = 0; i < 6; ++i)
        expected += Float64(i + 0.5);
    expected += Int32(2);
    EXPECT_EQ(bytes.size(), 56u);
    EXPECT_EQ(bytes, expected);

    CMatrix back(1, 1, true, 9.0);
    LoadBytes(bytes, [&](CArchive& ar) { back.Serialize(ar); });
    EXPECT_EQ(back.GetRows(), 2);
    EXPECT_EQ(back.GetColumns(), 3);
    EXPECT_EQ(Values(back), Values(m));
}

TEST(VectorArchive, RoundTripAndEmpty)
{
    CVector v(3, false, 0.0);
    v[0] = 1;
    v[1] = -2.5;
    v[2] = 1e300;
    std::string bytes = StoreBytes([&](CArchive& ar) { v.Serialize(ar); });
    EXPECT_EQ(bytes, Int32(3) + Float64(1) + Float64(-2.5) + Float64(1e300));
    CVector back;
    LoadBytes(bytes, [&](CArchive& ar) { back.Serialize(ar); });
    EXPECT_EQ(back, v);

    CVector emptyBack(2, true, 1.0);
    LoadBytes(Int32(0), [&](CArchive& ar) { emptyBack.Serialize(ar); });
    EXPECT_EQ(emptyBack.GetSize(), 0);
    EXPECT_EQ(emptyBack.GetVector(), nullptr);
}

TEST(VectorArchive, ImpossibleCountsAreRefused)
{
    const std::string cases[] = {
        Int32(-1),
        Int32(0x7FFFFFFF) + Float64(1),   // far more doubles than the file holds
        Int32(3) + Float64(1) + Float64(2),
        std::string("\x01\x00", 2),
    };
    for (const std::string& bytes : cases) {
        CVector v(2, true, 1.0);
        EXPECT_THROW(LoadBytes(bytes, [&](CArchive& ar) { v.Serialize(ar); }), CArchiveException);
        EXPECT_EQ(v.GetSize(), 0);
        EXPECT_EQ(v.GetVector(), nullptr);
    }
}

TEST(MatrixArchive, CorruptRowCountsAreRefused)
{
    const std::string cases[] = {
        Int32(4) + std::string(32, '\0') + Int32(3),
        Int32(4) + std::string(32, '\0') + Int32(0),
        Int32(4) + std::string(32, '\0') + Int32(-2),
        Int32(4) + std::string(32, '\0'),
    };
    for (const std::string& bytes : cases) {
        CMatrix m(2, 2, true, 1.0);
        EXPECT_THROW(LoadBytes(bytes, [&](CArchive& ar) { m.Serialize(ar); }), CArchiveException);
        EXPECT_EQ(m.GetSize(), 0);
        EXPECT_EQ(m.GetRows(), 0);
        EXPECT_FALSE(m.IsAllocated());
    }
}

TEST(MatrixArchive, ObjectsAreCreatedByClassName)
{
    EXPECT_TRUE(CMatrix().IsSerializable());
    EXPECT_TRUE(CMatrix().IsKindOf(RUNTIME_CLASS(CVirtRealMat)));
    EXPECT_EQ(RUNTIME_CLASS(CVector)->m_wSchema, 1u);
    EXPECT_EQ(RUNTIME_CLASS(CMatrix)->m_wSchema, 1u);
    EXPECT_EQ(RUNTIME_CLASS(CVirtMat)->m_pfnCreateObject, nullptr);
    EXPECT_EQ(RUNTIME_CLASS(CVirtRealMat)->m_wSchema, 0xFFFFu);

    CMatrix m(2, 2, true, 3.0);
    CVector v(1, true, 4.0);
    std::string bytes = StoreBytes([&](CArchive& ar) { ar << &m << &v; });
    CObject* a = nullptr;
    CObject* b = nullptr;
    LoadBytes(bytes, [&](CArchive& ar) { ar >> a >> b; });
    std::unique_ptr<CObject> ownA(a), ownB(b);
    auto* ma = dynamic_cast<CMatrix*>(a);
    ASSERT_NE(ma, nullptr);
    EXPECT_EQ(ma->GetRows(), 2);
    EXPECT_TRUE(*ma == 3.0);
    ASSERT_EQ(b->GetRuntimeClass(), RUNTIME_CLASS(CVector));
    EXPECT_EQ(Values(*static_cast<CVector*>(b)), (std::vector<double>{4}));
}

} // namespace
