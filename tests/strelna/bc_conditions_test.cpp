#include "tests/strelna/fe_fixture.h"
#include "tests/strelna/vector_values.h"
#include "tests/afx/archive_files.h"

#include <cmath>
#include <memory>
#include <vector>

namespace {

using fetest::Values;
using fetest::Vec;

} // namespace

TEST(BoundCond, DofVectorEntriesAndQueries)
{
    CBoundCond bc;
    EXPECT_TRUE(bc.IsFree(1));
    EXPECT_FALSE(bc.IsSup(1));
    EXPECT_FALSE(bc.IsSpring(1));
    EXPECT_FALSE(bc.IsPrescribed(1));
    bc.RemoveDof(1); // no vector: nothing happens

    CVector start = Vec({1, 2, 0, 0});
    bc.SetBC(start);
    bc.SetBC(3, 0.5);
    EXPECT_EQ(Values(bc.GetBCVector()), (std::vector<double>{1, 2, 3, 0, 0, 0.5}));
    EXPECT_TRUE(bc.IsPrescribed(3));

    // A support turned into a spring in place.
    bc.SetBC(3, 0.0);
    bc.SetBC(-3, 500.0);
    EXPECT_EQ(Values(bc.GetBCVector()), (std::vector<double>{1, 2, -3, 0, 0, 500}));
    EXPECT_FALSE(bc.IsFree(3));
    EXPECT_FALSE(bc.IsSup(3));
    EXPECT_TRUE(bc.IsSpring(3));
    EXPECT_FALSE(bc.IsPrescribed(3));
    EXPECT_TRUE(bc.IsSup(1));

    bc.SetBC(-1, 7.0);
    bc.RemoveDof(3);
    EXPECT_EQ(Values(bc.GetBCVector()), (std::vector<double>{-1, 2, 7, 0}));
    bc.RemoveDof(1);
    EXPECT_EQ(Values(bc.GetBCVector()), (std::vector<double>{2, 0}));
}

TEST(BoundCond, ChainWalkAndIdentifiers)
{
    CBoundCond head;
    CBoundCond* third = head.Grow(2);
    EXPECT_EQ(head.Jump(2), third);
    EXPECT_EQ(head.Jump(0), &head);
    EXPECT_EQ(head.Jump(3), nullptr);
    EXPECT_EQ(head.Grow(2), third); // nothing new

    head.GetNextBC()->SetID(9);
    EXPECT_EQ(head.GetID(), 0);
    EXPECT_EQ(third->GetID(), 9);
    EXPECT_FALSE(head.IsClear(true));
    EXPECT_TRUE(head.IsClear(false));

    head.CutList(1);
    EXPECT_EQ(head.Jump(2), nullptr);
    delete third;

    CBoundCond3D solid;
    EXPECT_NE(dynamic_cast<CBoundCond3D*>(solid.Grow(1)), nullptr);
}

TEST(BoundCond, MultiplySelectsTypesAndConditions)
{
    auto chain = std::make_unique<CBoundCond>();
    CVector v = Vec({1, -2, 0, 3, 10, 20, 30, 40});
    chain->SetBC(v);
    chain->Grow(1)->SetBC(v);

    chain->Multiply(2.0, -1, -1);
    EXPECT_EQ(Values(chain->GetBCVector()), (std::vector<double>{1, -2, 0, 3, 10, 40, 30, 40}));
    EXPECT_EQ(Values(chain->Jump(1)->GetBCVector()), (std::vector<double>{1, -2, 0, 3, 10, 40, 30, 40}));

    chain->Multiply(0.5, 0, 1);
    EXPECT_EQ(Values(chain->GetBCVector()), (std::vector<double>{1, -2, 0, 3, 10, 40, 30, 40}));
    EXPECT_EQ(Values(chain->Jump(1)->GetBCVector()), (std::vector<double>{1, -2, 0, 3, 5, 20, 15, 20}));
    chain->Multiply(0.5, 0, 2); // no third condition: nothing

    struct Case {
        int type;
        std::vector<double> expected;
    };
    const Case cases[] = {{1, {20, 20, 30, 80}}, {2, {20, 20, 60, 80}}, {-2, {10, 40, 60, 40}},
                          {-1, {10, 40, 30, 40}}, {0, {20, 40, 60, 80}}, {7, {10, 20, 30, 40}}};
    for (const Case& c : cases) {
        CBoundCond bc;
        bc.SetBC(v);
        bc.Multiply(2.0, c.type, 0);
        const std::vector<double> got = Values(bc.GetBCVector());
        EXPECT_EQ(std::vector<double>(got.begin() + 4, got.end()), c.expected) << "type " << c.type;
    }
}

