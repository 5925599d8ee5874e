// The solver input blocks: element layouts, standard supports, material
// numbering, boundary-condition and load arrays, key data, volume force.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "app/analysis/analysis.h"
#include "femodel/strelna.h"
#include "platform/ferrand/ferrand.h"
#include "tests/analysis/plate_model.h"

namespace {

using Rows = std::vector<std::vector<double>>;

Rows RowsOf(const CMatrix& m)
{
    Rows r;
    for (int i = 0; i < m.GetRows(); ++i)
        r.emplace_back(m[i], m[i] + m.GetColumns());
    return r;
}

Rows RowsOf(const CLongMatrix& m)
{
    Rows r;
    for (int i = 0; i < m.GetRows(); ++i)
        r.emplace_back(m[i], m[i] + m.GetColumns());
    return r;
}

// Conditions and loads owned by the test; the lists hold pointers.
struct Model {
    std::vector<std::unique_ptr<CBoundCond>> conditions;
    std::vector<std::unique_ptr<CLoad>> loads;
    CObList conditionList;
    CObList nodeLoads, edgeLoads;

    CBoundCond* Cond(long id, unsigned type, std::vector<std::pair<int, double>> entries = {}, double angle = 0.0)
    {
        auto bc = std::make_unique<CBoundCond>();
        bc->SetType(type);
        bc->SetAngle(angle);
        if (!entries.empty()) {
            CVector v = analysistest::DofValues(entries);
            bc->SetBC(v);
        }
        bc->SetID(id);
        conditionList.AddTail(bc.get());
        conditions.push_back(std::move(bc));
        return conditions.back().get();
    }
    void NodeLoad(long node, std::vector<double> v, bool local = false)
    {
        auto l = std::make_unique<CNodeLoad>();
        Fill(*l, v);
        l->SetID(node);
        l->SetLocal(local);
        nodeLoads.AddTail(l.get());
        loads.push_back(std::move(l));
    }
    void EdgeLoad(long element, long id, std::vector<double> v, bool local = false)
    {
        auto l = std::make_unique<CEdgeLoad>();
        Fill(*l, v);
        l->SetElID(element);
        l->SetID(id);
        l->SetLocal(local);
        edgeLoads.AddTail(l.get());
        loads.push_back(std::move(l));
    }
    static void Fill(CVector& out, const std::vector<double>& v)
    {
        out.Allocate(static_cast<int>(v.size()), true, 0.0);
        for (std::size_t i = 0; i < v.size(); ++i)
            out[static_cast<int>(i)] = v[i];
    }
};

struct BoundaryResult {
    int result = 0;
    CMatrix nodes;
    CLongMatrix suppressed;
    CMatrix prescribed, couplings, springs;
};

BoundaryResult Build(int code, Model& model, const CLongMatrix& topology, int nodes)
{
    BoundaryResult r;
    r.nodes.Allocate(nodes, 4, true, 0.0);
    CObList selected, links;
    SelectConditions(model.conditionList, 0, selected);
    r.result = FillBoundaryArrays(code, selected, links, topology, r.nodes, r.suppressed, r.prescribed, r.couplings,
                                  r.springs);
    return r;
}

CLongMatrix Topology(std::vector<std::vector<LONG>> rows)
{
    CLongMatrix t;
    t.Allocate(static_cast<int>(rows.size()), static_cast<int>(rows[0].size()), true, 0);
    for (std::size_t i = 0; i < rows.size(); ++i)
        for (std::size_t j = 0; j < rows[i].size(); ++j)
            t[static_cast<int>(i)][j] = rows[i][j];
    return t;
}

TEST(ElementLayout, TableOfCodes)
{
    struct Case {
        int code, dofs, topo, data;
    } cases[] = {{31, 2, 4, 12}, {32, 2, 7, 12}, {33, 6, 4, 12}, {41, 2, 5, 15}, {42, 2, 5, 15}, {44, 2, 9, 15},
                 {46, 2, 9, 15}, {61, 1, 7, 9},  {65, 3, 4, 9},   {66, 3, 4, 9},   {75, 6, 7, 15}, {81, 6, 4, 15},
                 {85, 6, 7, 15}};
    for (const Case& c : cases) {
        ElementLayout l;
        ASSERT_TRUE(GetElementLayout(c.code, l)) << c.code;
        EXPECT_EQ(l.dofsPerNode, c.dofs) << c.code;
        EXPECT_EQ(l.topologyColumns, c.topo) << c.code;
        EXPECT_EQ(l.elementDataColumns, c.data) << c.code;
        EXPECT_NE(IsMembraneCode(c.code), IsPlateBendingCode(c.code)) << c.code;
    }
    ElementLayout l;
    EXPECT_FALSE(GetElementLayout(34, l));
    EXPECT_FALSE(IsMembraneCode(61));
    EXPECT_TRUE(IsPlateBendingCode(85));
}

TEST(SupportDOFs, StandardTypesPerCode)
{
    struct Case {
        int code;
        unsigned type;
        std::vector<int> dofs;
    } cases[] = {
        {31, 1, {2}},          {41, 2, {1, 2}},          {46, 4, {1}},       {32, 33, {1, 2}},
        {33, 1, {2, 4}},       {33, 2, {1, 2, 3, 4}},    {33, 4, {1, 3}},    {33, 34, {1, 2, 3, 4}},
        {61, 1, {1}},          {61, 2, {1}},             {61, 4, {}},        {61, 33, {1}},
        {65, 1, {1, 2}},       {75, 2, {1, 2, 3}},       {65, 4, {3}},       {65, 34, {1, 2, 3}},
        {66, 1, {1, 3}},       {66, 4, {2}},             {66, 33, {1, 2, 3}}, {81, 1, {1, 2, 4}},
        {85, 2, {1, 2, 3, 4, 5}}, {81, 4, {3, 5}},
        // Right-angle corners: what both edges hold, each in the node's axes
        // (the second edge with x and y exchanged). Two simply supported
        // edges leave the twist free; two fixed ones hold everything.
        {81, 33, {1, 2, 3, 4, 6}}, {85, 33, {1, 2, 3, 4, 6}}, {81, 34, {1, 2, 3, 4, 5, 6}},
        {81, 36, {2, 3, 5}},   {65, 36, {2, 3}},         {61, 36, {}},       {31, 36, {1, 2}},
        // Two different kinds (OR-ed), the lower kind's edge along x.
        {81, 3, {1, 2, 3, 4, 5, 6}}, {81, 5, {1, 2, 4, 5}}, {85, 6, {1, 2, 3, 4, 5}},
        {65, 5, {1, 2}},       {66, 5, {1, 3}},          {75, 6, {1, 2, 3}}, {61, 3, {1}},
        {31, 3, {1, 2}},       {42, 5, {2}},             {33, 3, {1, 2, 4, 5, 6}},
        {31, 0, {}},           {81, 16, {}},             {81, 17, {}},       {81, 7, {}},
        {81, 35, {}},          {99, 2, {}},
    };
    for (const Case& c : cases) {
        int dofs[kMaxSupportDOFs];
        const int n = SupportDOFs(c.code, c.type, dofs);
        EXPECT_EQ(std::vector<int>(dofs, dofs + n), c.dofs) << c.code << " type " << c.type;
        EXPECT_EQ(CountSupportDOFs(c.code, c.type), n);
    }
}

TEST(NumberMaterials, UsedMaterialsOnlyAndVoidRescaled)
{
    CMaterial voidMat("VOID", 0.0, 1.0, 0.0, 0.3, 0.0);
    CMaterial unused("Unused", 1e-9, 70000.0, 0.0, 0.3, 0.0);
    CMaterial steel("Steel", 7.85e-9, 210000.0, 80000.0, 0.3, 1.2e-5);
    voidMat.AddElem();
    steel.AddElem();
    CObList list;
    list.AddTail(&voidMat);
    list.AddTail(&unused);
    list.AddTail(&steel);

    CMatrix m;
    int count = -1;
    ASSERT_TRUE(NumberMaterialList(list, m, count));
    EXPECT_EQ(count, 2);
    ASSERT_EQ(m.GetRows(), 2);
    EXPECT_EQ(voidMat.GetID(), 1);
    EXPECT_EQ(steel.GetID(), 2);
    EXPECT_DOUBLE_EQ(m[1][0], 210000.0);
    EXPECT_DOUBLE_EQ(m[0][0], 210000.0 * 5e-06);
    EXPECT_DOUBLE_EQ(m[0][1], 210000.0 * 5e-06);
    // The steel's shear stiffness is its isotropic one, E / (2 (1 + nu)).
    EXPECT_DOUBLE_EQ(m[0][3], 210000.0 / 2.6 * 5e-06);
    EXPECT_DOUBLE_EQ(m[0][2], 0.3);

    // The void material alone scales its own row.
    steel.RemoveElem();
    ASSERT_TRUE(NumberMaterialList(list, m, count));
    EXPECT_EQ(count, 1);
    EXPECT_DOUBLE_EQ(m[0][0], 1.0 * 5e-06);

    // Nothing used, or no material at all.
    voidMat.RemoveElem();
    EXPECT_FALSE(NumberMaterialList(list, m, count));
    CObList empty;
    EXPECT_FALSE(NumberMaterialList(empty, m, count));
    EXPECT_EQ(count, 0);
}

TEST(BoundaryArrays, MembraneUserConditionAndStandardTypes)
{
    Model model;
    model.Cond(3, 16, {{1, 0.0}, {2, 0.5}, {-1, 1000.0}, {-2, 0.0}, {3, 0.0}}, 0.25);
    model.Cond(1, 2);
    model.Cond(2, 1);
    const CLongMatrix topo = Topology({{1, 1, 2, 3}});
    BoundaryResult r = Build(31, model, topo, 3);
    ASSERT_EQ(r.result, 1);
    EXPECT_EQ(RowsOf(r.suppressed), (Rows{{3, 1}, {1, 1}, {1, 2}, {2, 2}}));
    EXPECT_EQ(RowsOf(r.prescribed), (Rows{{3, 2, 0.5}}));
    EXPECT_EQ(RowsOf(r.springs), (Rows{{3, 1, 1000.0}}));
    EXPECT_EQ(r.couplings.GetRows(), 0);
    EXPECT_DOUBLE_EQ(r.nodes[2][2], 0.25);
}

TEST(BoundaryArrays, NoUsableConditionFails)
{
    const CLongMatrix topo = Topology({{1, 1, 2, 3}});
    Model none;
    EXPECT_EQ(Build(31, none, topo, 3).result, -1);
    // Clear conditions (only the node number set) and a chain without the
    // load case count as none.
    Model clear;
    clear.Cond(1, 0);
    clear.Cond(2, 0);
    EXPECT_EQ(Build(31, clear, topo, 3).result, -1);
    Model other;
    other.Cond(1, 2);
    EXPECT_EQ(Build(99, other, topo, 3).result, -1);
}

TEST(BoundaryArrays, LoadCaseChainIsFollowed)
{
    Model model;
    CBoundCond* bc = model.Cond(2, 0);
    CBoundCond* second = bc->Grow(1);
    second->SetType(2);
    bc->SetID(2);
    CObList selected, links;
    SelectConditions(model.conditionList, 1, selected);
    ASSERT_EQ(selected.GetCount(), 1);
    EXPECT_EQ(selected.GetHead(), second);
    selected.RemoveAll();
    SelectConditions(model.conditionList, 0, selected);
    EXPECT_TRUE(selected.IsEmpty());
    SelectConditions(model.conditionList, 5, selected);
    EXPECT_TRUE(selected.IsEmpty());
}

TEST(BoundaryArrays, CouplingsTieTheDofsBothNodesHave)
{
    CSNode a(0, 0, 0, nullptr, 0), b(1, 0, 0, nullptr, 0), c(2, 0, 0, nullptr, 0);
    a.GetID() = 1;
    b.GetID() = 4;
    c.GetID() = 2;
    CNodeLink ab(&a, &b), bc(&b, &c);
    CObList links;
    links.AddTail(&ab);
    links.AddTail(&bc);

    Model model;
    model.Cond(1, 2);
    CObList selected;
    SelectConditions(model.conditionList, 0, selected);

    // Membrane: both DOFs of every link.
    {
        BoundaryResult r;
        r.nodes.Allocate(4, 4, true, 0.0);
        const CLongMatrix topo = Topology({{1, 1, 2, 3}, {1, 2, 3, 4}});
        ASSERT_EQ(FillBoundaryArrays(31, selected, links, topo, r.nodes, r.suppressed, r.prescribed, r.couplings,
                                     r.springs),
                  1);
        EXPECT_EQ(RowsOf(r.couplings), (Rows{{1, 1, 4, 1, 1, 0, 0, 0},
                                             {1, 2, 4, 2, 1, 0, 0, 0},
                                             {4, 1, 2, 1, 1, 0, 0, 0},
                                             {4, 2, 2, 2, 1, 0, 0, 0}}));
    }
    // T15: node 1 a corner (3 DOFs), 4 a mid-side node (2), 2 a corner.
    {
        BoundaryResult r;
        r.nodes.Allocate(6, 4, true, 0.0);
        const CLongMatrix topo = Topology({{1, 1, 2, 3, 4, 5, 6}});
        ASSERT_EQ(FillBoundaryArrays(75, selected, links, topo, r.nodes, r.suppressed, r.prescribed, r.couplings,
                                     r.springs),
                  1);
        EXPECT_EQ(RowsOf(r.couplings), (Rows{{1, 1, 4, 1, 1, 0, 0, 0},
                                             {1, 2, 4, 2, 1, 0, 0, 0},
                                             {4, 1, 2, 1, 1, 0, 0, 0},
                                             {4, 2, 2, 2, 1, 0, 0, 0}}));
    }
    links.RemoveAll();
}

TEST(BoundaryArrays, NodeDofCountsFollowTheTopology)
{
    const CLongMatrix topo = Topology({{1, 1, 2, 3, 4, 5, 6}, {1, 3, 2, 7, 5, 8, 9}});
    struct Case {
        int code;
        std::vector<int> dofs;
    } cases[] = {
        {61, {1, 1, 1, 1, 1, 1, 1, 1, 1}},
        {75, {3, 3, 3, 2, 2, 2, 3, 2, 2}},
        {85, {6, 6, 6, 1, 1, 1, 6, 1, 1}},
        {81, {6, 6, 6, 6, 6, 6, 6, 6, 6}},
    };
    for (const Case& c : cases) {
        std::vector<int> dofs;
        NodeDofCounts(c.code, topo, 9, dofs);
        EXPECT_EQ(dofs, c.dofs) << c.code;
    }
}

// Mid-side nodes of six-node plate elements carry edge rotations: DOF 1
// (T15 also DOF 2) fed by the user's DOF 3 (and for T15 DOF 1).
TEST(BoundaryArrays, MidSideRules)
{
    const CLongMatrix topo = Topology({{1, 1, 2, 3, 4, 5, 6}});
    const double steep = 1.5707963267948966, flat = 1.5707963267948966 - 1e-9;
    struct Case {
        const char* name;
        int code;
        unsigned type;
        std::vector<std::pair<int, double>> entries;
        double angle;
        Rows suppressed, prescribed, springs;
    } cases[] = {
        {"T6 type 1 free", 61, 1, {}, 0.0, {}, {}, {}},
        {"T6 type 2", 61, 2, {}, 0.0, {{5, 1}}, {}, {}},
        {"T6 type 4", 61, 4, {}, 0.0, {{5, 1}}, {}, {}},
        {"T6 type 33 adds nothing", 61, 33, {}, 0.0, {}, {}, {}},
        {"T6 user, steep angle keeps prescribed", 61, 16, {{3, 0.5}, {-3, 7.0}, {1, 0.0}}, steep, {},
         {{5, 1, 0.5}}, {{5, 1, -7.0}}},
        {"T6 user zero", 61, 16, {{3, 0.0}}, steep, {{5, 1}}, {}, {}},
        {"T21 user steep", 85, 16, {{3, 0.5}, {-3, 7.0}}, steep, {}, {{5, 1, -0.5}}, {{5, 1, -7.0}}},
        {"T21 user flat", 85, 16, {{3, 0.5}, {-3, 7.0}}, flat, {}, {{5, 1, 0.5}}, {{5, 1, 7.0}}},
        {"T21 type 2", 85, 2, {}, 0.0, {{5, 1}}, {}, {}},
        {"T15 type 1", 75, 1, {}, 0.0, {{5, 1}}, {}, {}},
        {"T15 type 2", 75, 2, {}, 0.0, {{5, 1}, {5, 2}}, {}, {}},
        {"T15 type 4", 75, 4, {}, 0.0, {{5, 2}}, {}, {}},
        {"T15 user steep", 75, 16, {{1, 0.25}, {3, 0.5}, {-1, 4.0}, {-3, 7.0}}, steep, {},
         {{5, 1, 0.25}, {5, 2, -0.5}}, {{5, 1, 4.0}, {5, 2, -7.0}}},
        {"T15 user zero", 75, 16, {{1, 0.0}, {3, 0.0}, {2, 0.0}}, 0.0, {{5, 1}, {5, 2}}, {}, {}},
    };
    for (const Case& c : cases) {
        Model model;
        model.Cond(1, 2); // keeps the list from being empty
        model.Cond(-5, c.type, c.entries, c.angle);
        BoundaryResult r = Build(c.code, model, topo, 6);
        ASSERT_EQ(r.result, 1) << c.name;
        Rows sup = RowsOf(r.suppressed);
        int corner[kMaxSupportDOFs];
        sup.erase(sup.begin(), sup.begin() + SupportDOFs(c.code, 2, corner));
        EXPECT_EQ(sup, c.suppressed) << c.name;
        EXPECT_EQ(RowsOf(r.prescribed), c.prescribed) << c.name;
        EXPECT_EQ(RowsOf(r.springs), c.springs) << c.name;
        EXPECT_DOUBLE_EQ(r.nodes[4][2], 0.0) << c.name;
    }
}

TEST(BoundaryArrays, CornerEntriesOnlyForExistingDofs)
{
    const CLongMatrix topo = Topology({{1, 1, 2, 3, 4, 5, 6}});
    const std::vector<std::pair<int, double>> entries = {{1, 0.0}, {3, 0.0}, {4, 0.0}, {6, 2.0}, {-5, 9.0}};
    struct Case {
        int code;
        Rows suppressed, prescribed, springs;
        double angle;
    } cases[] = {
        {61, {{2, 1}}, {}, {}, 0.0},
        {75, {{2, 1}, {2, 3}}, {}, {}, 0.5},
        {85, {{2, 1}, {2, 3}, {2, 4}}, {{2, 6, 2.0}}, {{2, 5, 9.0}}, 0.5},
    };
    for (const Case& c : cases) {
        Model model;
        model.Cond(2, 16, entries, 0.5);
        BoundaryResult r = Build(c.code, model, topo, 6);
        ASSERT_EQ(r.result, 1) << c.code;
        EXPECT_EQ(RowsOf(r.suppressed), c.suppressed) << c.code;
        EXPECT_EQ(RowsOf(r.prescribed), c.prescribed) << c.code;
        EXPECT_EQ(RowsOf(r.springs), c.springs) << c.code;
        // T6 nodes have no rotation axes: their angle stays 0.
        EXPECT_DOUBLE_EQ(r.nodes[1][2], c.angle) << c.code;
    }
}

TEST(Loads, MembraneNodeAndEdgeLoads)
{
    Model model;
    model.NodeLoad(3, {10.0, -20.0});
    model.NodeLoad(4, {1.0, 2.0}, true);
    model.EdgeLoad(2, 7, {1, 2, 3, 4, 5, 6});
    model.EdgeLoad(-5, 8, {1, 2, 3, 4, 5, 6});
    model.EdgeLoad(-6, 9, {1, 2, 3, 4, 5, 6}, true);
    CMatrix nl, el;
    ASSERT_TRUE(FillMembraneLoads(31, model.nodeLoads, model.edgeLoads, nl, el));
    EXPECT_EQ(RowsOf(nl), (Rows{{3, 10, -20}, {-4, 1, 2}}));
    EXPECT_EQ(RowsOf(el), (Rows{{2, 7, 1, 2, 3, 4}, {5, 8, 3, 4, 1, 2}, {6, 9, -3, -4, -1, -2}}));

    // Code 33 takes the middle values too.
    ASSERT_TRUE(FillMembraneLoads(33, model.nodeLoads, model.edgeLoads, nl, el));
    EXPECT_EQ(RowsOf(el), (Rows{{2, 7, 1, 2, 3, 4, 5, 6}, {5, 8, 3, 4, 1, 2, 5, 6}, {6, 9, -3, -4, -1, -2, -5, -6}}));

    CObList none;
    ASSERT_TRUE(FillMembraneLoads(31, none, none, nl, el));
    EXPECT_EQ(nl.GetRows(), 0);
    EXPECT_EQ(el.GetRows(), 0);
}

TEST(Loads, PlateNodeAndEdgeLoads)
{
    Model model;
    model.NodeLoad(2, {-5.0, 1.0});
    model.NodeLoad(9, {1.0}); // no such node: ignored
    model.EdgeLoad(2, -7, {1, 2, 3, 4, 5, 6});
    model.EdgeLoad(-5, 8, {1, 2, 3, 4, 5, 6});
    CMatrix nodes(3, 4, true, 0.0), el;
    ASSERT_TRUE(FillPlateLoads(model.nodeLoads, model.edgeLoads, nodes, el));
    EXPECT_EQ(RowsOf(nodes), (Rows{{0, 0, 0, 0}, {0, 0, 0, -5}, {0, 0, 0, 0}}));
    EXPECT_EQ(RowsOf(el), (Rows{{2, 7, 2, 4, 6}, {5, 8, -4, -2, -6}}));
}

TEST(KeyData, Entries)
{
    KeyDataInput base;
    base.elements = 10;
    base.nodes = 12;
    base.materials = 2;
    base.suppressedRows = 3;
    base.prescribedRows = 4;
    base.couplingRows = 5;
    base.springRows = 6;
    base.storage = 1;
    base.renumbering = 3;
    base.nodeLoadRows = 7;
    base.edgeLoadRows = 0;
    base.planeStrain = 1;
    base.printElements = 2;
    base.printNodes = 1;
    base.integrationPoints = 2;
    base.integrationRule = 2;
    base.printLevel = 3;

    struct Case {
        const char* name;
        bool membrane;
        int code, storage, renumbering, points, edgeRows;
        // entries 12, 16, 18, 19, 20, 21, 27, 28
        std::vector<int> expect;
    } cases[] = {
        {"cst", true, 31, 1, 3, 2, 0, {3, 7, 1, 4, 12, 6, 0, 0}},
        {"quad 9 points", true, 41, 1, 3, 2, 0, {3, 7, 1, 5, 15, 6, 9, 1}},
        {"quad 1 point", true, 42, 1, 3, 0, 0, {3, 7, 1, 5, 15, 6, 1, 0}},
        {"quad8 4 points", true, 44, 2, 3, 1, 0, {1, 7, 1, 9, 15, 6, 4, 1}},
        {"quad8 bad points", true, 46, 2, 0, 5, 0, {0, 7, 1, 9, 15, 6, 0, 1}},
        {"tri4", true, 33, 2, 2, 1, 0, {1, 7, 1, 4, 12, 8, 0, 0}},
        {"plate no edge loads", false, 81, 1, 2, 1, 0, {2, 0, 0, 4, 15, 0, 2, 0}},
        {"plate edge loads", false, 65, 1, 2, 1, 3, {2, 0, 0, 4, 9, 5, 0, 0}},
        {"T21", false, 85, 2, 3, 1, 0, {1, 0, 0, 7, 15, 0, 2, 0}},
    };
    for (const Case& c : cases) {
        KeyDataInput in = base;
        in.membrane = c.membrane;
        in.code = c.code;
        in.storage = c.storage;
        in.renumbering = c.renumbering;
        in.integrationPoints = c.points;
        in.edgeLoadRows = c.edgeRows;
        std::int32_t key[kKeyDataSize];
        FillKeyData(key, in);
        const std::vector<int> got = {key[11], key[15], key[17], key[18], key[19], key[20], key[26], key[27]};
        EXPECT_EQ(got, c.expect) << c.name;
        const std::vector<int> common = {key[0], key[1], key[2], key[3], key[4], key[5], key[6],
                                         key[9], key[10], key[16], key[24], key[25], key[29]};
        EXPECT_EQ(common, (std::vector<int>{10, 12, 2, 3, 4, 5, 6, c.code, c.storage, c.edgeRows, 2, 1, 3}))
            << c.name;
        for (int unused : {7, 8, 12, 13, 14, 21, 22, 23, 28})
            EXPECT_EQ(key[unused], 0) << c.name << " entry " << unused + 1;
    }
}

TEST(VolumeForce, FreshRecordAndSwitch)
{
    CMatrix force;
    double angle = 0, magnitude = 0;
    PrepareVolumeForce(force, angle, magnitude);
    EXPECT_EQ(RowsOf(force), (Rows{{0, 0, 0, 0, 0, 0, 0, 0, 0}}));
    RestoreVolumeForce(force, angle, magnitude);
    EXPECT_EQ(RowsOf(force), (Rows{{0, 0, 0, 0, 0, 0, -90.0, 1.0, 0.0}}));

    force[0][6] = 30.0;
    force[0][7] = 2.0;
    force[0][8] = 1.0;
    PrepareVolumeForce(force, angle, magnitude);
    EXPECT_NEAR(force[0][6], std::sqrt(3.0), 1e-12);
    EXPECT_NEAR(force[0][7], 1.0, 1e-12);
    RestoreVolumeForce(force, angle, magnitude);
    EXPECT_EQ(force[0][6], 30.0);
    EXPECT_EQ(force[0][7], 2.0);

    force[0][8] = 0.5;
    PrepareVolumeForce(force, angle, magnitude);
    EXPECT_EQ(force[0][6], 0.0);
    EXPECT_EQ(force[0][7], 0.0);
    RestoreVolumeForce(force, angle, magnitude);
    EXPECT_EQ(force[0][6], 30.0);
}

} // namespace
