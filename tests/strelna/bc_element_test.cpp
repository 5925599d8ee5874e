// The element and mesh operations that read conditions and loads of their
// nodes and edges.
#include "tests/strelna/fe_fixture.h"

#include <memory>
#include <vector>

using namespace fetest;

namespace {

CBoundNode* BNode(double x, double y)
{
    return new CBoundNode(x, y, 0.0, nullptr, 0);
}

CVector Vec(std::vector<double> values)
{
    CVector v(static_cast<int>(values.size()));
    for (int i = 0; i < v.GetSize(); ++i)
        v[i] = values[static_cast<std::size_t>(i)];
    return v;
}

class Recorder : public CModelInfo {
public:
    void AddNodeBC(CSNode* n) override { calls.push_back(n); }
    void AddNodeLoad(CLoad* l) override { calls.push_back(l); }
    std::vector<CObject*> calls;
};

class BCElementTest : public FETest {};

} // namespace

TEST_F(BCElementTest, ConditionCodes)
{
    CTriElement e(Node(0, 0), Node(1, 0), Node(0, 1));
    struct Case {
        unsigned type;
        std::vector<double> dofs;
        unsigned code;
    };
    const Case cases[] = {{1, {}, 1},          {4, {}, 1},           {2, {}, 3},
                          {16, {1, 3, 0, 0}, 5}, {16, {-2, 3, 9, 0}, 4}, {16, {1}, 0},
                          {8, {}, 0}};
    for (const Case& c : cases) {
        CBoundCond bc;
        bc.SetType(c.type);
        if (!c.dofs.empty()) {
            CVector v = Vec(c.dofs);
            bc.SetBC(v);
        }
        EXPECT_EQ(e.GetBCCode(&bc, nullptr), c.code) << c.type;
    }
    EXPECT_EQ(e.GetBCCode(nullptr, nullptr), 0u);
}

TEST_F(BCElementTest, ConditionsAndLoadsOfNodes)
{
    CBoundNode* a = BNode(0, 0);
    CBoundNode* b = BNode(2, 0);
    CBoundNode* c = BNode(0, 2);
    a->SetStandBC(1, 0);
    c->SetStandBC(2, 0);
    auto* load = new CNodeLoad;
    CVector v = Vec({0, 5});
    static_cast<CVector&>(*load) = v;
    b->SetNodeLoad(load);
    auto* solid = new CBoundCond3D;
    solid->SetRotParam(7);
    b->SetBC(solid, 0);

    CBoundNode* mid = BNode(1, 0);
    mid->SetStandBC(4, 0);
    CTri6Element e(a, b, c, mid, BNode(1, 1), BNode(0, 1));
    ASSERT_EQ(e.GetCount(), 6);
    ASSERT_EQ(e.GetNode(3), mid);

    CObList bcs;
    e.GetBCs(bcs);
    ASSERT_GE(bcs.GetCount(), 3);
    EXPECT_EQ(static_cast<CBoundCond*>(bcs.GetHead())->GetID(), static_cast<long>(a->GetID()));
    EXPECT_EQ(static_cast<CBoundCond*>(bcs.GetTail())->GetID(), -static_cast<long>(mid->GetID()));

    CObList loads;
    e.GetNodeLoads(loads);
    ASSERT_EQ(loads.GetCount(), 1);
    EXPECT_EQ(static_cast<CLoad*>(loads.GetHead())->GetID(), static_cast<long>(b->GetID()));

    Recorder rec;
    e.DM_InsertNodeBCs(rec);
    ASSERT_GE(rec.calls.size(), 4u);
    EXPECT_EQ(rec.calls[0], a);
    EXPECT_EQ(rec.calls[1], load); // a node's loads before its condition
    EXPECT_EQ(rec.calls[2], b);
    EXPECT_EQ(rec.calls[3], c);

    CInfoContainer info;
    info.Allocate(9, true, 0);
    info.m_iMask = 0;
    e.DM_GetInfo(info);
    EXPECT_EQ(info[3], 1);
    EXPECT_EQ(info[4], 1);
    EXPECT_EQ(info[5], 1 + 3); // type 1 and type 2; type 4 counts nothing
    EXPECT_EQ(info[8], 1);

    CLongVector rot;
    int count = 0;
    e.DM_GetRotParam(rot, count);
    ASSERT_EQ(count, 1);
    EXPECT_EQ(rot[0], static_cast<long>(b->GetID()));
    EXPECT_EQ(rot[1], 7);
}