TEST(BoundCond, TransformationMatrices)
{
    CBoundCond bc;
    CMatrix t(1, 1, true, 5.0);
    EXPECT_FALSE(bc.GetTMat(t, 0));
    EXPECT_EQ(t.GetRows(), 1);
    EXPECT_EQ(t[0][0], 5.0);
    bc.SetAngle(M_PI / 6);
    ASSERT_TRUE(bc.GetTMat(t, 0));
    EXPECT_NEAR(t[0][1], -0.5, 1e-15);
    EXPECT_NEAR(t[1][0], 0.5, 1e-15);

    CBoundCond3D solid;
    EXPECT_FALSE(solid.GetTMat(t, 1));
    EXPECT_TRUE(solid.IsGlobal(1));
    EXPECT_EQ(solid.SetRot1(0, 0, 0), nullptr);
    solid.SetRot1(0, 0, 90);
    ASSERT_TRUE(solid.GetTMat(t, 1));
    EXPECT_FALSE(solid.GetTMat(t, 2));
    // A turn about z by 90 degrees: row 1 (0, 1, 0), row 2 (-1, 0, 0).
    EXPECT_NEAR(t[0][1], 1.0, 1e-15);
    EXPECT_NEAR(t[1][0], -1.0, 1e-15);
    EXPECT_NEAR(t[2][2], 1.0, 1e-15);
    solid.SetRot2(30, 0, 0);
    ASSERT_TRUE(solid.GetTMat(t, 2));
    EXPECT_NEAR(t[1][2], 0.5, 1e-15); // sx cy
    EXPECT_NEAR(t[2][1], -0.5, 1e-15); // -sx cz

    EXPECT_EQ(solid.SetRotParam(4), 0);
    EXPECT_EQ(solid.SetRotParam(-1), 4);
    EXPECT_EQ(solid.GetRotParam(), 4);
}

TEST(BoundCond, CopyKeepsChainsApart)
{
    CBoundCond src;
    src.SetType(16);
    src.SetAngle(0.25);
    src.SetID(3);
    CVector v = Vec({1, 0});
    src.SetBC(v);
    src.Grow(1)->SetType(2);

    CBoundCond dst;
    dst.Grow(2)->SetType(4);
    dst.CopyFrom(src);
    EXPECT_EQ(dst.GetBCType(), 16u);
    EXPECT_EQ(dst.GetAngle(), 0.25);
    EXPECT_EQ(dst.GetID(), 3);
    EXPECT_EQ(Values(dst.GetBCVector()), Values(src.GetBCVector()));
    ASSERT_NE(dst.Jump(1), nullptr);
    EXPECT_NE(dst.Jump(1), src.Jump(1)); // its own condition, not the source's
    EXPECT_EQ(dst.Jump(1)->GetBCType(), 2u);
    // The third condition had no counterpart: kept and cleared.
    ASSERT_NE(dst.Jump(2), nullptr);
    EXPECT_TRUE(dst.Jump(2)->IsClear(false));

    CBoundCond empty;
    dst.CopyFrom(empty);
    EXPECT_EQ(dst.GetBCVector(), nullptr);

    CBoundCond3D solid;
    solid.SetRot1(1, 2, 3);
    solid.SetRotParam(5);
    CBoundCond3D solidCopy;
    solidCopy = static_cast<CBoundCond&>(solid);
    double x, y, z;
    solidCopy.GetRot1(x, y, z);
    EXPECT_EQ(z, 3.0);
    EXPECT_EQ(solidCopy.GetRotParam(), 5);
    solidCopy.CopyFrom(src);
    solidCopy.GetRot1(x, y, z);
    EXPECT_EQ(z, 0.0);
}

