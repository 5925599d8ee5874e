#include "tests/strelna/fe_fixture.h"
#include "tests/afx/archive_files.h"

#include <memory>
#include <vector>

namespace {

template <class T>
void Fill(T& v, std::vector<double> values)
{
    v.Allocate(static_cast<int>(values.size()), true, 0.0);
    for (int i = 0; i < v.GetSize(); ++i)
        v[i] = values[static_cast<std::size_t>(i)];
}

std::vector<double> Values(const CVector& v)
{
    return std::vector<double>(v.GetVector(), v.GetVector() + v.GetSize());
}

} // namespace

TEST(Load, EdgeLoadQuadraticsAndRange)
{
    CEdgeLoad linear;
    Fill(linear, {1, 0, 3, 0, 2, 0});
    double a, b, c;
    linear.GetABC(a, b, c);
    EXPECT_EQ(a, 1.0);
    EXPECT_EQ(b, 2.0);
    EXPECT_EQ(c, 0.0);

    CEdgeLoad peak;
    Fill(peak, {0, 0, 0, 0, 1, 0});
    peak.GetABC(a, b, c);
    EXPECT_EQ(a, 0.0);
    EXPECT_EQ(b, 4.0);
    EXPECT_EQ(c, -4.0);
    double max = -1.0, min = 1.0;
    peak.GetMaxMin(max, min);
    EXPECT_DOUBLE_EQ(max, 1.0);
    EXPECT_EQ(min, 0.0);

    // A parabola whose vertex lies outside the edge adds nothing beyond its ends:
    // values 0, 3 and mid 1.25 give p(t) = 2t + t^2 with the vertex at t = -1.
    CEdgeLoad outside;
    Fill(outside, {0, 0, 3, 0, 1.25, 0});
    max = -1.0;
    min = 1.0;
    outside.GetMaxMin(max, min);
    EXPECT_DOUBLE_EQ(max, 3.0);
    EXPECT_DOUBLE_EQ(min, 0.0);

    // Second component: D, E, F from values 1, 3, 5.
    CEdgeLoad second;
    Fill(second, {0, 2, 0, 4, 0, 3});
    second.GetDEF(a, b, c);
    EXPECT_EQ(a, 2.0);
    EXPECT_EQ(b, 2.0);
    EXPECT_EQ(c, 0.0);
}

TEST(Load, NodeLoadSizeAndPlainRange)
{
    CNodeLoad load;
    Fill(load, {1, 4, 3.0, 2000.0});
    EXPECT_DOUBLE_EQ(load.LoadSize(), 3.0);
    Fill(load, {2, 6, 1.0, 5000.0});
    EXPECT_DOUBLE_EQ(load.LoadSize(), 5.0);

    Fill(load, {-2, 7});
    double max = 0.0, min = 0.0;
    load.GetMaxMin(max, min);
    EXPECT_EQ(max, 7.0);
    EXPECT_EQ(min, -2.0);
    max = -1.0;
    min = 1.0; // empty range
    Fill(load, {4, 5});
    load.GetMaxMin(max, min);
    EXPECT_EQ(min, 4.0);
}

