// Cross-section component: the numbered parameter interface, reference
// coordinates, forces, materials, archive, copy and the transforms.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/ferrand/material.h"
#include "sections/kantaro.h"
#include "tests/support/temp_files.h"

namespace
{

using Bytes = std::string;

// A cross-section with nothing but the component's own behaviour: the
// operations that only shapes give a meaning are empty.
class TestSection : public CCrSectComp
{
public:
    // Axis origin at (ox, oy), x axis at the given angle, shear node at
    // (sx, sy).
    void MakeReference(double ox, double oy, double angle, double sx, double sy)
    {
        auto* origin = new CSNode(ox, oy, 0.0, nullptr, 0);
        auto* xNode = new CSNode(ox + std::cos(angle), oy + std::sin(angle), 0.0, nullptr, 0);
        auto* zNode = new CSNode(ox, oy, 1.0, nullptr, 0);
        m_pAxis = new CAxis(origin, xNode, zNode);
        m_pShearNode = new CSNode(sx, sy, 0.0, nullptr, 0);
    }
    void SetPrincipalAngle(double a) { m_dPrincAngle = a; }
    void DropAxis()
    {
        delete m_pAxis;
        m_pAxis = nullptr;
    }
    void DropShearNode()
    {
        delete m_pShearNode;
        m_pShearNode = nullptr;
    }

