// Region algebra: orientation, point location, making, dividing, merging
// and removing regions.
#include <gtest/gtest.h>

#include <cmath>

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

TEST(RegionAlgebra, UnionWithARegionFillingANotch)
{
    // A triangle whose nodes all lie on the other region: it fills the notch.
    Model m;
    CSNode* a = m.Node(0, 0);
    CSNode* b = m.Node(2, 1); // notch bottom
    CSNode* c = m.Node(4, 0);
    CSNode* x = m.Node(4, 3);
    CSNode* y = m.Node(0, 3);
    CPlateLike* body = Region({a, b, c, x, y});
    CPlateLike* wedge = Region({a, c, b});
    ASSERT_TRUE(wedge->IsCCLW());
    ASSERT_TRUE(wedge->Union(body));
    EXPECT_EQ(wedge->GetCount(), 4);
    EXPECT_EQ(wedge->Find(b), nullptr);
    EXPECT_TRUE(wedge->IsCCLW());
    EXPECT_NE(CGraph::GetComEdge(a, c), nullptr);
    delete wedge;

    // The same cycle twice: nothing to merge.
    CPlateLike* one = Region({a, c, x});
    CPlateLike* two = Region({c, x, a});
    EXPECT_FALSE(one->Union(two));
    delete two;
    delete one;
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

namespace {

TEST(RegionAlgebra, NewSectFlatnessBound)
{
    // Area over the longer side against 2.220446049250313e-8: a = (0, 0),
    // c = (2, h), b = (4, 0) gives 0.5 * 4h / 4 = h / 2.
    struct Case {
        double h;
        bool made;
    } cases[] = {{0.0, false}, {4.4e-8, false}, {4.5e-8, true}, {1e-3, true}};
    for (const Case& k : cases) {
        Model m;
        CPlateLike maker;
        CObList chain;
        Chain(chain, {m.Node(0, 0), m.Node(2, k.h), m.Node(4, 0)});
        CSection* r = maker.NewSect(&chain, nullptr);
        EXPECT_EQ(r != nullptr, k.made) << k.h;
        delete r;
    }
}

TEST(RegionAlgebra, NewSectCutsPinchPointsOffAsTriangles)
{
    // Two lobes meeting at n: the chain passes n twice.
    Model m;
    CMaterial mat;
    CPlateLike maker;
    maker.SetMaterial(&mat);
    CSNode* n = m.Node(0, 0);
    CSNode* a = m.Node(2, -1);
    CSNode* b = m.Node(2, 1);
    CSNode* c = m.Node(-2, 1);
    CSNode* d = m.Node(-2, -1);
    CObList chain;
    Chain(chain, {n, a, b, n, c, d});
    CObList out;
    CSection* made = maker.NewSect(&chain, &out);
    ASSERT_NE(made, nullptr);
    ASSERT_EQ(out.GetCount(), 2);
    EXPECT_EQ(out.GetTail(), made);
    EXPECT_EQ(chain.GetCount(), 6); // the caller's chain is left alone

    auto* main = static_cast<CSectArea*>(made);
    EXPECT_EQ(main->GetCount(), 5);
    EXPECT_EQ(main->GetName().Left(9), CString("Polygon ("));
    EXPECT_TRUE(main->IsCCLW());
    auto* tri = static_cast<CSectArea*>(out.GetHead());
    EXPECT_TRUE(tri->IsKindOf(RUNTIME_CLASS(CPlateLike)));
    EXPECT_EQ(tri->GetMaterial(), &mat);
    ASSERT_EQ(tri->GetCount(), 3);
    EXPECT_TRUE(tri->IsCCLW());
    EXPECT_NE(tri->Find(n), nullptr);
    // The triangle's other corners are neighbours on the main boundary,
    // joined by a new edge.
    CSNode* p = tri->GetNode(0) == n ? tri->GetNode(1) : tri->GetNode(0);
    CSNode* q = tri->GetNode(2) == n ? tri->GetNode(1) : tri->GetNode(2);
    EXPECT_NE(CGraph::GetComEdge(p, q), nullptr);
    EXPECT_TRUE(main->IsEdgeInGraph(CGraph::GetComEdge(p, q)));

    // Without an output list the chain is taken as it is.
    CObList plain;
    Chain(plain, {n, a, b});
    CSection* t = maker.NewSect(&plain, nullptr);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->GetCount(), 3);
    delete t;
    delete tri;
    delete main;
}

TEST(RegionAlgebra, SplitDividesEveryEdgeAndTheNeighbours)
{
    Model m;
    CSNode* n[6] = {m.Node(0, 0), m.Node(4, 0), m.Node(4, 4), m.Node(0, 4), m.Node(8, 0),
                    m.Node(8, 4)};
    CPlateLike* left = Region({n[0], n[1], n[2], n[3]});
    CPlateLike* right = Region({n[1], n[4], n[5], n[2]});
    CPlateLike* hole = Region({m.Node(1, 1), m.Node(3, 1), m.Node(3, 3), m.Node(1, 3)});
    left->InsertSubSect(hole);
    left->Split(2.0);
    EXPECT_EQ(left->GetCount(), 8);
    EXPECT_EQ(hole->GetCount(), 4); // sides of 2 stay whole
    // The shared side was split once, in both regions, each the right way.
    EXPECT_EQ(right->GetCount(), 5);
    EXPECT_TRUE(left->IsCCLW());
    EXPECT_TRUE(right->IsCCLW());
    for (CPlateLike* r : {left, right}) {
        CSNode* prev = r->GetTailNode();
        for (POSITION pos = r->GetHeadPosition(); pos;) {
            CSNode* node = r->GetNextNode(pos);
            EXPECT_NE(CGraph::GetComEdge(prev, node), nullptr);
            if (r == left) {
                EXPECT_DOUBLE_EQ(std::hypot(node->x - prev->x, node->y - prev->y), 2.0);
            }
            prev = node;
        }
    }
    left->Split(1.0);
    EXPECT_EQ(hole->GetCount(), 8);
    delete right;
    delete left;
}

TEST(RegionAlgebra, IntersectionAsksHolesAndFlagsOverlaps)
{
    Model m;
    CSNode* c[4] = {m.Node(0, 0), m.Node(10, 0), m.Node(10, 10), m.Node(0, 10)};
    CPlateLike* r = Region({c[0], c[1], c[2], c[3]});
    CSNode* h[4] = {m.Node(4, 4), m.Node(6, 4), m.Node(6, 6), m.Node(4, 6)};
    r->InsertSubSect(Region({h[0], h[1], h[2], h[3]}));
    struct Case {
        const char* what;
        double x1, y1, x2, y2;
        short expected;
    } cases[] = {
        {"inside, touching nothing", 1, 1, 2, 2, 0},
        {"across the outer boundary", 5, 1, 5, -1, 1},
        {"across a hole's side", 5, 1, 5, 5, 1},
        {"ending on a hole's corner", 1, 1, 4, 4, 2},
        {"outside", 20, 20, 30, 30, 0},
    };
    for (const Case& k : cases) {
        CSNode* p = m.Node(k.x1, k.y1);
        CSNode* q = m.Node(k.x2, k.y2);
        CEdge probe(p, q);
        EXPECT_EQ(r->Intersection2D(&probe, false, nullptr), k.expected) << k.what;
        probe.Reset();
    }
    // A second edge along one of the region's own sides: an overlap.
    CEdge twin(c[0], c[1]);
    EXPECT_EQ(r->Intersection2D(&twin, false, nullptr), 1);
    twin.Reset();
    delete r;
}

TEST(RegionAlgebra, RefusedDivideLeavesOwnersAndStartAsTheyWere)
{
    Model m;
    CSNode* n[4] = {m.Node(0, 0), m.Node(10, 0), m.Node(10, 10), m.Node(0, 10)};
    CPlateLike* r = Region({n[3], n[0], n[1], n[2]});
    CPlateLike* neighbour = Region({n[1], m.Node(20, 0), m.Node(20, 10), n[2]});
    const int edgesBefore = m.carrier.CountEdges(true);
    // Back along the bottom side: the split-off part has no area.
    CSNode* on = m.Node(5, 0);
    CObList chain;
    Chain(chain, {on});
    const DWORD ids = CGraph::lIDGraph;
    EXPECT_EQ(r->Divide(n[0], &chain, n[1]), nullptr);
    EXPECT_EQ(CGraph::lIDGraph, ids);
    ASSERT_EQ(r->GetCount(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(r->GetNode(i), n[(i + 3) % 4]);
    // The carrier stays the owner of every node; the neighbour keeps its
    // place in the nodes' graph lists.
    for (CSNode* node : {n[1], n[2]}) {
        ASSERT_EQ(node->GetGraphCount(), 3);
        EXPECT_EQ(node->GetPrimaryGraph(), &m.carrier);
        EXPECT_EQ(node->GetGraphList()->GetTail(), neighbour);
    }
    EXPECT_EQ(on->GetGraphCount(), 1);
    EXPECT_EQ(m.carrier.CountEdges(true), edgesBefore);
    delete neighbour;
    delete r;
}

} // namespace
