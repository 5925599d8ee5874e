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

namespace {

TEST(RegionAlgebra, DivideNamesPartsAndMovesHoles)
{
    Model m;
    CMaterial mat;
    CSNode* n[4] = {m.Node(0, 0), m.Node(10, 0), m.Node(10, 10), m.Node(0, 10)};
    CPlateLike* r = Region({n[0], n[1], n[2], n[3]});
    r->SetMaterial(&mat);
    r->SetName("Quad (5)");
    CPlateLike* hole = Region({m.Node(1, 6), m.Node(3, 6), m.Node(3, 8), m.Node(1, 8)});
    r->InsertSubSect(hole);

    // Adjacent nodes without a chain: nothing changes, not even the counter.
    const DWORD ids = CGraph::lIDGraph;
    EXPECT_EQ(r->Divide(n[0], nullptr, n[1]), nullptr);
    EXPECT_EQ(CGraph::lIDGraph, ids);
    EXPECT_EQ(r->GetCount(), 4);

    CSNode* c1 = m.Node(10, 5);
    CSNode* c2 = m.Node(0, 5);
    CSNode* mid = m.Node(5, 5);
    CObList chain;
    Chain(chain, {mid});
    // Cut from the middle of the right side to the middle of the left side.
    CObList right, left;
    Chain(right, {c1});
    Chain(left, {c2});
    ASSERT_TRUE(r->AddChain(n[1], &right, n[2]));
    ASSERT_TRUE(r->AddChain(n[3], &left, n[0]));
    EXPECT_EQ(r->GetCount(), 6);
    EXPECT_EQ(r->FindIndex(c2), 5); // closing pair: inserted between last and first
    CSection* part = r->Divide(c1, &chain, c2);
    ASSERT_NE(part, nullptr);
    EXPECT_TRUE(part->IsKindOf(RUNTIME_CLASS(CPlateLike)));
    EXPECT_EQ(r->GetName(), CString("Quad (5,1)"));
    EXPECT_EQ(part->GetName(), CString("Quad (5,2)"));
    auto* upper = static_cast<CSectArea*>(part);
    EXPECT_EQ(upper->GetMaterial(), &mat);
    EXPECT_EQ(upper->GetCount(), 5);
    EXPECT_EQ(r->GetCount(), 5);
    EXPECT_TRUE(upper->IsCCLW());
    EXPECT_TRUE(r->IsCCLW());
    EXPECT_EQ(upper->IsPointInside2D(5, 7, true), upper);
    EXPECT_EQ(r->IsPointInside2D(5, 3, true), r);
    ASSERT_NE(upper->GetSubList(), nullptr);
    EXPECT_EQ(upper->GetSubList()->GetHead(), hole);
    EXPECT_EQ(r->GetSubList(), nullptr);
    EXPECT_NE(CGraph::GetComEdge(c1, mid), nullptr);
    delete upper;
    delete r;
}

TEST(RegionAlgebra, DivideRefusingAZeroAreaPartKeepsTheRegion)
{
    Model m;
    CSNode* n[4] = {m.Node(0, 0), m.Node(10, 0), m.Node(10, 10), m.Node(0, 10)};
    CPlateLike* r = Region({n[0], n[1], n[2], n[3]});
    r->SetName("A");
    // A chain running back along the bottom side gives a part without area.
    CSNode* on = m.Node(5, 0);
    CObList chain;
    Chain(chain, {on});
    const DWORD ids = CGraph::lIDGraph;
    EXPECT_EQ(r->Divide(n[0], &chain, n[1]), nullptr);
    EXPECT_EQ(CGraph::lIDGraph, ids);
    EXPECT_EQ(r->GetCount(), 4);
    EXPECT_EQ(r->GetName(), CString("A"));
    EXPECT_TRUE(r->IsCCLW());
    EXPECT_EQ(on->GetGraphCount(), 1); // only the carrier
    EXPECT_NE(CGraph::GetComEdge(n[0], n[1]), nullptr);

    // A plain name gets the parts appended.
    CSection* part = r->Divide(n[0], nullptr, n[2]);
    ASSERT_NE(part, nullptr);
    EXPECT_EQ(r->GetName(), CString("A,1"));
    EXPECT_EQ(part->GetName(), CString("A,2"));
    delete part;
    delete r;
}

TEST(RegionAlgebra, UnionMergesAlongOneRunOnly)
{
    Model m;
    CSNode* a = m.Node(0, 0);
    CSNode* b = m.Node(1, 0);
    CSNode* c = m.Node(1, 1);
    CSNode* d = m.Node(0, 1);
    CSNode* e = m.Node(2, 0);
    CSNode* f = m.Node(2, 1);
    CSNode* mid = m.Node(1, 0.5);
    CPlateLike* left = Region({a, b, mid, c, d});
    CPlateLike* right = Region({b, e, f, c, mid});
    CPlateLike* hole = Region({m.Node(1.5, 0.4), m.Node(1.7, 0.4), m.Node(1.7, 0.6)});
    right->InsertSubSect(hole);
    ASSERT_TRUE(left->Union(right));
    EXPECT_TRUE(left->IsCCLW());
    EXPECT_EQ(left->GetCount(), 6);
    EXPECT_EQ(left->Find(mid), nullptr);
    EXPECT_NE(left->Find(e), nullptr);
    EXPECT_NE(left->Find(f), nullptr);
    EXPECT_EQ(hole->GetOuterSect(), left);

    // Sharing only a corner: refused.
    CPlateLike* corner = Region({f, m.Node(3, 1), m.Node(3, 2)});
    EXPECT_FALSE(left->Union(corner));
    delete corner;
    delete left;
}

TEST(RegionAlgebra, DeleteThisHandsSubSectionsOut)
{
    Model m;
    CPlateLike* outer = Region({m.Node(0, 0), m.Node(10, 0), m.Node(10, 10), m.Node(0, 10)});
    CPlateLike* middle = Region({m.Node(1, 1), m.Node(9, 1), m.Node(9, 9), m.Node(1, 9)});
    CPlateLike* inner = Region({m.Node(2, 2), m.Node(3, 2), m.Node(3, 3)});
    outer->InsertSubSect(middle);
    middle->InsertSubSect(inner);
    middle->DeleteThis(nullptr);
    ASSERT_NE(outer->GetSubList(), nullptr);
    EXPECT_EQ(outer->GetSubList()->GetCount(), 1);
    EXPECT_EQ(outer->GetSubList()->GetHead(), inner);
    EXPECT_EQ(inner->GetOuterSect(), outer);

    // Top level in a list: the sub-sections join the list.
    CObList list;
    list.AddTail(static_cast<CObject*>(outer));
    outer->DeleteThis(&list);
    ASSERT_EQ(list.GetCount(), 1);
    EXPECT_EQ(list.GetHead(), inner);
    EXPECT_EQ(inner->GetOuterSect(), nullptr);
    delete inner;
}

} // namespace