TEST(Load, MemberLoadAlongTheMember)
{
    CEdgeLoadEx load;
    Fill(load, {1, 2, 3, 5, 6, 7, 10, 20, 30});
    CVector v;
    load.GetLoadVectAt(0.0, v);
    EXPECT_EQ(Values(v), (std::vector<double>{10, 20, 30}));
    load.GetLoadVectAt(-1.0, v);
    EXPECT_EQ(Values(v), (std::vector<double>{1, 2, 3}));
    load.GetLoadVectAt(1.0, v);
    EXPECT_EQ(Values(v), (std::vector<double>{5, 6, 7}));

    CEdgeLoadEx lin;
    Fill(lin, {0, 0, 0, 4, 0, 0});
    lin.GetLoadVectAt(0.5, v);
    EXPECT_DOUBLE_EQ(v[0], 3.0);
    EXPECT_DOUBLE_EQ(lin.LoadSize(), 4.0);
    CEdgeLoadEx few;
    Fill(few, {1, 2});
    few.GetLoadVectAt(0.0, v);
    EXPECT_EQ(Values(v), (std::vector<double>{0, 0, 0}));

    // The segment of a linear load reproduces it; chains follow.
    auto* next = new CEdgeLoadEx;
    Fill(*next, {1, 1, 1});
    lin.m_pNext = next;
    lin.m_uiWord = 6;
    CEdgeLoad* seg = nullptr;
    lin.GetSegmentLoad(0.0, 1.0, seg);
    std::unique_ptr<CEdgeLoad> owner(seg);
    EXPECT_EQ(Values(*seg), (std::vector<double>{2, 0, 0, 4, 0, 0}));
    ASSERT_NE(seg->GetNextLoad(), nullptr);
    EXPECT_EQ(Values(*seg->GetNextLoad()), (std::vector<double>{1, 1, 1}));
    EXPECT_EQ(static_cast<CEdgeLoadEx*>(seg)->m_uiWord, 6u);

    // Node loads: the value at xi times the factor, turned by t when local.
    CMatrix t(3, 3, true, 0.0);
    t[0][1] = 1.0; // member axis along global y
    t[1][0] = -1.0;
    t[2][2] = 1.0;
    lin.SetLocal(true);
    CVector offset(2, true, 0.5);
    std::unique_ptr<CNodeLoad3D> node(lin.GetNodeLoad(1.0, 2.0, t, &offset));
    EXPECT_EQ(Values(*node), (std::vector<double>{1, 2, 3, 0, 8, 0}));
    EXPECT_EQ(Values(node->m_Ecc), (std::vector<double>{0.5, 0.5, 0}));
    ASSERT_NE(node->GetNextLoad(), nullptr);
    EXPECT_EQ(node->m_uiWord, 6u);
}

TEST(Load, CopiesKeepChainsApart)
{
    CNodeLoad3D a;
    Fill(a, {1, 5});
    a.SetLocal(true);
    a.SetID(3);
    auto* b = new CNodeLoad3D;
    Fill(*b, {2, 6});
    a.AppendNodeLoad(b);
    CNodeLoad extra;
    Fill(extra, {3, 7});
    a.AppendNodeLoad(extra);
    ASSERT_NE(b->GetNextLoad(), nullptr);

    CNodeLoad3D copy;
    copy.CopyFrom(a);
    EXPECT_TRUE(copy.IsLocal());
    EXPECT_EQ(copy.GetID(), 0);
    ASSERT_NE(copy.GetNextLoad(), nullptr);
    EXPECT_NE(copy.GetNextLoad(), b);
    ASSERT_NE(copy.GetNextLoad()->GetNextLoad(), nullptr);
    EXPECT_EQ(Values(*copy.GetNextLoad()->GetNextLoad()), (std::vector<double>{3, 7}));

    CNodeLoad plain;
    copy.CopyFrom(plain);
    EXPECT_EQ(copy.GetNextLoad(), nullptr);
}

