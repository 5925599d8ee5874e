#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "geometry/bexlar.h"
#include "tests/afx/archive_files.h"

namespace {

// Nodes owned by the test; deleting them deletes their edges.
class Nodes {
public:
    CSNode* operator()(double x, double y, double z = 0.0)
    {
        m_nodes.push_back(std::make_unique<CSNode>(x, y, z, nullptr, 0));
        return m_nodes.back().get();
    }

private:
    std::vector<std::unique_ptr<CSNode>> m_nodes;
};

std::vector<double> Xs(CObList* list)
{
    std::vector<double> xs;
    if (list)
        for (POSITION pos = list->GetHeadPosition(); pos;)
            xs.push_back(static_cast<CSNode*>(list->GetNext(pos))->x);
    return xs;
}

} // namespace

TEST(EdgeIntersection, Codes)
{
    struct Case {
        const char* what;
        double a[4], b[4];
        short expected;
    } cases[] = {
        {"crossing interiors", {0, 0, 2, 2}, {0, 2, 2, 0}, 1},
        {"end on the other's interior", {0, 0, 2, 0}, {1, 0, 1, 3}, 2},
        {"apart", {0, 0, 1, 0}, {0, 1, 1, 1}, 0},
        {"collinear, overlapping", {0, 0, 2, 0}, {1, 0, 3, 0}, 2},
        {"collinear, disjoint", {0, 0, 1, 0}, {2, 0, 3, 0}, 0},
        {"lines cross beyond the segments", {0, 0, 1, 1}, {3, 0, 3, 5}, 0},
        {"ends coincide (separate nodes)", {0, 0, 1, 0}, {1, 0, 1, 1}, 2},
    };
    for (const Case& c : cases) {
        Nodes n;
        CEdge* e = new CEdge(n(c.a[0], c.a[1]), n(c.a[2], c.a[3]));
        CEdge* f = new CEdge(n(c.b[0], c.b[1]), n(c.b[2], c.b[3]));
        EXPECT_EQ(e->Intersection2D(f, nullptr), c.expected) << c.what;
        EXPECT_EQ(f->Intersection2D(e, nullptr), c.expected) << c.what;
    }
}

TEST(EdgeIntersection, SharedNodes)
{
    Nodes n;
    CSNode* o = n(0, 0);
    CEdge* east = new CEdge(o, n(1, 0));
    CEdge* north = new CEdge(o, n(0, 1));
    CEdge* alongEast = new CEdge(o, n(2, 0));
    CEdge* backToO = new CEdge(n(3, 0), o);
    CEdge* continuing = new CEdge(east->GetNode2(), n(5, 0));
    EXPECT_EQ(east->Intersection2D(north, nullptr), 0);
    EXPECT_EQ(east->Intersection2D(alongEast, nullptr), 2);
    EXPECT_EQ(east->Intersection2D(backToO, nullptr), 2);
    EXPECT_EQ(east->Intersection2D(continuing, nullptr), 0);
    // Only from the first node, never with itself.
    EXPECT_EQ(east->Intersection2D(alongEast, east->GetNode2()), 0);
    EXPECT_EQ(east->Intersection2D(east, nullptr), 0);
    // The node's own test looks at the edges that start at it.
    CObList touching;
    CEdge* probe = new CEdge(n(0.5, -1), n(0.5, 1));
    EXPECT_EQ(o->Intersection2D(probe, &touching), 1);
    CEdge* again = new CEdge(n(1, 0), n(1.5, 0));
    EXPECT_EQ(o->Intersection2D(again, &touching), 2);
    EXPECT_EQ(touching.GetCount(), 2); // east and alongEast touch at (1, 0)
}

TEST(EdgeIntersection, NodeLinksNeverIntersect)
{
    Nodes n;
    CEdge* e = new CEdge(n(0, 0), n(2, 2));
    CNodeLink* link = new CNodeLink(n(0, 2), n(2, 0));
    EXPECT_EQ(e->Intersection2D(link, nullptr), 0);
    EXPECT_EQ(link->Intersection2D(e, nullptr), 0);
    EXPECT_FALSE(link->IsCellEdge());
    EXPECT_FALSE(link->IsLinear());
    EXPECT_EQ(link->m_ulValue, 0u);
    link->m_ulValue = 7;
    CEdge* copy = link->Copy(link->GetNode2(), link->GetNode1());
    ASSERT_TRUE(copy->IsKindOf(RUNTIME_CLASS(CNodeLink)));
    EXPECT_EQ(static_cast<CNodeLink*>(copy)->m_ulValue, 7u);
}