TEST(BoundCond, CompareAndUnion)
{
    CBoundCond a, b;
    a.SetType(1);
    b.SetType(1);
    EXPECT_TRUE(a == b);
    a.SetAngle(1.0);
    EXPECT_TRUE(a == b); // the angle is not compared
    CVector va = Vec({1, 2, 0, 4});
    a.SetBC(va);
    EXPECT_FALSE(a == b);
    CVector vb = Vec({3, 2, 5, 8});
    b.SetBC(vb);
    b.SetType(4);

    std::unique_ptr<CBoundCond> sum(a + b);
    EXPECT_EQ(Values(sum->GetBCVector()), (std::vector<double>{1, 2, 3, 0, 6, 5}));
    EXPECT_EQ(sum->GetBCType(), 5u);
    EXPECT_EQ(sum->GetAngle(), 0.0);
    // Both operands stay as they were.
    EXPECT_EQ(a.GetBCType(), 1u);
    EXPECT_EQ(b.GetBCType(), 4u);
    EXPECT_EQ(Values(a.GetBCVector()), (std::vector<double>{1, 2, 0, 4}));

    CBoundCond bare;
    std::unique_ptr<CBoundCond> withBare(a + bare);
    EXPECT_EQ(Values(withBare->GetBCVector()), Values(a.GetBCVector()));
}

TEST(BoundCond, InformationCounts)
{
    struct Case {
        unsigned type;
        std::vector<double> dofs;
        long supports, prescribed;
    };
    const Case cases[] = {{1, {}, 1, 0},  {2, {}, 3, 0},  {4, {}, 0, 0}, {8, {}, 3, 0},
                          {3, {}, 4, 0},  {16, {1, 2, 3, 0, 0.5, 0}, 2, 1}};
    for (const Case& c : cases) {
        CBoundCond bc;
        bc.SetType(c.type);
        if (!c.dofs.empty()) {
            CVector v = Vec(c.dofs);
            bc.SetBC(v);
        }
        CInfoContainer info;
        info.Allocate(9, true, 0);
        bc.DM_GetInfo(info);
        EXPECT_EQ(info[5], c.supports) << c.type;
        EXPECT_EQ(info[6], c.prescribed) << c.type;
    }
    CBoundCond3D solid;
    solid.SetRotParam(2);
    CInfoContainer info;
    info.Allocate(9, true, 0);
    solid.DM_GetInfo(info);
    EXPECT_EQ(info[8], 1);
}