TEST(Load, ArchiveLayoutsAndRoundTrips)
{
    CEdgeLoad edge;
    Fill(edge, {1, 2, 3, 4, 5, 6});
    edge.SetLocal(true);
    edge.SetID(9);
    edge.SetElID(12);
    const afxtest::Bytes got = afxtest::storeBytes([&](CArchive& ar) { edge.Serialize(ar); });
    const afxtest::Bytes expected = afxtest::storeBytes([&](CArchive& ar) {
        ar << static_cast<LONG>(6);
        for (double v : {1.0, 2.0, 3.0, 4.0, 5.0, 6.0})
            ar << v;
        ar << static_cast<LONG>(9) << static_cast<DWORD>(1);
    });
    EXPECT_EQ(got, expected);
    const afxtest::Bytes bytes = afxtest::storeBytes([&](CArchive& ar) { ar << static_cast<CObject*>(&edge); });
    CObject* ob = nullptr;
    afxtest::loadBytes(bytes, [&](CArchive& ar) { ar >> ob; });
    std::unique_ptr<CObject> owner(ob);
    auto* loaded = dynamic_cast<CEdgeLoad*>(ob);
    ASSERT_NE(loaded, nullptr);
    EXPECT_TRUE(loaded->IsLocal());
    EXPECT_EQ(loaded->GetID(), 9);
    EXPECT_EQ(loaded->GetElID(), 0);

    CEdgeLoadEx ex;
    Fill(ex, {1, 2, 3});
    ex.m_bProjected = true;
    ex.m_uiWord = 4;
    ex.m_pEcc = new CVector(3, true, 0.25);
    ex.m_pNext = new CEdgeLoadEx;
    const afxtest::Bytes exBytes = afxtest::storeBytes([&](CArchive& ar) { ar << static_cast<CObject*>(&ex); });
    ob = nullptr;
    afxtest::loadBytes(exBytes, [&](CArchive& ar) { ar >> ob; });
    std::unique_ptr<CObject> exOwner(ob);
    auto* exLoaded = dynamic_cast<CEdgeLoadEx*>(ob);
    ASSERT_NE(exLoaded, nullptr);
    EXPECT_TRUE(exLoaded->m_bProjected);
    EXPECT_FALSE(exLoaded->m_bFlag2);
    EXPECT_EQ(exLoaded->m_uiWord, 4u);
    ASSERT_NE(exLoaded->m_pEcc, nullptr);
    EXPECT_EQ((*exLoaded->m_pEcc)[2], 0.25);
    EXPECT_NE(exLoaded->GetNextLoad(), nullptr);
}

TEST(Load, NodeLoad3DSchemas)
{
    CNodeLoad3D load;
    Fill(load, {1, 10});
    Fill(load.m_Ecc, {1, 2, 3});
    load.m_uiWord = 5;
    load.m_lFlag = 1;
    load.m_uiWord2 = 8;
    auto* next = new CNodeLoad3D;
    Fill(*next, {2, 20});
    load.m_pNext = next;
    const afxtest::Bytes bytes = afxtest::storeBytes([&](CArchive& ar) { ar << static_cast<CObject*>(&load); });
    CObject* ob = nullptr;
    afxtest::loadBytes(bytes, [&](CArchive& ar) { ar >> ob; });
    std::unique_ptr<CObject> owner(ob);
    auto* loaded = dynamic_cast<CNodeLoad3D*>(ob);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(Values(loaded->m_Ecc), (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(loaded->m_uiWord, 5u);
    EXPECT_EQ(loaded->m_lFlag, 1);
    EXPECT_EQ(loaded->m_uiWord2, 8u);
    ASSERT_NE(loaded->GetNextLoad(), nullptr);
    EXPECT_EQ(Values(*loaded->GetNextLoad()), (std::vector<double>{2, 20}));

    // Older files: a matrix where the eccentricity stands now.
    for (UINT schema : {1u, 2u}) {
        CMatrix old(2, 2, true, 1.0);
        const afxtest::Bytes body = afxtest::storeBytes([&](CArchive& ar) {
            ar << static_cast<LONG>(2) << 1.0 << 10.0 << static_cast<LONG>(0) << static_cast<DWORD>(0);
            old.Serialize(ar);
            ar << static_cast<DWORD>(7);
            if (schema == 2)
                ar << static_cast<LONG>(1) << static_cast<DWORD>(9);
            ar << static_cast<CObject*>(nullptr);
        });
        CNodeLoad3D target;
        afxtest::loadBytes(body, [&](CArchive& ar) {
            ar.SetObjectSchema(schema);
            target.Serialize(ar);
        });
        EXPECT_EQ(target.m_Ecc.GetSize(), 0);
        EXPECT_EQ(target.m_uiWord, 7u);
        EXPECT_EQ(target.m_uiWord2, schema == 2 ? 9u : 0u);
        EXPECT_EQ(target.GetNextLoad(), nullptr);
    }
}