TEST(EdgeSubdivision, Rules)
{
    Nodes n;
    CEdge* e = new CEdge(n(0, 0), n(10, 0));
    EXPECT_EQ(Xs(e->SubDivideGeom(1.0, 4)), (std::vector<double>{2, 4, 6, 8}));
    std::vector<double> geo = Xs(e->SubDivideGeom(8.0, 3)); // steps 1, 2, 4, 8 times 10/15
    ASSERT_EQ(geo.size(), 3u);
    EXPECT_NEAR(geo[0], 10.0 / 15, 1e-12);
    EXPECT_NEAR(geo[2], 70.0 / 15, 1e-12);
    EXPECT_EQ(e->SubDivideGeom(2.0, 0), nullptr);

    CEdge* four = new CEdge(n(0, 5), n(4, 5));
    std::vector<double> lin = Xs(four->SubDivideLin(3.0, 1));
    ASSERT_EQ(lin.size(), 1u);
    EXPECT_DOUBLE_EQ(lin[0], 1.0);

    CVector steps(2);
    steps[0] = 0.25;
    steps[1] = 0.5;
    EXPECT_EQ(Xs(e->SubDivide(&steps)), (std::vector<double>{2.5, 7.5}));
    CVector empty;
    EXPECT_EQ(e->SubDivide(&empty), nullptr);

    CObList* first = e->SubDivideSeg(4, false);
    ASSERT_NE(first, nullptr);
    CSNode* firstNode = static_cast<CSNode*>(first->GetHead());
    EXPECT_EQ(firstNode->m_uiFlags, 8u);
    EXPECT_EQ(e->SubDivideSeg(4, false), first);
    EXPECT_EQ(first->GetHead(), firstNode);
    EXPECT_EQ(Xs(e->SubDivideLength(2.4, false)), (std::vector<double>{2.5, 5, 7.5}));
    EXPECT_EQ(e->SubDivideSeg(1, false), nullptr);
    EXPECT_EQ(e->GetSubNodeCount(), 0);
    EXPECT_EQ(e->SubDivideLength(0.0, false), nullptr);
}

TEST(EdgeSubdivision, GradedByWantedSizes)
{
    const int saved = iProgresjon;
    Nodes n;
    CSNode* a = n(0, 0);
    CSNode* b = n(10, 0);
    CEdge* e = new CEdge(a, b);

    iProgresjon = 1;
    a->SetSNodSpace(1.0, true);
    b->SetSNodSpace(1.00005, true);
    std::vector<double> equal = Xs(e->SubDivide());
    ASSERT_EQ(equal.size(), 8u);
    for (std::size_t i = 0; i < equal.size(); ++i)
        EXPECT_NEAR(equal[i], 10.0 * (i + 1) / 9, 1e-12);

    // Growing sizes: every rule puts smaller segments near the first node.
    b->SetSNodSpace(3.0, true);
    for (int rule : {0, 1, 3}) {
        iProgresjon = rule;
        std::vector<double> xs = Xs(e->SubDivide());
        ASSERT_GE(xs.size(), 2u) << rule;
        EXPECT_LT(xs[0], xs[1] - xs[0]) << rule;
        EXPECT_LT(xs.back(), 10.0) << rule;
    }
    iProgresjon = 2;
    EXPECT_EQ(Xs(e->SubDivide()).size(), 4u); // segments of 2.0
    iProgresjon = saved;
}

TEST(EdgeSubdivision, AdoptedSubNodesSurviveTheList)
{
    Nodes n;
    CEdge* e = new CEdge(n(0, 0), n(3, 0));
    CObList* list = e->SubDivideSeg(3, false);
    CSNode* adopted = static_cast<CSNode*>(list->GetHead());
    CGraph g;
    g.NewNode(adopted);
    e->RemoveSubNodeList();
    EXPECT_EQ(e->GetSubNodeList(), nullptr);
    EXPECT_EQ(adopted->m_uiFlags, 0u);
    EXPECT_EQ(g.GetHeadNode(), adopted); // still alive, owned by the graph
}

TEST(Edge, OnEdgeAndPerpendicular)
{
    Nodes n;
    CEdge* e = new CEdge(n(0, 0), n(4, 4));
    EXPECT_TRUE(e->IsOnEdge2D(n(2 + 1e-7, 2)));
    EXPECT_FALSE(e->IsOnEdge2D(n(2 + 1e-5, 2)));
    EXPECT_FALSE(e->IsOnEdge2D(n(5, 5)));
    EXPECT_TRUE(e->IsOnEdge2D(n(4, 4)));
    CSNode* foot = e->GetPerpendicular2D(n(0, 2));
    EXPECT_DOUBLE_EQ(foot->x, 1.0);
    EXPECT_DOUBLE_EQ(foot->y, 1.0);
    delete foot;
    CSNode* p = n(3, 7);
    CEdge* h = new CEdge(n(0, 1), n(5, 1));
    h->GetPerpendicular2D(*p);
    EXPECT_EQ(p->x, 3.0);
    EXPECT_EQ(p->y, 1.0);
    // Edges on the axes through the origin: the foot is on the axis.
    const struct {
        double x1, y1, x2, y2, px, py, fx, fy;
    } axes[] = {{0, 0, 0, 30, 1, 15, 0, 15}, {0, -5, 0, 5, 2, 1, 0, 1}, {0, 0, 30, 0, 15, 1, 15, 0},
                {-5, 0, 5, 0, 1, -2, 1, 0}};
    for (const auto& a : axes) {
        CSNode* q = n(a.px, a.py);
        CEdge(n(a.x1, a.y1), n(a.x2, a.y2)).GetPerpendicular2D(*q);
        EXPECT_EQ(q->x, a.fx) << a.x1 << " " << a.y1 << " " << a.x2 << " " << a.y2;
        EXPECT_EQ(q->y, a.fy) << a.x1 << " " << a.y1 << " " << a.x2 << " " << a.y2;
    }
}

