// Region algebra: orientation, point location, making, dividing, merging
// and removing regions.
#include <gtest/gtest.h>

#include "platform/ferrand/material.h"
#include "sections/kantaro.h"

class CPlateLike : public CSectArea {
    DECLARE_SERIAL(CPlateLike)
public:
    CPlateLike() = default;
};
IMPLEMENT_SERIAL(CPlateLike, CSectArea, 1)

namespace {

// Nodes owned by a carrier graph so that regions only share them.
struct Model {
    CGraph carrier;
    CSNode* Node(double x, double y) { return carrier.NewNode(x, y, 0); }
};

CPlateLike* Region(std::initializer_list<CSNode*> nodes)
{
    auto* r = new CPlateLike;
    CSNode* prev = nullptr;
    for (CSNode* n : nodes) {
        r->NewNode(n);
        if (prev && !CGraph::GetComEdge(prev, n))
            r->ConnectNodes(prev, n);
        prev = n;
    }
    if (!CGraph::GetComEdge(prev, r->GetHeadNode()))
        r->ConnectNodes(prev, r->GetHeadNode());
    return r;
}

void Chain(CObList& l, std::initializer_list<CSNode*> nodes)
{
    for (CSNode* n : nodes)
        l.AddTail(n);
}

TEST(RegionAlgebra, ValidateReversesClockwise)
{
    Model m;
    CPlateLike* r = Region({m.Node(0, 0), m.Node(0, 1), m.Node(1, 1), m.Node(1, 0)});
    EXPECT_FALSE(r->IsCCLW());
    EXPECT_TRUE(r->Validate());
    EXPECT_TRUE(r->IsCCLW());
    EXPECT_EQ(r->GetNode(0)->y, 0.0);
    EXPECT_EQ(r->GetNode(1)->x, 1.0);
    delete r;
}

TEST(RegionAlgebra, PointInsideGivesInnermostRegion)
{
    Model m;
    CPlateLike* outer = Region({m.Node(0, 0), m.Node(10, 0), m.Node(10, 10), m.Node(0, 10)});
    CPlateLike* hole = Region({m.Node(2, 2), m.Node(4, 2), m.Node(4, 4), m.Node(2, 4)});
    outer->InsertSubSect(hole);
    EXPECT_EQ(outer->IsPointInside2D(3, 3, false), hole);
    EXPECT_EQ(outer->IsPointInside2D(3, 3, true), outer);
    EXPECT_EQ(outer->IsPointInside2D(8, 8, false), outer);
    EXPECT_EQ(outer->IsPointInside2D(11, 8, false), nullptr);
    delete outer;
}

TEST(RegionAlgebra, NewSectNamesChecksAndClass)
{
    const DWORD savedGraphs = CGraph::lIDGraph;
    Model m;
    CMaterial mat;
    CPlateLike maker;
    maker.SetMaterial(&mat);
    CSNode* a = m.Node(0, 0);
    CSNode* b = m.Node(1, 0);
    CSNode* c = m.Node(1, 1);
    CSNode* d = m.Node(0, 1);

    // Collinear within the bound: refused, the object made is gone.
    CSNode* e = m.Node(2, 1e-8);
    CSNode* f = m.Node(4, 0);
    CObList flat;
    Chain(flat, {a, e, f});
    CObList out;
    EXPECT_EQ(maker.NewSect(&flat, &out), nullptr);
    EXPECT_TRUE(out.IsEmpty());
    EXPECT_EQ(a->GetGraphCount(), 1);

    CGraph::lIDGraph = 4000000001u;
    CObList quad;
    Chain(quad, {a, d, c, b}); // clockwise: validated to counter-clockwise
    CSection* q = maker.NewSect(&quad, &out);
    ASSERT_NE(q, nullptr);
    EXPECT_EQ(q->GetName(), CString("Quad (1)"));
    EXPECT_TRUE(q->IsKindOf(RUNTIME_CLASS(CPlateLike)));
    EXPECT_TRUE(static_cast<CSectArea*>(q)->IsCCLW());
    EXPECT_EQ(static_cast<CSectArea*>(q)->GetMaterial(), &mat);
    EXPECT_EQ(out.GetCount(), 1);
    EXPECT_NE(CGraph::GetComEdge(a, d), nullptr);

    // The same cycle again, from another start: a duplicate.
    CObList again;
    Chain(again, {c, b, a, d});
    EXPECT_EQ(maker.NewSect(&again, nullptr), nullptr);

    CObList tri;
    Chain(tri, {b, f, c});
    CSection* t = maker.NewSect(&tri, nullptr);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->GetName(), CString("Triangle (3)"));
    CObList five;
    Chain(five, {a, b, f, c, d});
    CSection* p = maker.NewSect(&five, nullptr);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->GetName().Left(9), CString("Polygon ("));
    delete p;
    delete t;
    delete q;
    CGraph::lIDGraph = savedGraphs;
}

TEST(RegionAlgebra, SameNodesAndEdgeInGraph)
{
    Model m;
    CSNode* n[4] = {m.Node(0, 0), m.Node(1, 0), m.Node(1, 1), m.Node(0, 1)};
    CPlateLike* r = Region({n[0], n[1], n[2], n[3]});
    CObList fwd;
    Chain(fwd, {n[2], n[3], n[0], n[1]});
    CObList back;
    Chain(back, {n[1], n[0], n[3], n[2]});
    CObList other;
    Chain(other, {n[0], n[2], n[1], n[3]});
    EXPECT_TRUE(r->SameNodes(&fwd));
    EXPECT_TRUE(r->SameNodes(&back));
    EXPECT_FALSE(r->SameNodes(&other));
    EXPECT_TRUE(r->IsEdgeInGraph(CGraph::GetComEdge(n[3], n[0])));
    CEdge diagonal(n[0], n[2]);
    EXPECT_FALSE(r->IsEdgeInGraph(&diagonal));
    diagonal.Reset();
    delete r;
}

} // namespace