TEST_F(BCElementTest, EdgeLoadsBelongToTheElementAlongTheEdge)
{
    CMeshOrganizer mesh;
    CSNode* a = BNode(0, 0);
    CSNode* b = BNode(1, 0);
    CSNode* c = BNode(1, 1);
    CSNode* d = BNode(0, 1);
    auto* q = new CQuadElem(a, b, c, d);
    mesh.AddElement(q);
    auto bottom = std::make_unique<CBoundary>(a, b);
    auto right = std::make_unique<CBoundary>(c, b); // runs against the element
    auto* l1 = new CEdgeLoad;
    CVector v = Vec({1, 0, 1, 0, 1, 0});
    static_cast<CVector&>(*l1) = v;
    l1->SetLocal(true);
    bottom->SetLoad(l1);
    auto* l2 = new CEdgeLoad;
    CVector w = Vec({0, -3, 0, -3, 0, -3});
    static_cast<CVector&>(*l2) = w;
    right->SetLoad(l2);

    CObList nodeLoads, edgeLoads;
    mesh.GetLoads(&nodeLoads, &edgeLoads);
    ASSERT_EQ(edgeLoads.GetCount(), 2);
    const long num = static_cast<long>(q->GetElemNumber());
    EXPECT_EQ(l1->GetID(), -static_cast<long>(a->GetID())); // local: negated
    EXPECT_EQ(l1->GetElID(), num);
    EXPECT_EQ(l2->GetID(), static_cast<long>(b->GetID()));
    EXPECT_EQ(l2->GetElID(), -num); // against the edge

    double max = -1.0, min = 1.0;
    mesh.GetMaxMinLoad(max, min, 4);
    EXPECT_EQ(max, 1.0);
    EXPECT_EQ(min, -3.0);

    bottom.reset();
    right.reset();
}

TEST_F(BCElementTest, SubdivisionCopiesBoundaryProperties)
{
    CSNode* a = BNode(0, 0);
    CSNode* b = BNode(3, 0);
    CSNode* c = BNode(0, 3);
    CTriElement e(a, b, c);
    auto edge = new CBoundary(a, b);
    edge->SetBC(2u, 0);
    auto* load = new CEdgeLoad;
    CVector v = Vec({0, 0, 3, 0, 1.5, 0});
    static_cast<CVector&>(*load) = v;
    edge->SetLoad(load);

    std::unique_ptr<CObList> made(e.Subdiv(a, b, 2, 0));
    ASSERT_NE(made, nullptr);
    ASSERT_EQ(made->GetCount(), 2);
    CSNode* first = static_cast<CSNode*>(made->GetHead());
    auto* segment = dynamic_cast<CBoundary*>(CGraph::GetComEdge(a, first));
    ASSERT_NE(segment, nullptr);
    ASSERT_NE(segment->GetBC(0), nullptr);
    EXPECT_EQ(segment->GetBC(0)->GetBCType(), 2u);
    ASSERT_NE(segment->GetLoad(), nullptr);
    EXPECT_NEAR((*segment->GetLoad())[2], 1.0, 1e-12);
    EXPECT_NEAR((*segment->GetLoad())[4], 0.5, 1e-12);
    for (POSITION p = made->GetHeadPosition(); p;) {
        CSNode* n = static_cast<CSNode*>(made->GetNext(p));
        if (n->GetGraphCount() == 0)
            delete n;
    }
}