TEST(Edge, AnglesAndCellWalk)
{
    Nodes n;
    CSNode* a = n(0, 0);
    CSNode* b = n(1, 0);
    CSNode* c = n(1, 1);
    CSNode* d = n(0, 1);
    CEdge* ab = new CEdge(a, b);
    CEdge* bc = new CEdge(b, c);
    CEdge* cd = new CEdge(c, d);
    CEdge* da = new CEdge(d, a);
    CSNode* start = nullptr;
    EXPECT_EQ(cd->GetCClWAngle(start), 0.0);
    EXPECT_EQ(start, d);
    EXPECT_DOUBLE_EQ(CEdge(n(0, 0), n(-1, -1)).GetCClWAngle(), std::acos(std::sqrt(0.5)));

    // Walking round the square from inside: the turns add up to one full
    // circle.
    CSNode* node = a;
    CEdge* edge = ab;
    double turn = 0.0;
    std::vector<CEdge*> walked;
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(edge->Next2DEdgeClW(node, edge, turn));
        walked.push_back(edge);
    }
    EXPECT_EQ(walked, (std::vector<CEdge*>{bc, cd, da, ab}));
    EXPECT_EQ(node, a);
    EXPECT_NEAR(turn, 2 * 3.141592653589793, 1e-12);
    CSNode* stranger = n(9, 9);
    EXPECT_FALSE(ab->Next2DEdgeClW(stranger, edge, turn));
}

TEST(Edge, Splits)
{
    CGraph g;
    CSNode* a = g.NewNode(0, 0, 0);
    CSNode* b = g.NewNode(4, 0, 0);
    CSNode* c = g.NewNode(4, 4, 0);
    CEdge* ab = g.ConnectNodes(a, b);
    g.ConnectNodes(b, c);
    CSNode* mid = new CSNode(2, 0, 0, nullptr, 0);
    CEdge *first = nullptr, *second = nullptr;
    CObList removed;
    ASSERT_TRUE(ab->Split(mid, first, second, &removed));
    EXPECT_EQ(removed.GetHead(), ab);
    EXPECT_EQ(ab->GetNode1(), nullptr);
    EXPECT_EQ(g.GetNode(1), mid); // taken into the graph between the ends
    EXPECT_EQ(mid->GetPrimaryGraph(), &g);
    EXPECT_EQ(CGraph::GetComEdge(a, mid), first);
    EXPECT_EQ(CGraph::GetComEdge(mid, b), second);
    EXPECT_EQ(CGraph::GetComEdge(a, b), nullptr);
    delete ab;

    CObList* created = nullptr;
    CEdge* bc = CGraph::GetComEdge(b, c);
    bc->SplitLength(created, 1.5); // 4 / 1.5 -> 2 segments
    ASSERT_NE(created, nullptr);
    ASSERT_EQ(created->GetCount(), 1);
    CSNode* half = static_cast<CSNode*>(created->GetHead());
    EXPECT_EQ(half->y, 2.0);
    EXPECT_NE(CGraph::GetComEdge(b, half), nullptr);
    EXPECT_NE(CGraph::GetComEdge(half, c), nullptr);
    g.NewNode(half);
    delete created;
}

TEST(Edge, DxfLine)
{
    Nodes n;
    CEdge* e = new CEdge(n(0, 0, 0), n(1, 2, 3));
    afxtest::TempFile tmp;
    {
        CFile f(tmp.path(), CFile::modeCreate | CFile::modeWrite);
        e->DrawDFX("L", &f);
    }
    const afxtest::Bytes bytes = tmp.read();
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()),
              "0\r\nLINE\r\n8\r\nL\r\n10\r\n0.000000\r\n20\r\n0.000000\r\n30\r\n0.000000\r\n"
              "11\r\n1.000000\r\n21\r\n2.000000\r\n31\r\n3.000000\r\n");
}