    void RemoveNode(CSNode*) override {}
    void PickDrawResGL(int, bool) override {}
    bool PreCalc(CStringArray*, CStringArray*, int) override { return false; }
    bool Calculate(CStringArray*, CStringArray*) override { return false; }
    void DrawResGL(unsigned) override {}
    void DrawBeamGL(COGLDrawCommand*, CVector&, CVector&, CMatrix&, CMatrix&, bool, bool,
                    bool) override
    {
    }
    void ColorPlotBeamGL(COGLDrawCommand*, CVector&, CVector&, CMatrix&, CMatrix&, bool, bool, bool,
                         double*, double*) override
    {
    }
    bool GetMaxMinActStress(double&, double&) override { return false; }
    void GetModelInfo(int*) override {}
};

constexpr double E = 210000.0;
constexpr double G = 81000.0;

CMaterial* Steel(bool base = true)
{
    auto* m = new CMaterial("Steel", 7.85e-9, E, G, 0.3, 1.2e-5);
    if (base)
        m->SetFlag(CMaterial::kBaseMaterialBit);
    return m;
}

// The section of the parameter table: every stored value set, axis origin
// at (3, 4) along the global axes, shear centre at (5, 7), first tables
// giving m = 4 for index 37 and m = 0 for index 38.
void FillSection(TestSection& s)
{
    s.MakeReference(3.0, 4.0, 0.0, 5.0, 7.0);
    s.SetPrincipalAngle(0.25);
    const std::pair<unsigned, double> stored[] = {
        {0, 100.0},  {3, 7.85e-4}, {9, 1.2},    {10, 1.3},  {21, 2.1e7}, {22, 4.2e8}, {23, 8.4e8},
        {24, 2.1e5}, {25, 4.2e5},  {26, 6.3e5}, {27, 11.0}, {28, 12.0},  {29, 8.1e6}, {30, 14.0}};
    for (auto [i, v] : stored)
        s.SetParam(i, v);
    s.SetTableValue(0, 1, -4.0);
    s.SetTableValue(1, 1, 2.0);
}

TEST(CrSectComp, ParameterTableOverAllIndices)
{
    struct Row {
        unsigned index;
        double get;       // GetParam before any change
        double setReturn; // what SetParam gives back
        bool stores;      // GetParam afterwards is the value set
    };
    const double sq20 = 4.47213595499958, sq40 = 6.324555320336759;
    const Row rows[] = {
        {0, 100.0, 100.0, true},     {1, 100.0, 0.0, false},   {2, 7.700850e-3, 0.0, false},
        {3, 7.85e-4, 7.85e-4, true}, {4, 2000.0, 0.0, false},  {5, 4000.0, 0.0, false},
        {6, 100.0, 0.0, false},      {7, 0.0, 0.0, false},     {8, 6000.0, 6000.0, false},
        {9, 1.2, 1.2, true},         {10, 1.3, 1.3, true},     {11, 2.0, 2.0, true},
        {12, 3.0, 3.0, true},        {13, 3.0, 3.0, true},     {14, 4.0, 4.0, true},
        {15, 5.0, 5.0, true},        {16, 7.0, 7.0, true},     {17, 0.25, 0.25, false},
        {18, 1.0, 0.0, false},       {19, 2.0, 0.0, false},    {20, 3.0, 0.0, false},
        {21, 2.1e7, 2.1e7, true},    {22, 4.2e8, 4.2e8, true}, {23, 8.4e8, 8.4e8, true},
        {24, 2.1e5, 2.1e5, true},    {25, 4.2e5, 4.2e5, true}, {26, 6.3e5, 6.3e5, true},
        {27, 11.0, 11.0, true},      {28, 12.0, 12.0, true},   {29, 8.1e6, 8.1e6, true},
        {30, 14.0, 14.0, true},      {31, 0.0, 0.0, false},    {32, 0.0, 0.0, false},
        {33, E, 0.0, false},         {34, G, 0.0, false},      {35, sq20, sq20, false},
        {36, sq40, sq40, false},     {37, 0.25, 0.25, false},  {38, 0.0, 0.0, false},
        {39, 0.0, 0.0, false},       {40, 0.0, 0.0, false},
    };
    std::unique_ptr<CMaterial> steel(Steel());
    for (const Row& row : rows) {
        SCOPED_TRACE("index " + std::to_string(row.index));
        TestSection s;
        s.AddMaterial(steel.get());
        FillSection(s);
        EXPECT_NEAR(s.GetParam(row.index), row.get, 1e-12 * std::max(1.0, std::fabs(row.get)));
        std::vector<double> before;
        for (unsigned i = 0; i <= 40; ++i)
            before.push_back(s.GetParam(i));
        const double value = 12.5;
        EXPECT_NEAR(s.SetParam(row.index, value), row.setReturn,
                    1e-12 * std::max(1.0, std::fabs(row.setReturn)));
        if (row.stores) {
            EXPECT_NEAR(s.GetParam(row.index), value, 1e-12);
        } else {
            for (unsigned i = 0; i <= 40; ++i)
                EXPECT_EQ(s.GetParam(i), before[i]) << "index " << i << " changed";
        }
    }
}

TEST(CrSectComp, MaterialBasedParametersAtTheirEdges)
{
    // A shear modulus of exactly 0 stands for E / (2 (1 + nu)).
    std::unique_ptr<CMaterial> noShear(Steel());
    noShear->SetModOfShear(0.0);
    TestSection s;
    s.AddMaterial(noShear.get());
    s.SetParam(29, 8.0769230769230769e6);
    EXPECT_NEAR(s.GetParam(6), 100.0, 1e-9);
    EXPECT_EQ(s.GetParam(34), 0.0);

    // Stored value 26 below 1e-5 of the larger of 24 and 25 counts as 0;
    // just above it, it counts.
    s.SetParam(24, 1.0);
    s.SetParam(25, 0.5);
    s.SetParam(26, 1e-6);
    EXPECT_EQ(s.GetParam(20), 0.0);
    s.SetParam(26, 2e-5);
    EXPECT_NEAR(s.GetParam(20), 2e-5 / E, 1e-20);

    // A base material of modulus 0 gives 0, not infinities, like a
    // missing one.
    std::unique_ptr<CMaterial> soft(Steel());
    soft->SetModOfElast(0.0);
    soft->SetModOfShear(0.0);
    TestSection z;
    z.AddMaterial(soft.get());
    FillSection(z);
    for (unsigned i : {1u, 4u, 5u, 6u, 8u, 18u, 19u, 20u, 33u, 34u, 35u, 36u})
        EXPECT_EQ(z.GetParam(i), 0.0) << i;

    // No division by a zero area or a zero table maximum.
    s.SetParam(22, 1.0e6);
    s.SetParam(23, 1.0e6);
    for (unsigned i : {35u, 36u, 37u, 38u}) {
        EXPECT_EQ(s.GetParam(i), 0.0) << i;
        EXPECT_EQ(s.SetParam(i, 5.0), 0.0) << i;
    }
}

TEST(CrSectComp, WithoutBaseMaterialEveryModulusBasedIndexIsZero)
{
    std::unique_ptr<CMaterial> plain(Steel(false));
    TestSection s;
    s.AddMaterial(plain.get());
    FillSection(s);
    EXPECT_EQ(s.GetBaseMat(), nullptr);
    for (unsigned i : {1u, 4u, 5u, 6u, 8u, 18u, 19u, 20u, 33u, 34u, 35u, 36u})
        EXPECT_EQ(s.GetParam(i), 0.0) << i;
    // Stored and geometric values stay.
    EXPECT_EQ(s.GetParam(0), 100.0);
    EXPECT_EQ(s.GetParam(3), 7.85e-4);
    EXPECT_EQ(s.GetParam(22), 4.2e8);
}

TEST(CrSectComp, BaseMaterialIsTheFirstFlaggedOneForTheComponentTheFirstForShapes)
{
    std::unique_ptr<CMaterial> first(Steel(false)), second(Steel(true)), third(Steel(true));
    TestSection s;
    CObList list;
    for (CMaterial* m : {first.get(), second.get(), third.get()})
        list.AddTail(m);
    s.AddMaterial(&list);
    EXPECT_EQ(s.GetBaseMat(), second.get());

    CCrSectRect rect(1.0, 1.0);
    EXPECT_EQ(rect.GetBaseMat(), nullptr);
    rect.AddMaterial(&list);
    EXPECT_EQ(rect.GetBaseMat(), first.get());
}

TEST(CrSectComp, ReferenceCoordinates)
{
    // Axis at (1, 1) turned by 30 degrees; shear centre at (2, 3).
    const double c = std::cos(M_PI / 6.0), sn = 0.5;
    TestSection s;
    for (unsigned i = 0; i <= 6; ++i)
        EXPECT_EQ(s.GetCoord(i), 0.0) << "no reference points";
    s.MakeReference(1.0, 1.0, M_PI / 6.0, 2.0, 3.0);
    EXPECT_DOUBLE_EQ(s.GetCoord(0), 1.0);
    EXPECT_DOUBLE_EQ(s.GetCoord(1), 1.0);
    EXPECT_DOUBLE_EQ(s.GetCoord(2), 2.0);
    EXPECT_DOUBLE_EQ(s.GetCoord(3), 3.0);
    EXPECT_NEAR(s.GetCoord(4), 1.8660254037844386, 1e-12);
    EXPECT_NEAR(s.GetCoord(5), 1.2320508075688772, 1e-12);
    EXPECT_EQ(s.GetCoord(6), 0.0);

    // 11: local x becomes 5 at the present local y; only the global x of
    // the node is set (the local y follows it on turned axes).
    EXPECT_NEAR(s.SetParam(11, 5.0), 1.8660254037844386, 1e-12);
    EXPECT_NEAR(s.GetShearNode()->x, 1.0 + 5.0 * c - 1.2320508075688772 * sn, 1e-12);
    EXPECT_DOUBLE_EQ(s.GetShearNode()->y, 3.0);

    // 13 and 14 move axis and shear node together.
    const double sx = s.GetShearNode()->x;
    EXPECT_DOUBLE_EQ(s.SetParam(13, 10.0), 1.0);
    EXPECT_DOUBLE_EQ(s.SetParam(14, -2.0), 1.0);
    EXPECT_DOUBLE_EQ(s.GetCoord(0), 10.0);
    EXPECT_DOUBLE_EQ(s.GetCoord(1), -2.0);
    EXPECT_NEAR(s.GetShearNode()->x, sx + 9.0, 1e-12);
    EXPECT_NEAR(s.GetShearNode()->y, 0.0, 1e-12);
    EXPECT_NEAR(s.GetAxis()->GetXNode()->x, 10.0 + c, 1e-12);
}

TEST(CrSectComp, CentresWithoutAxisOrShearNode)
{
    // Without an axis 11 and 12 take the value itself, and 13 and 14 move
    // the shear node from a centre of gravity at 0.
    TestSection s;
    s.MakeReference(0.0, 0.0, 0.0, 2.0, 3.0);
    s.DropAxis();
    EXPECT_EQ(s.SetParam(11, 6.0), 0.0);
    EXPECT_EQ(s.SetParam(12, 7.0), 0.0);
    EXPECT_EQ(s.GetCoord(2), 6.0);
    EXPECT_EQ(s.GetCoord(3), 7.0);
    EXPECT_EQ(s.SetParam(13, 1.5), 0.0);
    EXPECT_EQ(s.GetCoord(2), 7.5);

    // Without a shear node 11, 12, 15 and 16 store nothing; 13 still moves
    // the axis.
    TestSection t;
    t.MakeReference(1.0, 1.0, 0.0, 2.0, 3.0);
    t.DropShearNode();
    for (unsigned i : {11u, 12u, 15u, 16u})
        EXPECT_EQ(t.SetParam(i, 9.0), 0.0) << i;
    EXPECT_EQ(t.GetShearNode(), nullptr);
    EXPECT_EQ(t.SetParam(13, 4.0), 1.0);
    EXPECT_EQ(t.GetCoord(0), 4.0);
}

TEST(CrSectComp, CoordinatesBelowTheExtentToleranceAreZero)
{
    // A rectangle 100 wide and 50 high: tolerances 1e-10 in x, 5e-11 in y.
    CCrSectRect rect(50.0, 100.0);
    rect.GetAxis()->GetOrigin()->x = 1e-20;
    rect.GetShearNode()->y = 4e-11;
    EXPECT_EQ(rect.GetCoord(0), 0.0);
    EXPECT_EQ(rect.GetCoord(3), 0.0);
    EXPECT_EQ(rect.GetCoord(5), 0.0);
    rect.GetAxis()->GetOrigin()->x = 2e-10;
    rect.GetShearNode()->y = 6e-11;
    EXPECT_EQ(rect.GetCoord(0), 2e-10);
    EXPECT_EQ(rect.GetCoord(3), 6e-11);
    EXPECT_NEAR(rect.GetCoord(4), -2e-10, 1e-25);
}

TEST(CrSectComp, Forces)
{
    TestSection s;
    const double defaults[] = {1000, 1e6, 1e6, 1000, 1000, 1e6, 1e6, 1e9};
    for (unsigned i = 0; i < 8; ++i)
        EXPECT_EQ(s.GetForce(i), defaults[i]) << i;
    s.SetForce(7, 5.0);
    s.SetForce(8, 6.0);
    EXPECT_EQ(s.GetForce(7), 5.0);
    EXPECT_EQ(s.GetForce(8), 0.0);
    EXPECT_EQ(s.GetForce(100), 0.0);
}

TEST(CrSectComp, ReplaceMaterialAndLookUpByName)
{
    std::unique_ptr<CMaterial> a(Steel()), b(Steel(false)), c(Steel(false));
    a->SetName("A");
    b->SetName("B");
    c->SetName("Region");
    TestSection s;
    s.SetName("Section");
    auto* region = new CSectArea;
    region->SetName("Region");
    region->SetMaterial(a.get());
    s.AddTail(region);
    s.AddMaterial(a.get());
    s.AddMaterial(b.get());
    s.AddMaterial(static_cast<CMaterial*>(nullptr));
    EXPECT_EQ(s.GetMaterialList()->GetCount(), 2);

    s.ReplaceMaterial(a.get(), c.get());
    CObList* list = s.GetMaterialList();
    ASSERT_EQ(list->GetCount(), 2);
    EXPECT_EQ(list->GetHead(), c.get());
    EXPECT_EQ(list->GetTail(), b.get());
    EXPECT_EQ(region->GetMaterial(), c.get());
    s.ReplaceMaterial(b.get(), nullptr);
    ASSERT_EQ(list->GetCount(), 1);

    // The section itself, then materials, then regions.
    EXPECT_EQ(s.GetObjectFromString("Section"), &s);
    EXPECT_EQ(s.GetObjectFromString("Region"), c.get());
    s.ReplaceMaterial(c.get(), a.get());
    EXPECT_EQ(s.GetObjectFromString("Region"), region);
    EXPECT_EQ(s.GetObjectFromString("nothing"), nullptr);
    s.SetName("A");
    EXPECT_EQ(s.GetObjectFromString("A"), &s);
}

TEST(CrSectComp, CopyTakesPropertiesAndMaterialsNotTablesOrReferencePoints)
{
    std::unique_ptr<CMaterial> steel(Steel());
    TestSection src;
    src.AddMaterial(steel.get());
    FillSection(src);
    src.SetFlag(false);
    src.SetAxisColor(0.1, 0.2, 0.3);
    src.SetForce(2, 77.0);

    TestSection plain;
    CSectComp* target = &plain;
    src.Copy(target, false);
    EXPECT_EQ(plain.GetMaterialList()->GetHead(), steel.get());
    EXPECT_FALSE(plain.GetFlag());
    EXPECT_EQ(plain.GetPrincipalAngle(), 0.25);
    for (int i = 0; i < CCrSectComp::kPropCount; ++i)
        EXPECT_EQ(plain.GetProp(i), src.GetProp(i)) << i;
    EXPECT_EQ(plain.GetParam(0), 100.0);
    EXPECT_EQ(plain.GetAxisColor()[2], 0.3);
    EXPECT_EQ(plain.GetForce(2), 77.0);
    EXPECT_EQ(plain.GetTableValue(0, 1), 0.0);
    EXPECT_EQ(plain.GetAxis(), nullptr);
    EXPECT_EQ(plain.GetShearNode(), nullptr);

    // With copies the target's materials are its own.
    TestSection deep;
    target = &deep;
    src.Copy(target, true);
    ASSERT_EQ(deep.GetMaterialList()->GetCount(), 1);
    auto* copy = static_cast<CMaterial*>(deep.GetMaterialList()->GetHead());
    EXPECT_NE(copy, steel.get());
    EXPECT_EQ(copy->GetName(), "Steel");
    EXPECT_EQ(src.GetMaterialList()->GetHead(), steel.get());
    delete copy;

    CSectComp* none = nullptr;
    src.Copy(none, true);
    EXPECT_EQ(none, nullptr);

    // A shape copies nothing.
    CCrSectRect a(2.0, 3.0), b(4.0, 5.0);
    a.AddMaterial(steel.get());
    a.SetParam(22, 9.0);
    target = &b;
    a.Copy(target, false);
    EXPECT_TRUE(b.GetMaterialList()->IsEmpty());
    EXPECT_EQ(b.GetProp(CCrSectComp::kEIy), 0.0);
}

TEST(CrSectComp, ResetParamClearsPropertiesAndReferencePoints)
{
    TestSection s;
    FillSection(s);
    s.ResetParam();
    EXPECT_EQ(s.GetPrincipalAngle(), 0.0);
    for (int i = 0; i < CCrSectComp::kPropCount; ++i)
        EXPECT_EQ(s.GetProp(i), 0.0) << i;
    EXPECT_EQ(s.GetAxis(), nullptr);
    EXPECT_EQ(s.GetShearNode(), nullptr);
    EXPECT_EQ(s.GetParam(0), 100.0) << "the area stays";
}

TEST(CrSectComp, TranslateMovesReferencePointsAndAccumulatesShapeOffsets)
{
    CCrSectRect rect(2.0, 4.0);
    rect.Translate(1.0, 2.0, 0.0);
    rect.Translate(0.5, -1.0, 3.0);
    EXPECT_EQ(rect.GetOffsetX(), 1.5);
    EXPECT_EQ(rect.GetOffsetY(), 1.0);
    EXPECT_EQ(rect.GetCoord(0), 1.5);
    EXPECT_EQ(rect.GetCoord(1), 1.0);
    EXPECT_EQ(rect.GetShearNode()->x, 1.5);
    EXPECT_EQ(rect.GetShearNode()->z, 3.0);
    EXPECT_EQ(rect.GetAxis()->GetXNode()->x, 5.5);
}

TEST(CrSectComp, RotateTurnsReferencePointsThroughATemporaryGraph)
{
    TestSection s;
    s.MakeReference(0.0, 0.0, 0.0, 1.0, 0.0);
    s.SetPrincipalAngle(0.25);
    const DWORD graphs = CGraph::lIDGraph;
    s.Rotate(M_PI / 2.0, 0.0, 0.0, 2, false);
    EXPECT_EQ(CGraph::lIDGraph, graphs);
    EXPECT_NEAR(s.GetPrincipalAngle(), 0.25 + M_PI / 2.0, 1e-15);
    CSNode* nodes[] = {s.GetShearNode(), s.GetAxis()->GetOrigin(), s.GetAxis()->GetXNode(),
                       s.GetAxis()->GetZNode()};
    for (CSNode* n : nodes)
        EXPECT_EQ(n->GetGraphCount(), 0);
    EXPECT_NEAR(s.GetShearNode()->x, 0.0, 1e-12);
    EXPECT_NEAR(s.GetShearNode()->y, 1.0, 1e-12);
    EXPECT_NEAR(s.GetAxis()->GetXNode()->y, 1.0, 1e-12);

    // Without an axis the shear node turns, the angle stays.
    s.DropAxis();
    s.Rotate(M_PI / 2.0, 0.0, 0.0, 2, false);
    EXPECT_NEAR(s.GetShearNode()->x, -1.0, 1e-12);
    EXPECT_NEAR(s.GetPrincipalAngle(), 0.25 + M_PI / 2.0, 1e-15);

    // A shape does not turn.
    CCrSectRect rect(1.0, 2.0);
    rect.GetShearNode()->x = 1.0;
    rect.Rotate(M_PI / 2.0, 0.0, 0.0, 2, false);
    EXPECT_EQ(rect.GetShearNode()->x, 1.0);
    EXPECT_EQ(rect.GetPrincipalAngle(), 0.0);
}

// ------------------------------------------------------------ archive

Bytes W(WORD w)
{
    return Bytes(reinterpret_cast<const char*>(&w), 2);
}
Bytes D(LONG d)
{
    return Bytes(reinterpret_cast<const char*>(&d), 4);
}
Bytes F(double v)
{
    return Bytes(reinterpret_cast<const char*>(&v), 8);
}

Bytes Store(CObject* object)
{
    return brantel::test::storeBytes<Bytes>([&](CArchive& ar) { ar << object; });
}

// The section read back; its materials go into materials.
std::unique_ptr<CCrSectComp> Load(const Bytes& bytes)
{
    CObject* ob = nullptr;
    brantel::test::loadBytes(bytes,
                             [&](CArchive& ar) { ob = ar.ReadObject(RUNTIME_CLASS(CCrSectComp)); });
    return std::unique_ptr<CCrSectComp>(static_cast<CCrSectComp*>(ob));
}

TEST(CrSectCompArchive, SchemasAndAbstractClasses)
{
    EXPECT_EQ(RUNTIME_CLASS(CCrSectComp)->m_wSchema, VERSIONABLE_SCHEMA | 0u);
    EXPECT_EQ(RUNTIME_CLASS(CCrSectFixedGeom)->m_wSchema, VERSIONABLE_SCHEMA | 0u);
    EXPECT_EQ(RUNTIME_CLASS(CCrSectComp)->CreateObject(), nullptr);
    EXPECT_EQ(RUNTIME_CLASS(CCrSectFixedGeom)->CreateObject(), nullptr);
    for (CRuntimeClass* c : {RUNTIME_CLASS(CCrSectRect), RUNTIME_CLASS(CCrSectCirc),
                             RUNTIME_CLASS(CCrSectTube), RUNTIME_CLASS(CCrSectUsrDef)}) {
        EXPECT_EQ(c->m_wSchema, VERSIONABLE_SCHEMA | 1u) << c->m_lpszClassName;
        std::unique_ptr<CObject> made(c->CreateObject());
        ASSERT_TRUE(made) << c->m_lpszClassName;
        EXPECT_TRUE(made->IsKindOf(RUNTIME_CLASS(CCrSectFixedGeom)));
    }
    EXPECT_TRUE(RUNTIME_CLASS(CCrSectTube)->IsDerivedFrom(RUNTIME_CLASS(CCrSectCirc)));
}

// Bytes of a rectangle 10 high and 20 wide with distinct stored values,
// written by its Serialize alone.
TEST(CrSectCompArchive, RectangleFieldsByteForByte)
{
    CCrSectRect rect(10.0, 20.0);
    for (unsigned i = 21; i <= 30; ++i)
        rect.SetParam(i, 100.0 + i);
    rect.SetParam(9, 1.5);
    rect.SetParam(10, 1.6);
    rect.SetParam(3, 0.7);
    rect.CCrSectComp::Rotate(0.5, 0.0, 0.0, 2, false);
    rect.CalcArea();
    for (int j = 0; j < 15; ++j) {
        rect.SetTableValue(0, j, j + 0.25);
        rect.SetTableValue(1, j, -j - 0.5);
    }
    rect.Translate(3.0, 4.0, 0.0);
    const Bytes bytes = brantel::test::storeBytes<Bytes>([&](CArchive& ar) { rect.Serialize(ar); });

    const Bytes head = W(0) + W(0) + W(0) + F(1.0) + D(0) + Bytes(1, char(13)) + "Cross section" +
                       W(0) + W(0xFFFF) + W(1) + W(5) + "CAxis";
    ASSERT_GT(bytes.size(), head.size());
    EXPECT_EQ(bytes.substr(0, head.size()), head);

    Bytes tail;
    const double props[] = {121, 122, 123, 124, 125, 126, 127, 128, 129, 130, 1.5, 1.6, 0, 0.7};
    for (double v : props)
        tail += F(v);
    tail += F(0.5) + D(1) + D(-10) + F(200.0);
    for (double v : {1000.0, 1e6, 1e6, 1000.0, 1000.0, 1e6, 1e6, 1e9})
        tail += F(v);
    for (int j = 0; j < 15; ++j)
        tail += F(j + 0.25) + F(-j - 0.5);
    tail += F(10.0) + F(20.0) + F(3.0) + F(4.0);
    ASSERT_GT(bytes.size(), head.size() + tail.size());
    EXPECT_EQ(bytes.substr(bytes.size() - tail.size()), tail);
}

TEST(CrSectCompArchive, RoundTripOfEveryShape)
{
    std::unique_ptr<CMaterial> steel(Steel(false));
    std::vector<std::unique_ptr<CCrSectFixedGeom>> shapes;
    shapes.emplace_back(new CCrSectRect(10.0, 20.0));
    shapes.emplace_back(new CCrSectCirc(3.0));
    shapes.emplace_back(new CCrSectTube(3.0, 0.5));
    shapes.emplace_back(new CCrSectUsrDef(4.0));
    for (auto& shape : shapes) {
        SCOPED_TRACE(shape->GetRuntimeClass()->m_lpszClassName);
        shape->AddMaterial(steel.get());
        shape->SetName("Profile");
        shape->Translate(1.0, 2.0, 0.0);
        shape->SetParam(24, 3.5);
        shape->SetTableValue(1, 2, 4.0);
        shape->GetShearNode()->SetID(77);
        shape->GetAxis()->GetOrigin()->SetID(78);

        std::unique_ptr<CCrSectComp> back = Load(Store(shape.get()));
        ASSERT_TRUE(back);
        ASSERT_EQ(back->GetRuntimeClass(), shape->GetRuntimeClass());
        auto* loaded = static_cast<CCrSectFixedGeom*>(back.get());
        EXPECT_EQ(loaded->GetName(), "Profile");
        EXPECT_EQ(loaded->GetOffsetX(), 1.0);
        EXPECT_EQ(loaded->GetOffsetY(), 2.0);
        double a[4], b[4];
        shape->GetMaxMinCoord(a[0], a[1], a[2], a[3]);
        loaded->GetMaxMinCoord(b[0], b[1], b[2], b[3]);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(a[i], b[i]);
        EXPECT_EQ(loaded->GetProp(CCrSectComp::kS24), 3.5);
        EXPECT_EQ(loaded->GetTableValue(1, 2), 4.0);
        EXPECT_EQ(loaded->GetShearNode()->GetID(), CCrSectComp::kShearNodeID);
        EXPECT_EQ(loaded->GetAxis()->GetOrigin()->GetID(), CCrSectComp::kOriginID);
        EXPECT_EQ(loaded->GetCoord(0), 1.0);
        EXPECT_EQ(loaded->GetCoord(3), 2.0);
        ASSERT_EQ(loaded->GetMaterialList()->GetCount(), 1);
        auto* material = static_cast<CMaterial*>(loaded->GetMaterialList()->GetHead());
        EXPECT_EQ(material->GetName(), "Steel");
        for (unsigned i = 0; i <= 40; ++i)
            EXPECT_EQ(loaded->GetParam(i), shape->GetParam(i)) << i;
        if (shape->IsKindOf(RUNTIME_CLASS(CCrSectTube))) {
            EXPECT_EQ(static_cast<CCrSectTube*>(loaded)->GetThick(), 0.5);
        }
        // The section first, then the material it does not own.
        back.reset();
        delete material;
    }
}

TEST(CrSectCompArchive, UserDefinedShapeKeepsSizeAndStoredValues)
{
    CCrSectUsrDef shape(2.5);
    const unsigned stored[] = {0, 3, 9, 10, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30};
    for (unsigned i : stored)
        shape.SetParam(i, 10.0 + i);
    std::unique_ptr<CCrSectComp> back = Load(Store(&shape));
    ASSERT_TRUE(back);
    auto* loaded = static_cast<CCrSectUsrDef*>(back.get());
    EXPECT_EQ(loaded->GetSize(), 2.5);
    for (unsigned i : stored)
        EXPECT_EQ(loaded->GetParam(i), 10.0 + i) << i;
    EXPECT_EQ(CCrSectUsrDef().GetSize(), 1.0);
}

TEST(CrSectCompArchive, FlagIsTrueOnlyForOne)
{
    CCrSectCirc circ(1.0);
    Bytes bytes = Store(&circ);
    // From the end: radius and offsets (3 doubles), tables (30), forces
    // (8), area, setting, then the flag.
    const std::size_t flagAt = bytes.size() - (3 + 30 + 8 + 1) * 8 - 4 - 4;
    ASSERT_EQ(bytes.substr(flagAt, 8), D(1) + D(-10));
    for (auto [stored, expected] : {std::pair<LONG, bool>{2, false}, {0, false}, {1, true}}) {
        Bytes patched = bytes;
        patched.replace(flagAt, 4, D(stored));
        std::unique_ptr<CCrSectComp> back = Load(patched);
        ASSERT_TRUE(back);
        EXPECT_EQ(back->GetFlag(), expected) << stored;
    }
}

TEST(CrSectCompArchive, ForeignObjectInTheRegionListIsRefused)
{
    // The region list of a circle holds a material.
    CCrSectCirc circ(1.0);
    CMaterial* steel = Steel();
    circ.CObList::AddTail(steel);
    const Bytes bytes = Store(&circ);
    circ.CObList::RemoveAll();
    delete steel;

    bool thrown = false;
    brantel::test::loadBytes(bytes, [&](CArchive& ar) {
        try {
            ar.ReadObject(RUNTIME_CLASS(CCrSectComp));
        } catch (CArchiveException& e) {
            thrown = e.m_cause == CArchiveException::badClass;
        }
        // The section alone: the material is refused by its class before
        // it is made.
        std::vector<CObject*> created = ar.GetCreatedObjects();
        ASSERT_EQ(created.size(), 1u);
        EXPECT_TRUE(static_cast<CCrSectComp*>(created[0])->IsEmpty());
        ar.DeleteCreatedObjects();
    });
    EXPECT_TRUE(thrown);
}

// A rectangle whose auxiliary object can be set, archived as a rectangle.
class AuxRect : public CCrSectRect
{
public:
    using CCrSectRect::CCrSectRect;
    void SetAux(CObject* object) { m_pAuxObject = object; }
};

TEST(CrSectCompArchive, AuxiliaryObjectSharedWithTheAxisIsRefused)
{
    // The file names the axis twice: as auxiliary object and as axis. The
    // section would delete it twice; the owned read of the axis refuses
    // the back-reference instead.
    AuxRect rect(1.0, 2.0);
    rect.SetAux(rect.GetAxis());
    const Bytes bytes = Store(&rect);
    rect.SetAux(nullptr);

    int cause = CArchiveException::none;
    brantel::test::loadBytes(bytes, [&](CArchive& ar) {
        try {
            ar.ReadObject(RUNTIME_CLASS(CCrSectComp));
        } catch (CArchiveException& e) {
            cause = e.m_cause;
        }
        // The section holds the axis once, as its auxiliary object.
        std::vector<CObject*> created = ar.GetCreatedObjects();
        ASSERT_FALSE(created.empty());
        auto* loaded = static_cast<CCrSectComp*>(created[0]);
        EXPECT_TRUE(loaded->GetAuxObject() && loaded->GetAuxObject()->IsKindOf(RUNTIME_CLASS(CAxis)));
        EXPECT_EQ(loaded->GetAxis(), nullptr);
        ar.DeleteCreatedObjects();
    });
    EXPECT_EQ(cause, CArchiveException::badIndex);
}

} // namespace