TEST(BoundCond, ArchiveLayoutAndRoundTrip)
{
    CBoundCond bc;
    bc.SetAngle(0.5);
    bc.SetType(0x100);
    CVector v = Vec({1, 0});
    bc.SetBC(v);
    bc.SetID(42);
    const afxtest::Bytes got = afxtest::storeBytes([&](CArchive& ar) { bc.Serialize(ar); });
    const afxtest::Bytes expected = afxtest::storeBytes([&](CArchive& ar) {
        ar << 0.5 << static_cast<DWORD>(0x100);
        ar << static_cast<CObject*>(bc.GetBCVector());
        ar << static_cast<CObject*>(nullptr); // next
        ar << static_cast<CObject*>(nullptr); // coupling list, removed
    });
    EXPECT_EQ(got, expected);

    CBoundCond3D solid;
    solid.SetType(2);
    solid.SetRot2(0, 45, 0);
    solid.SetRotParam(3);
    solid.Grow(1)->SetType(1);
    solid.SetID(7);
    const afxtest::Bytes bytes = afxtest::storeBytes([&](CArchive& ar) { ar << static_cast<CObject*>(&solid); });
    CObject* ob = nullptr;
    afxtest::loadBytes(bytes, [&](CArchive& ar) { ar >> ob; });
    std::unique_ptr<CObject> owner(ob);
    auto* loaded = dynamic_cast<CBoundCond3D*>(ob);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->GetBCType(), 2u);
    EXPECT_EQ(loaded->GetID(), 0);
    EXPECT_EQ(loaded->GetRotParam(), 3);
    double x, y, z;
    loaded->GetRot2(x, y, z);
    EXPECT_EQ(y, 45.0);
    EXPECT_TRUE(loaded->IsGlobal(1));
    ASSERT_NE(loaded->Jump(1), nullptr);
    EXPECT_EQ(loaded->Jump(1)->GetBCType(), 1u);

    // A truncated condition reaches the caller as an archive exception.
    // The break lies after the chain was read: the first object made owns
    // the others.
    afxtest::Bytes cut(bytes.begin(), bytes.end() - 6);
    bool thrown = false;
    afxtest::loadBytes(cut, [&](CArchive& ar) {
        try {
            CObject* o = nullptr;
            ar >> o;
            delete o;
        } catch (CArchiveException&) {
            thrown = true;
            const std::vector<CObject*> made = ar.GetCreatedObjects();
            ASSERT_FALSE(made.empty());
            delete made.front();
        }
    });
    EXPECT_TRUE(thrown);
}

TEST(BoundCond, CouplingsFollowCopiesAndArchive)
{
    CBoundNode a(0, 0, 0, nullptr, 0), b(1, 0, 0, nullptr, 0);
    CBoundNode ca(0, 0, 0, nullptr, 0), cb(1, 0, 0, nullptr, 0);
    a.SetStandBC(1, 0);
    b.SetStandBC(1, 0);
    ca.SetStandBC(1, 0);
    cb.SetStandBC(1, 0);
    auto* link = new CLinCpl;
    link->m_pNode1 = &a;
    link->m_pNode2 = &b;
    link->m_uiDof1 = 1;
    link->m_uiDof2 = 2;
    link->m_dFactor = 0.5;
    a.AddCoupling(link);
    b.AddCoupling(link);
    EXPECT_EQ(a.GetBC(0)->GetBCType(), 0x101u);

    const afxtest::Bytes got = afxtest::storeBytes([&](CArchive& ar) { link->Serialize(ar); });
    const afxtest::Bytes expected = afxtest::storeBytes([&](CArchive& ar) {
        ar << static_cast<CObject*>(&b) << static_cast<CObject*>(&a);
        ar << static_cast<DWORD>(1) << static_cast<DWORD>(2) << 0.5;
    });
    EXPECT_EQ(got, expected);

    // Copying a condition couples the copies of the nodes.
    a.SetCopyNode(&ca);
    b.SetCopyNode(&cb);
    ca.GetBC(0)->CopyFrom(*a.GetBC(0));
    CObList* made = ca.GetBC(0)->GetCouplings();
    ASSERT_NE(made, nullptr);
    ASSERT_EQ(made->GetCount(), 1);
    auto* copy = dynamic_cast<CLinCpl*>(made->GetHead());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->m_pNode1, &ca);
    EXPECT_EQ(copy->m_pNode2, &cb);
    EXPECT_EQ(copy->m_dFactor, 0.5);
    ASSERT_NE(cb.GetBC(0)->GetCouplings(), nullptr);

    // Without copy nodes the new coupling is dropped.
    a.SetCopyNode(nullptr);
    b.SetCopyNode(nullptr);
    CBoundCond other;
    other.CopyFrom(*a.GetBC(0));
    EXPECT_EQ(other.GetCouplings(), nullptr);

    // Deleting a coupling takes it out of its nodes' lists.
    delete copy;
    EXPECT_EQ(ca.GetBC(0)->GetCouplings(), nullptr);
    EXPECT_EQ(cb.GetBC(0)->GetCouplings(), nullptr);
    EXPECT_EQ(ca.GetBC(0)->GetBCType() & 0x100u, 0x100u);
}
